#pragma once
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <thread>

#include "analysis/shard.h"
#include "app/answers.h"

struct BatchModeOptions {
    int matches = 0;
    int threads = 0;  // 0: the number of cores
    bool json = false;
    std::string cricsheetFolder;  // when set, every match is written there as <seed>.json
    std::string venue;            // the ground those files name
    std::string date;             // the first of those files' dates; empty: today
    int overs = 0;                // 1..50: limited-overs matches of that length
    ShardRange shard;             // set: play that part and print its counts as JSON
    GroundSettings ground;        // confirmed before each match
    std::string answersPath;      // when set, every match is captained from these answers
    std::vector<Answer> answers;
};

// Plays the batch that the command line describes and prints its summary on
// standard output. Returns the process exit status.
int runBatchMode(const std::string& commandLine, const BatchModeOptions& options);

// A progress bar on standard error, only for a person watching a terminal and
// only once the run has lasted long enough to be worth one; until `finished`.
void showProgress(const std::atomic<int>& done, int total, std::future<void>& finished, const char* unit);

// Runs `work`, which counts what it finishes in `done`, with the progress bar
// beside it when standard error is a terminal; returns what `work` returns.
template <class Work>
auto withProgress(const std::atomic<int>& done, int total, const char* unit, Work&& work) -> decltype(work())
{
    if (!isatty(STDERR_FILENO)) return work();
    std::promise<void> finished;
    std::future<void> waiting = finished.get_future();
    std::thread progress([&] { showProgress(done, total, waiting, unit); });
    auto result = work();
    finished.set_value();
    progress.join();
    return result;
}

// The first seed of a console run of `count` matches, with the clock seed
// printed; none, after a message, when the seeds would not all replay.
std::optional<std::int32_t> consoleSeeds(std::int32_t requested, std::int64_t count);

// "cannot play team file FILE: NAME cannot bowl an innings through: ..." for
// the first of the sides without the bowlers a match of `options` needs;
// empty when both have them.
std::string sideThatCannotBowl(std::array<const Team*, 2> sides, const GameOptions& options);
