#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "match/game_options.h"
#include "teams/team.h"

class Match;

// Many matches between the same two sides with consecutive seeds, played on
// several threads, summed up. Every figure is gathered so that the summary
// for a seed range is the same whatever the number of threads.
struct BatchSettings {
    int matches = 0;
    int threads = 1;
    std::uint32_t firstSeed = 1;
    GameOptions options;
    // Called with each match played to the end, on the thread that played it
    // and in no particular order.
    std::function<void(const Match&, std::uint32_t seed)> eachMatch;
};

// Counts of one player over the batch (by team slot and player index).
struct PlayerTotals {
    std::int64_t battingInnings = 0;
    std::int64_t runs = 0;
    std::int64_t outs = 0;
    std::int64_t ballsFaced = 0;
    std::int64_t ballsBowled = 0;
    std::int64_t runsConceded = 0;
    std::int64_t wickets = 0;
};

// One innings of one match, as the percentiles need it.
struct InningsFigures {
    std::int16_t runs = 0;
    std::int16_t wickets = 0;
    std::int16_t legalBalls = 0;
    std::int16_t played = 0;  // 0 when the match had no such innings
};

struct BatchTotals {
    std::int64_t played = 0;
    std::int64_t refused = 0;  // a side could not bowl an innings through
    std::int64_t wins[2] = {0, 0};  // by team slot (t1, t2)
    std::int64_t ties = 0;
    // Test matches whose last innings ran out of balls with neither side
    // bowled out nor the target passed: a draw in real cricket, although the
    // result line decides them on aggregate.
    std::int64_t timeRanOut = 0;
    std::int64_t battedFirstWins = 0;
    std::int64_t allOut[4] = {0, 0, 0, 0};
    std::int64_t extras[4] = {0, 0, 0, 0};
    std::int64_t inningsPlayed[4] = {0, 0, 0, 0};
    std::int64_t dismissals[10] = {};  // by DismissalKind
    PlayerTotals players[2][11];

    void add(const BatchTotals& other);
};

struct BatchResult {
    BatchTotals totals;
    std::vector<InningsFigures> innings;  // 4 per match, in seed order
    std::string names[2];
    std::string playerNames[2][11];
    int inningsPerMatch = 2;
};

// Plays the batch; `progress` (optional) counts finished matches as they go.
BatchResult runBatch(const BatchSettings& settings, const Team& first, const Team& second,
                     std::atomic<int>* progress = nullptr);

// Summary statistics.
struct Proportion {
    double share = 0;
    double low = 0;   // 95% Wilson score interval
    double high = 0;
};
Proportion wilsonInterval(std::int64_t successes, std::int64_t trials);

struct Distribution {
    double mean = 0;
    double median = 0;
    double p10 = 0;
    double p90 = 0;
};
// Nearest-rank percentiles of the values (sorted in place).
Distribution distribution(std::vector<double>& values);
