#pragma once
#include <cstdint>

class Match;

// The runs and legal balls behind a side's net run rate. A side bowled out
// counts its whole allowance of balls, so folding early never flatters it.
struct NetRunRateFigures {
    std::int64_t runsFor = 0, ballsFaced = 0;
    std::int64_t runsAgainst = 0, ballsBowled = 0;

    void add(const NetRunRateFigures& o)
    {
        runsFor += o.runsFor;
        ballsFaced += o.ballsFaced;
        runsAgainst += o.runsAgainst;
        ballsBowled += o.ballsBowled;
    }
    // Runs per over scored minus runs per over conceded.
    double value() const;
};

// -1, 0 or 1 as a's net run rate is below, equal to or above b's, exactly.
int compareNetRunRate(const NetRunRateFigures& a, const NetRunRateFigures& b);

// The figures of both sides of a finished match, by team slot of the match
// (teams[0] batted first). In a Test, where innings have no allowance of
// their own, a side bowled out counts the balls it faced.
void netRunRateFigures(const Match& match, NetRunRateFigures out[2]);
