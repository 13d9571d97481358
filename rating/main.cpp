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
#include "rating/read_archive.h"
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

struct Inputs {
    std::vector<std::pair<std::string, int>> givenStyles;
    MatchSources sources, fixtureSources;
};

// The styles file read, and the archive's and fixtures' files found.
int openInputs(const RateOptions& options, Inputs& in)
{
    if (!options.stylesPath.empty()) {
        std::string why;
        if (!readStyles(options.stylesPath, in.givenStyles, why)) {
            complain("--styles=" + options.stylesPath + ": " + why);
            return 2;
        }
    }
    for (const std::string& path : options.inputs) {
        std::string why;
        if (!in.sources.add(path, why)) {
            complain(path + ": " + why);
            return 1;
        }
    }
    if (!options.forecastDir.empty()) {
        std::string why;
        if (!in.fixtureSources.add(options.forecastDir, why)) {
            complain("--forecast=" + options.forecastDir + ": " + why);
            return 2;
        }
    }
    return 0;
}

// The outputs: `files` starts with players.csv (or forecast.csv) and the
// side files, then every input.
int prepareOutputs(const RateOptions& options, const Inputs& in, std::vector<NamedFile>& files)
{
    const std::vector<std::string>& sides = options.sides;
    const std::string &outFolder = options.outFolder, &forecastDir = options.forecastDir,
                      &stylesPath = options.stylesPath;
    const MatchSources &sources = in.sources, &fixtureSources = in.fixtureSources;
    // Outputs: always inside the --out folder, checked against every input and
    // each other, and the folder proved writable, before any match is read.
    // (Matches found in folders are .json files, never named like an output.)
    namespace fs = std::filesystem;
    const char* const table = forecastDir.empty() ? "players.csv" : "forecast.csv";
    files = {{"--out=" + outFolder + ": " + table, (fs::path(outFolder) / table).string(), true}};
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

    return 0;
}

// A fit's round on the progress line, short enough for a terminal of 80
// columns: "round 3 (4 plays each): ratings move 24.41, stop at 5".
std::string roundLine(const FitRound& r, const FitSettings& settings)
{
    char line[96];
    std::snprintf(line, sizeof line, "round %d (%d plays each): ratings move %.2f, stop at %g", r.round, r.plays,
                  r.movement, settings.tolerance);
    return line;
}

// The styles of the rated players: by use, unless the styles file names them.
std::vector<int> stylesOf(const Archive& rated, const std::vector<std::pair<std::string, int>>& givenStyles)
{
    std::vector<int> styles;
    for (const PlayerRecord& p : rated.players)
        styles.push_back(styleByUse(p.figures));
    for (std::size_t i = 0; i < rated.players.size(); ++i)
        for (const auto& [who, style] : givenStyles)
            if (who == rated.players[i].name || (!who.empty() && who == rated.players[i].id)) styles[i] = style;
    return styles;
}

FitSettings fitSettings(const RateOptions& options)
{
    const bool oneDay = options.filter.format != MatchFilter::Format::Test;
    FitSettings settings;
    settings.oneDay = oneDay;
    settings.simulations = options.simulations ? options.simulations : (oneDay ? 200000 : 50000);
    if (options.tolerance) settings.tolerance = static_cast<double>(options.tolerance);
    settings.threads = static_cast<int>(options.threads);
    settings.seed = static_cast<std::uint32_t>(options.seed);
    return settings;
}

// With --forecast: a fit for each fixture day, then the fixtures played.
int fitAndForecast(const RateOptions& options, Inputs& in, ReadArchive& read, const std::string& table,
                   const FitSettings& settings, std::chrono::steady_clock::time_point started)
{
    ForecastSettings plan;
    plan.matches = options.playsPerFixture ? static_cast<int>(options.playsPerFixture) : 1000;
    plan.firstSeed = static_cast<std::uint32_t>(options.seed);
    plan.threads = static_cast<int>(options.threads);
    plan.fit = settings;
    plan.styles = [&in](const Archive& rated) { return stylesOf(rated, in.givenStyles); };
    std::string day;
    std::int64_t before = 0;
    plan.onFit = [&](const std::string& d, std::int64_t matches) {
        day = d;
        before = matches;
        progress().show("fitting for " + day + ": " + std::to_string(before) + " matches");
    };
    plan.fit.onRound = [&](const FitRound& r) { progress().show(day + " " + roundLine(r, settings)); };
    return forecastFixtures(read.counted, in.fixtureSources, table, options.backtest, plan, started);
}

// Every side file can be made (the ratings aside) before the long fit, and the
// keeper is in one of the sides' latest elevens.
int checkSides(const RateOptions& options, const Archive& archive, bool oneDay)
{
    const std::vector<std::string>&sides = options.sides, &shortNames = options.shortNames;
    const std::string& keeper = options.keeper;
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
    return 0;
}

// A match the fit cannot play again still counts in the figures; never silently.
std::int64_t reportNotReplayed(const Archive& archive)
{
    std::int64_t notReplayed = 0;
    for (const auto& [why, count] : archive.notReplayed) {
        complain(std::to_string(count) + (count == 1 ? " match" : " matches") +
                 " counted but not played again by the fit: " + why);
        notReplayed += count;
    }
    return notReplayed;
}

// players.csv and the side files; every one is tried, whatever failed before.
int writeRatings(const RateOptions& options, const Archive& archive, const FitResult& fit, bool oneDay,
                 const std::vector<NamedFile>& files)
{
    const std::vector<std::string>&sides = options.sides, &shortNames = options.shortNames;
    int status = 0;
    std::string why;
    if (!replaceFileContents(files[0].path, playersCsv(archive.players, fit), why)) {
        complain("cannot write " + files[0].path + ": " + why);
        status = 1;
    }
    for (std::size_t s = 0; s < sides.size(); ++s) {
        SideFile file;
        if (!sideFile(sides[s], archive, fit, oneDay, options.keeper, file, why, shortNames[s])) {
            complain("--side=" + sides[s] + ": " + why);
            status = 1;
        } else if (!replaceFileContents(files[s + 1].path, file.text, why)) {
            complain("cannot write " + files[s + 1].path + ": " + why);
            status = 1;
        }
    }
    if (status == 0)
        complain("players.csv" + std::string(sides.empty() ? "" : " and the sides") + " written to " +
                 options.outFolder);
    return status;
}

// The fit (once, or for each fixture day with --forecast) and its files.
int fitAndWrite(const RateOptions& options, Inputs& in, ReadArchive& read, const std::vector<NamedFile>& files,
                std::chrono::steady_clock::time_point started)
{
    FitSettings settings = fitSettings(options);
    if (!options.forecastDir.empty()) return fitAndForecast(options, in, read, files[0].path, settings, started);
    const bool oneDay = settings.oneDay;
    const Archive& archive = read.archive;
    if (const int status = checkSides(options, archive, oneDay)) return status;
    const std::int64_t notReplayed = reportNotReplayed(archive);

    const std::vector<int> styles = stylesOf(archive, in.givenStyles);
    std::vector<Figures> real;
    for (const PlayerRecord& p : archive.players)
        real.push_back(p.figures);
    settings.onRound = [&](const FitRound& r) { progress().show("fitting: " + roundLine(r, settings)); };
    progress().clear();
    progress().show("fitting: " + std::to_string(archive.fixtures.size()) + " matches");
    const FitResult fit = fitRatings(real, archive.fixtures, styles, settings);
    progress().clear();

    const int status = writeRatings(options, archive, fit, oneDay, files);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "%lld matches rated (%zu skipped, %zu of another kind, %lld not played again), %zu players, "
        "%lld simulated matches in %d rounds (the last would move the ratings %.2f), %.1f s\n",
        static_cast<long long>(archive.matches), read.skipped, read.filtered, static_cast<long long>(notReplayed),
        archive.players.size(), static_cast<long long>(fit.matchesPlayed), fit.rounds, fit.movement, seconds);
    return status;
}

// The command line read: --help, --version, or the run; the exit status.
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
    // A match type says the format: a Test or other multi-day one is played
    // as a Test, any other as a limited-overs match of its own allowance.
    if (!options.formatGiven && !options.filter.matchType.empty())
        options.filter.format =
            isMultiDay(options.filter.matchType) ? MatchFilter::Format::Test : MatchFilter::Format::Any;
    const auto started = std::chrono::steady_clock::now();

    Inputs in;
    if (const int status = openInputs(options, in)) return status;
    std::vector<NamedFile> files;
    if (const int status = prepareOutputs(options, in, files)) return status;
    ReadArchive read;
    if (const int status = readArchive(options, in.sources, read)) return status;
    return fitAndWrite(options, in, read, files, started);
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
