#pragma once
#include <string_view>

class Match;

// Writes the match report in one Match::writeText, once, after the last
// innings: per innings an optional ball-by-ball log, the batting card, extras
// and total, the bowling card, the fall of wickets and the best performances;
// then the result line, or for a match stopped before its end (`stoppedBecause`
// not empty) a line saying where and why it stopped.
class ScorecardWriter {
public:
    static void writeReport(Match& match, std::string_view stoppedBecause = {});
};
