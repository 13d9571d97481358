#include "rating/read_archive.h"

#include <algorithm>
#include <exception>
#include <map>
#include <set>
#include <string>

#include "analysis/on_threads.h"
#include "rating/progress.h"

namespace {

// "ODI 120, T20 33": the counts, the largest first.
std::string countsText(const std::map<std::string, std::int64_t>& counts)
{
    std::vector<std::pair<std::int64_t, std::string>> sorted;
    for (const auto& [name, count] : counts)
        sorted.emplace_back(-count, name.empty() ? "unstated" : name);
    std::sort(sorted.begin(), sorted.end());
    std::string text;
    for (const auto& [count, name] : sorted)
        text += (text.empty() ? "" : ", ") + name + " " + std::to_string(-count);
    return text;
}

}  // namespace

int readArchive(const RateOptions& options, MatchSources& sources, ReadArchive& read)
{
    const MatchFilter& filter = options.filter;
    const long long threads = options.threads;
    const std::string& forecastDir = options.forecastDir;
    Archive& archive = read.archive;
    std::vector<MatchRecord>& counted = read.counted;
    std::size_t &skipped = read.skipped, &filtered = read.filtered;
    // Read in chunks: the texts one after another, parsed on every thread,
    // then counted in file order so the result never depends on the threads.
    // A chunk holds at most kChunk files and, past its first, kChunkBytes of text.
    std::set<std::string> sidesRead;
    std::map<std::string, std::int64_t> genders, matchTypes;  // of the matches counted
    std::map<std::string, std::int64_t> leftOut;              // by the option that left them out
    constexpr std::size_t kChunk = 64, kChunkBytes = MatchSources::kMaxMatchBytes;
    std::vector<std::string> texts(kChunk), reasons(kChunk);
    std::vector<MatchRecord> records(kChunk);
    std::vector<char> ok(kChunk);
    for (std::size_t begin = 0, n = 0; begin < sources.size(); begin += n) {
        std::size_t bytes = 0;
        for (n = 0; n < kChunk && begin + n < sources.size() && (n == 0 || bytes < kChunkBytes); ++n) {
            ok[n] = sources.read(begin + n, texts[n], reasons[n]);
            bytes += texts[n].size();
        }
        progress().show("reading: " + std::to_string(begin + n) + " of " + std::to_string(sources.size()) + " files");
        const int t = static_cast<int>(std::min<long long>(threads, static_cast<long long>(n)));
        std::vector<std::exception_ptr> failures(static_cast<std::size_t>(t));
        runOnThreads(t, [&](int w) {
            try {
                for (std::size_t i = static_cast<std::size_t>(w); i < n; i += static_cast<std::size_t>(t)) {
                    if (ok[i]) ok[i] = parseCricsheet(texts[i], records[i], reasons[i]);
                    std::string().swap(texts[i]);  // its memory back before the next chunk
                }
            } catch (...) {
                failures[static_cast<std::size_t>(w)] = std::current_exception();
            }
        });
        for (const std::exception_ptr& failure : failures)
            if (failure) std::rethrow_exception(failure);
        for (std::size_t i = 0; i < n; ++i) {
            if (!ok[i]) {
                complain(sources.name(begin + i) + ": skipped: " + reasons[i]);
                ++skipped;
                continue;
            }
            sidesRead.insert(records[i].sides, records[i].sides + 2);
            if (const std::string by = filter.leftOutBy(records[i]); !by.empty()) {
                ++filtered;
                ++leftOut[by];
            } else {
                ++genders[records[i].gender];
                ++matchTypes[records[i].matchType];
                if (forecastDir.empty())
                    archive.add(records[i], static_cast<std::int64_t>(begin + i));
                else
                    counted.push_back(std::move(records[i]));  // fitted again at each fixture day
            }
        }
    }
    for (const std::string& team : filter.teams) {
        if (!sidesRead.count(team)) {
            complain("--team=" + team + ": no match of that side in the files read");
            return 2;
        }
    }
    if (filtered > 0)
        complain(std::to_string(filtered) + (filtered == 1 ? " match" : " matches") + " left out by the filters (" +
                 countsText(leftOut) + ")");
    // Men's and women's matches together would make elevens of both; the
    // match types differ in level and length.
    if (genders.count("male") && genders.count("female")) {
        complain("the archive mixes genders (" + countsText(genders) + "): choose one with --gender=");
        return 2;
    }
    if (matchTypes.size() > 1) {
        complain("the archive mixes match types (" + countsText(matchTypes) + "): choose one with --match-type=");
        return 2;
    }
    if (archive.matches == 0 && counted.empty()) {
        complain("no match to rate (" + std::to_string(sources.size()) + " files read, " + std::to_string(skipped) +
                 " skipped, " + std::to_string(filtered) + " of another kind)");
        return 1;
    }

    return 0;
}
