#pragma once
#include <string>
#include <vector>

class Match;

// What the worm and Manhattan charts show, read from the ball log: per
// innings, the runs (extras included) and wickets of each over so far.
struct OverFigures {
    int runs = 0;
    int wickets = 0;
};

struct InningsChart {
    std::string team;
    std::vector<OverFigures> overs;  // over k at index k; the last may be unfinished
};

// Every innings of the match that has had a delivery, in order.
std::vector<InningsChart> chartData(const Match& match);
