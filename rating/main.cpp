// pelmora-rate: reads Cricsheet match files and writes ratings with which
// Pelmora's engine reproduces each player's figures.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <map>
#include <new>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/bounded_input.h"
#include "analysis/on_threads.h"
#include "app/fatal_errors.h"
#include "app/output_files.h"
#include "rating/figures.h"
#include "rating/fit.h"
#include "rating/forecast.h"
#include "rating/forecast_mode.h"
#include "rating/match_sources.h"
#include "rating/progress.h"
#include "rating/rate_options.h"
#include "rating/side_file.h"
#include "teams/player.h"
#include "teams/text_encoding.h"

namespace {

constexpr std::size_t kMaxStylesBytes = 16 * kMegabyte;

bool isMultiDay(const std::string& matchType)
{
    std::string lower;
    for (char c : matchType)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "test" || lower == "mdm";
}

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

int usage(const std::string& message)
{
    complain(message + " (see --help)");
    return 2;
}

// Styles by id or name.
bool readStyles(const std::string& path, std::vector<std::pair<std::string, int>>& out, std::string& why)
{
    std::string text;
    if (!readBoundedFile(path, kMaxStylesBytes, text, why)) {
        why = "cannot be read: " + why;
        return false;
    }
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::size_t comma = line.rfind(',');
        const std::string style = comma == std::string::npos ? "" : line.substr(comma + 1);
        int value = -1;
        if (style == "pace" || style == "0")
            value = 0;
        else if (style == "spin" || style == "1")
            value = 1;
        else if (style == "neutral" || style == "2")
            value = 2;
        if (value < 0) {
            why = "line " + std::to_string(number) + ": not \"NAME,pace|spin|neutral\"";
            return false;
        }
        out.emplace_back(line.substr(0, comma), value);
    }
    return true;
}

int rate(int argc, char** argv)
{
    removeTemporaryFilesOnInterrupt();
    reportFatalErrorsAs("pelmora-rate");
    RateOptions options;
    options.filter.format = MatchFilter::Format::OneDay;
    options.threads = std::max(1u, std::thread::hardware_concurrency());
    if (const std::string why = readRateArguments(argc, argv, options); !why.empty() && !options.help)
        return usage(why);
    if (options.help) {
        std::fputs(rateUsage().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.version) {
        std::puts("pelmora-rate " PELMORA_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    MatchFilter& filter = options.filter;
    const std::vector<std::string>& inputs = options.inputs;
    const std::vector<std::string>& sides = options.sides;
    const std::vector<std::string>& shortNames = options.shortNames;
    const std::string &keeper = options.keeper, &stylesPath = options.stylesPath, &outFolder = options.outFolder;
    const long long simulations = options.simulations, threads = options.threads, seed = options.seed;
    const bool formatGiven = options.formatGiven, backtest = options.backtest;
    const std::string& forecastDir = options.forecastDir;
    const long long playsPerFixture = options.playsPerFixture;
    // A match type says the format: a Test or other multi-day one is played
    // as a Test, any other as a limited-overs match of its own allowance.
    if (!formatGiven && !filter.matchType.empty())
        filter.format = isMultiDay(filter.matchType) ? MatchFilter::Format::Test : MatchFilter::Format::Any;
    const bool oneDay = filter.format != MatchFilter::Format::Test;
    const auto started = std::chrono::steady_clock::now();

    std::vector<std::pair<std::string, int>> givenStyles;
    if (!stylesPath.empty()) {
        std::string why;
        if (!readStyles(stylesPath, givenStyles, why)) {
            complain("--styles=" + stylesPath + ": " + why);
            return 2;
        }
    }

    MatchSources sources;
    for (const std::string& path : inputs) {
        std::string why;
        if (!sources.add(path, why)) {
            complain(path + ": " + why);
            return 1;
        }
    }

    MatchSources fixtureSources;
    if (!forecastDir.empty()) {
        std::string why;
        if (!fixtureSources.add(forecastDir, why)) {
            complain("--forecast=" + forecastDir + ": " + why);
            return 2;
        }
    }

    // Outputs: always inside the --out folder, checked against every input and
    // each other, and the folder proved writable, before any match is read.
    // (Matches found in folders are .json files, never named like an output.)
    namespace fs = std::filesystem;
    const char* const table = forecastDir.empty() ? "players.csv" : "forecast.csv";
    std::vector<NamedFile> files{{"--out=" + outFolder + ": " + table, (fs::path(outFolder) / table).string(), true}};
    for (const std::string& side : sides)
        files.push_back(
            {"--side=" + side + ": " + sideFileName(side), (fs::path(outFolder) / sideFileName(side)).string(), true});
    const std::size_t outputCount = files.size();
    for (const std::string& in : sources.files())
        files.push_back({in, in, false});
    for (const std::string& in : fixtureSources.files())
        files.push_back({"--forecast=" + forecastDir + ": " + in, in, false});
    if (!stylesPath.empty()) files.push_back({"--styles=" + stylesPath, stylesPath, false});
    if (const std::string clash = findClash(files); !clash.empty()) {
        complain(clash);
        return 2;
    }
    {
        std::error_code ec;
        fs::create_directories(outFolder, ec);
        if (ec || !fs::is_directory(outFolder, ec)) {
            complain("--out=" + outFolder + ": not a folder that can be written" + (ec ? ": " + ec.message() : ""));
            return 2;
        }
        for (std::size_t k = 0; k < outputCount; ++k) {
            if (fs::is_directory(fs::symlink_status(files[k].path, ec))) {
                complain(files[k].path + ": is a folder, cannot be replaced by a file");
                return 2;
            }
        }
        ReplacingFile probe;
        std::string why;
        if (!probe.open(files[0].path, why)) {
            complain("--out=" + outFolder + ": cannot write there: " + why);
            return 2;
        }
    }

    // Read in chunks: the texts one after another, parsed on every thread,
    // then counted in file order so the result never depends on the threads.
    // A chunk holds at most kChunk files and, past its first, kChunkBytes of text.
    Archive archive;
    std::vector<MatchRecord> counted;
    std::size_t skipped = 0, filtered = 0;
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

    const auto stylesOf = [&](const Archive& rated) {
        std::vector<int> styles;
        for (const PlayerRecord& p : rated.players)
            styles.push_back(styleByUse(p.figures));
        for (std::size_t i = 0; i < rated.players.size(); ++i)
            for (const auto& [who, style] : givenStyles)
                if (who == rated.players[i].name || (!who.empty() && who == rated.players[i].id)) styles[i] = style;
        return styles;
    };
    FitSettings settings;
    settings.oneDay = oneDay;
    settings.simulations = simulations ? simulations : (oneDay ? 200000 : 50000);
    settings.threads = static_cast<int>(threads);
    settings.seed = static_cast<std::uint32_t>(seed);
    if (!forecastDir.empty()) {
        ForecastSettings plan;
        plan.matches = playsPerFixture ? static_cast<int>(playsPerFixture) : 1000;
        plan.firstSeed = static_cast<std::uint32_t>(seed);
        plan.threads = static_cast<int>(threads);
        plan.fit = settings;
        plan.styles = stylesOf;
        std::string day;
        std::int64_t before = 0;
        plan.onFit = [&](const std::string& d, std::int64_t matches) {
            day = d;
            before = matches;
            progress().show("fitting for " + day + ": " + std::to_string(before) + " matches");
        };
        plan.fit.onRound = [&](int done, int rounds) {
            progress().show("fitting for " + day + ": round " + std::to_string(done) + " of " + std::to_string(rounds) +
                            ", " + std::to_string(before) + " matches");
        };
        return forecastFixtures(counted, fixtureSources, files[0].path, backtest, plan, started);
    }

    // Every side file can be made (the ratings aside) before the long fit.
    bool keeperFound = keeper.empty();
    for (std::size_t s = 0; s < sides.size(); ++s) {
        SideFile file;
        std::string why;
        if (!sideFile(sides[s], archive, FitResult{}, oneDay, keeper, file, why, shortNames[s])) {
            complain("--side=" + sides[s] + ": " + why);
            return 2;
        }
        const auto latest = archive.latest.find(sides[s]);
        for (std::size_t k = 0; k < 11 && !keeperFound; ++k)
            keeperFound = archive.players[static_cast<std::size_t>(latest->second.players[k])].name == keeper;
    }
    if (!keeperFound) {
        complain("--keeper=" + keeper + ": not in the most recent eleven of any --side");
        return 2;
    }

    // A match the fit cannot play again still counts in the figures; never silently.
    std::int64_t notReplayed = 0;
    for (const auto& [why, count] : archive.notReplayed) {
        complain(std::to_string(count) + (count == 1 ? " match" : " matches") +
                 " counted but not played again by the fit: " + why);
        notReplayed += count;
    }

    const std::vector<int> styles = stylesOf(archive);
    std::vector<Figures> real;
    for (const PlayerRecord& p : archive.players)
        real.push_back(p.figures);
    settings.onRound = [&](int done, int rounds) {
        progress().show("fitting: round " + std::to_string(done) + " of " + std::to_string(rounds) + ", " +
                        std::to_string(archive.fixtures.size()) + " matches");
    };
    progress().clear();
    progress().show("fitting: " + std::to_string(archive.fixtures.size()) + " matches");
    const FitResult fit = fitRatings(real, archive.fixtures, styles, settings);
    progress().clear();

    int status = 0;
    std::string why;
    if (!replaceFileContents(files[0].path, playersCsv(archive.players, fit), why)) {
        complain("cannot write " + files[0].path + ": " + why);
        status = 1;
    }
    for (std::size_t s = 0; s < sides.size(); ++s) {
        SideFile file;
        if (!sideFile(sides[s], archive, fit, oneDay, keeper, file, why, shortNames[s])) {
            complain("--side=" + sides[s] + ": " + why);
            status = 1;
        } else if (!replaceFileContents(files[s + 1].path, file.text, why)) {
            complain("cannot write " + files[s + 1].path + ": " + why);
            status = 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "%lld matches rated (%zu skipped, %zu of another kind, %lld not played again), %zu players, "
        "%lld simulated matches, %.1f s\n",
        static_cast<long long>(archive.matches), skipped, filtered, static_cast<long long>(notReplayed),
        archive.players.size(), static_cast<long long>(fit.matchesPlayed), seconds);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return rate(argc, argv);
    } catch (const std::bad_alloc&) {
        complain("out of memory: the archive is too large to rate on this machine");
        return 1;
    } catch (const std::exception& e) {
        complain(std::string("cannot go on: ") + e.what());
        return 1;
    }
}
