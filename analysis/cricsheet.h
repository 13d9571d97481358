#pragma once
#include <string>

class Match;

// The ground named in an export when the user names none.
inline constexpr const char* kDefaultVenue = "Pelmora Oval";

// The finished match in the ball-by-ball JSON format of the Cricsheet project
// (meta, info, innings with overs and deliveries), for existing cricket
// analysis tools. `date` is the match date as YYYY-MM-DD.
//
// The outcome is the one cricket's laws give, which is not always the
// report's result line: a Test whose balls run out before a result is a
// draw, and a side that leads after its opponents' second innings has won by
// an innings (the fourth innings the program still plays is left out).
// A simulated side is a "club" side. Throws only std::exception kinds
// (never for text that is not valid UTF-8: such bytes become U+FFFD).
std::string cricsheetJson(const Match& match, const std::string& date, const std::string& venue = kDefaultVenue);

// A player's register identifier: eight hex digits of the 32-bit FNV-1a hash
// of the side's name, a zero byte and the player's name, so the same player
// of the same side has the same identifier in every export.
std::string cricsheetPlayerId(const std::string& side, const std::string& player);

// Today's date in UTC as YYYY-MM-DD.
std::string todayUtc();
