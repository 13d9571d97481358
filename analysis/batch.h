#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/game_options.h"
#include "teams/team.h"

class Match;

// Many matches between the same two sides with consecutive seeds, played on
// several threads, summed up. Every figure is gathered so that the summary
// for a seed range is the same whatever the number of threads.
struct BatchSettings {
    int matches = 0;
    int threads = 1;
    std::int32_t firstSeed = 1;  // matches use firstSeed, firstSeed + 1, ...
    GameOptions options;
    // Called with each match before play (the ground confirmed on it, a
    // captain set); what it returns is kept until the match has been played.
    std::function<std::shared_ptr<void>(Match&, std::uint32_t seed)> beforePlay;
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

// How often each figure came up in one innings of the match (the first,
// second, ...). Each table is indexed by a figure no innings can take beyond
// a few thousand, so the memory of a batch does not grow with its size:
// runs and wickets are counted exactly, the run rate's percentiles to the
// hundredth of a run an over (rounded to the nearest), and its mean exactly
// from the runs made at each number of legal balls.
struct InningsCounts {
    std::int64_t wickets[11] = {};
    std::vector<std::int64_t> byRuns;            // innings that made r runs
    std::vector<std::int64_t> byRateHundredths;  // innings whose run rate rounds to h / 100
    std::vector<std::int64_t> byBalls;           // innings of b legal balls
    std::vector<std::int64_t> runsByBalls;       // the runs those innings made together
    // The highest run rate told apart: a rate above is counted as this one.
    static constexpr int kMostRateHundredths = 36000;

    void add(int runs, int wickets, int legalBalls);
    void add(const InningsCounts& other);
    // Every run rate's percentiles read from byRateHundredths; its mean exact.
    double meanRunRate() const;
    bool operator==(const InningsCounts&) const = default;
};

// The run rate an innings is counted under, in hundredths of a run an over.
int rateHundredths(std::int64_t runs, std::int64_t legalBalls);

// Each thread's totals sit on cache lines of their own.
struct alignas(64) BatchTotals {
    std::int64_t played = 0;
    std::int64_t refused = 0;       // a side could not bowl an innings through
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
    InningsCounts innings[4];

    void add(const BatchTotals& other);
};

struct BatchResult {
    BatchTotals totals;
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
    double low = 0;  // 95% Wilson score interval
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
// The same of values given with how often each came up.
Distribution distribution(std::vector<std::pair<double, std::int64_t>>& counted);
