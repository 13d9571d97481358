#pragma once
#include <string>

class Match;

// The ground named in an export when the user names none.
inline constexpr const char* kDefaultVenue = "Pelmora Oval";

// The competition a match belongs to, as `info.event`: readers that key
// matches by date and teams keep a batch's or a tournament's matches apart by
// its match number. Empty fields are left out.
struct CricsheetEvent {
    std::string name;
    long long matchNumber = 0;
    std::string group;  // "A", "B", ...
    std::string stage;  // "Semi-final 1", "Final", ...
};

// The first date of the match `index` (from 0) of a run starting on `first`
// (YYYY-MM-DD): a day apart for one-day matches, five for Tests, so no two
// matches of the run share a day. Wraps round before the year 10000.
std::string cricsheetMatchDate(const std::string& first, long long index, bool oneDay);

// The finished match in the ball-by-ball JSON format of the Cricsheet project
// (meta, info, innings with overs and deliveries), for existing cricket
// analysis tools. `date` is the match date as YYYY-MM-DD; `event`, when given, is
// written as `info.event`.
//
// The outcome is the one cricket's laws give, which is not always the
// report's result line: a Test whose balls run out before a result is a
// draw, and a side that leads after its opponents' second innings has won by
// an innings (the fourth innings the program still plays is left out).
// A simulated side is a "club" side. Throws only std::exception kinds
// (never for text that is not valid UTF-8: such bytes become U+FFFD).
std::string cricsheetJson(const Match& match, const std::string& date, const std::string& venue = kDefaultVenue,
                          const CricsheetEvent* event = nullptr);

// A player's register identifier: eight hex digits of the 32-bit FNV-1a hash
// of the side's name, a zero byte and the player's name, so the same player
// of the same side has the same identifier in every export.
std::string cricsheetPlayerId(const std::string& side, const std::string& player);

// Today's date in UTC as YYYY-MM-DD.
std::string todayUtc();
