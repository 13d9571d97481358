#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Match;

// One match as the rating reads it: who played for whom and every delivery,
// with people as indices into `people`. Built from a Cricsheet match file or
// from a match the engine has just played, so that both are counted by the
// same code.
enum class OutKind : std::uint8_t {
    Bowled,
    Caught,
    CaughtAndBowled,
    Lbw,
    Stumped,
    RunOut,
    HitWicket,
    RetiredHurt,  // not out
    RetiredNotOut,
    Other,  // retired out, handled the ball, obstructing, hit twice, timed out
};

struct WicketRecord {
    int playerOut = -1;
    OutKind kind = OutKind::Other;
    int fielder = -1;  // the first fielder named, -1 for none or a substitute
};

struct DeliveryRecord {
    int over = 0;  // 0-based
    int batter = -1;
    int nonStriker = -1;
    int bowler = -1;
    int batterRuns = 0;
    int wides = 0;
    int noBalls = 0;
    bool boundary = false;  // the batter's four or six reached the rope
    int wicketCount = 0;
    WicketRecord wickets[2];
};

struct InningsRecord {
    int side = 0;  // index into MatchRecord::sides of the batting side
    std::vector<DeliveryRecord> deliveries;
};

struct PersonRecord {
    std::string name;
    std::string id;  // the registry identifier; empty when the file has none
    int side = 0;
};

// A player who came in during the match for another of his side (Cricsheet's
// "replacements": {"match": [...]} on the delivery where it happened).
struct ReplacementRecord {
    int in = -1, out = -1;  // people
};

struct MatchRecord {
    std::string sides[2];
    std::string matchType;  // "ODI", "Test", ...
    std::string gender;     // "male", "female"; empty when the file does not say
    std::string teamType;   // "international", "club"; empty when the file does not say
    std::string event;      // info.event.name; empty for none
    int overs = 0;          // the allowance per innings; 0 for a multi-day match
    std::string firstDate;  // the first day played, YYYY-MM-DD
    std::string date;       // the last day played, YYYY-MM-DD
    // info.outcome: the side that won (0, 1), else -1 and "tie", "draw",
    // "no result" or empty when the file does not say.
    int winner = -1;
    std::string result;
    int battedFirst = -1;              // by info.toss: the side sent in to bat first; -1 when not stated
    std::vector<PersonRecord> people;  // the two elevens first, side by side, then anyone else named
    int listed = 0;                    // how many of people the elevens are
    std::vector<InningsRecord> innings;
    std::vector<ReplacementRecord> replacements;  // in the order they happened
};

// Reads one Cricsheet match file. Returns false with a reason for text that
// is not JSON or not a Cricsheet match.
bool parseCricsheet(const std::string& text, MatchRecord& out, std::string& why);
// The same of the file's info alone (a fixture not yet played): the sides,
// their elevens, dates, kind and outcome; innings are not read.
bool parseCricsheetInfo(const std::string& text, MatchRecord& out, std::string& why);

// The record of a match played by the engine: person 0..10 are teams[0]'s
// players by index, 11..21 teams[1]'s.
void recordOfMatch(const Match& match, MatchRecord& out);
