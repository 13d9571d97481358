#pragma once

class Match;

// Writes the match report through Match::writeLine, once, after the last
// innings: per innings an optional ball-by-ball log, the batting card, extras
// and total, the bowling card, the fall of wickets and the best performances;
// then the result line.
class ScorecardWriter {
public:
    static void writeReport(Match& match);
};
