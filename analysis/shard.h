#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/batch.h"
#include "analysis/bounded_input.h"
#include "analysis/tournament.h"

// A forecast split into equal parts run anywhere (other processes, other
// machines): each part writes its exact integer counts as JSON, and merging
// the parts gives the summary a single run prints, byte for byte.
struct ShardRange {
    int part = 0;  // 1..parts; 0 when the run is not split
    int parts = 0;
    // Digest of everything that shapes the part's play (see Fingerprint):
    // parts merge only when theirs agree.
    std::string fingerprint;
};

// A 64-bit FNV-1a digest of labelled items. Each item's label and length go
// in before its bytes, so moving bytes from one item to the next changes it.
class Fingerprint {
public:
    Fingerprint& add(std::string_view label, std::string_view bytes);
    // 16 lowercase hexadecimal digits.
    std::string hex() const;

private:
    void mix(std::string_view bytes);
    std::uint64_t hash_ = 14695981039346656037ULL;
};

// The "format" word of every part file.
constexpr const char* kPartFormat = "pelmora forecast part";

// "I/N" with 1 <= I <= N <= 1000000.
bool parseShard(const std::string& text, ShardRange& out);
// Items [first, second) of `total` that part I of N takes.
std::pair<std::int64_t, std::int64_t> shardSlice(std::int64_t total, const ShardRange& range);

// `settings` describe the whole batch (all matches, the first seed of all);
// `result` holds this part's counts.
std::string batchPartJson(const BatchResult& result, const BatchSettings& settings, const ShardRange& range);
std::string forecastPartJson(const TournamentPlan& plan, const ForecastTotals& totals, std::int32_t firstSeed,
                             std::int64_t tournaments, const ShardRange& range);

// The largest part file read: a part of a tournament of kMaxTournamentSides
// with counts of ten digits fits well inside it.
constexpr std::size_t kMaxPartBytes = 16 * kMegabyte;

// Adds the parts of one forecast one at a time. Every count of a part is
// checked against what the part's own setup implies before it is used.
class PartMerger {
public:
    PartMerger();
    ~PartMerger();
    // The text of part file `file`; false with a message naming the file.
    bool add(const std::string& file, const std::string& text, std::string& error);
    // Once every part is in: the summary as table or JSON.
    bool finish(bool json, std::string& summary, std::string& error);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Reads the parts (each once, all of one forecast) and formats the merged
// summary as table or JSON. False with a message naming the file.
bool mergeParts(const std::vector<std::string>& files, bool json, std::string& summary, std::string& error);
