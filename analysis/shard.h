#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "analysis/batch.h"
#include "analysis/tournament.h"

// A forecast split into equal parts run anywhere (other processes, other
// machines): each part writes its exact integer counts as JSON, and merging
// the parts gives the summary a single run prints, byte for byte.
struct ShardRange {
    int part = 0;  // 1..parts; 0 when the run is not split
    int parts = 0;
};

// "I/N" with 1 <= I <= N <= 1000000.
bool parseShard(const std::string& text, ShardRange& out);
// Items [first, second) of `total` that part I of N takes.
std::pair<std::int64_t, std::int64_t> shardSlice(std::int64_t total, const ShardRange& range);

// `settings` describe the whole batch (all matches, the first seed of all);
// `result` holds this part's counts.
std::string batchPartJson(const BatchResult& result, const BatchSettings& settings, const ShardRange& range);
std::string forecastPartJson(const TournamentPlan& plan, const ForecastTotals& totals, std::int32_t firstSeed,
                             std::int64_t tournaments, const ShardRange& range);

// Reads the parts (each once, all of one forecast) and formats the merged
// summary as table or JSON. False with a message naming the file.
bool mergeParts(const std::vector<std::string>& files, bool json, std::string& summary, std::string& error);
