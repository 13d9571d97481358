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
#include "rating/match_sources.h"
#include "rating/progress.h"
#include "rating/side_file.h"
#include "teams/player.h"
#include "teams/text_encoding.h"

namespace {

constexpr std::size_t kMaxStylesBytes = 16 * kMegabyte;

constexpr const char* kUsage =
    "Usage: pelmora-rate [options] FILE|FOLDER|ARCHIVE.zip ...\n"
    "Reads Cricsheet ball-by-ball match files (JSON files, folders of them, or the .zip archives\n"
    "Cricsheet distributes), adds up every player's figures and fits his eight ratings by playing\n"
    "the archive's matches again in Pelmora's own engine (the same elevens, batting orders and\n"
    "bowlers), round after round, until his figures in them match his real ones.\n"
    "\n"
    "  --format=oneday|test|overs=N  the matches to read: one-day (ODI and other 50-over\n"
    "                                matches, the default), Test and other multi-day matches,\n"
    "                                or those of N overs a side; the fit plays each match\n"
    "                                again as a Pelmora Test with test, otherwise as a\n"
    "                                limited-overs match of its own allowance\n"
    "  --match-type=TYPE  only matches of this info.match_type (T20, IT20, ODI, ODM, Test,\n"
    "                   MDM, in any case); needed when the matches read have more than one.\n"
    "                   Without --format, Test and MDM are played as Tests, any other type\n"
    "                   as limited-overs matches of its own allowance\n"
    "  --team-type=international|club  only matches of this info.team_type\n"
    "  --event=NAME     only matches of this competition (info.event.name, exactly)\n"
    "  --from=YYYY-MM-DD, --to=YYYY-MM-DD  only matches whose first day is within these dates\n"
    "  --gender=male|female  only men's or women's matches; needed when the files have both\n"
    "  --team=NAME      only matches NAME played in (may be repeated)\n"
    "  --side=NAME[=SHORT]  also write NAME.xi: the side's most recent eleven in batting\n"
    "                   order, its wicket-keeper and its bowlers (all of the eleven who bowled\n"
    "                   for it in the matches read) marked (may be repeated); the file is in\n"
    "                   the --out folder, the whole NAME made one word and a safe file name.\n"
    "                   In the file the side is SHORT (one word, at most 15 characters), by\n"
    "                   default NAME made one word if it fits, else its first word and the\n"
    "                   initials of the others (Royal Challengers Bengaluru: RoyalCB)\n"
    "  --keeper=NAME    the wicket-keeper of a --side eleven, by his name in the files;\n"
    "                   otherwise the one with the most stumpings (ties by catches), else\n"
    "                   the most catches among those who did not bowl in that match\n"
    "  --styles=FILE    bowling styles: lines \"NAME or ID,pace|spin|neutral\"; for anyone not\n"
    "                   named, the style is read from how he was used (Pelmora's captain opens\n"
    "                   with neutral bowlers, then spin, then pace): neutral for one who usually\n"
    "                   opened the bowling, spin for one who usually came on first after the\n"
    "                   openers within the first fifth of the overs, else pace\n"
    "  --out=DIR        where players.csv and the .xi files go (default: the current folder)\n"
    "  --simulations=N  matches the fit plays in all (default 200000 one-day, 50000 Test), but\n"
    "                   at least every match of the archive once a round\n"
    "  --threads=K      threads (default: the number of cores); the result is the same for any K\n"
    "  --seed=N         seed of the fit's matches (default 1)\n"
    "  --forecast=DIR   forecast the fixtures in DIR (Cricsheet match files, folders or .zip\n"
    "                   archives; only their info is read: teams, dates, match type, overs,\n"
    "                   gender, players and toss) instead of writing players.csv: each fixture's\n"
    "                   two elevens (the first eleven of info.players of each side) are rated\n"
    "                   from the archive matches whose first day is before the fixture's (one\n"
    "                   fit for each distinct set of them) and the fixture is played\n"
    "                   --matches times as pelmora-cli --matches plays a batch, with seeds\n"
    "                   --seed, --seed + 1, ...; when info.toss says who won it and chose\n"
    "                   what, only the seeds whose toss sends in that side to bat first count.\n"
    "                   Its bowlers are those of the eleven who bowled in at least a quarter of\n"
    "                   their archive matches, topped up as the fit does. A player in no\n"
    "                   archive match before it (a debutant) gets the prior of his role below,\n"
    "                   his batting position his place in info.players. Writes --out's\n"
    "                   forecast.csv: file,date,team1,team2,p_team1,p_team2,p_tie (team1 and\n"
    "                   team2 in the order of info.teams; ties, and Tests whose time ran out,\n"
    "                   in p_tie; the three add up to 1). A fixture of another match type or\n"
    "                   gender than the archive, or with no archive match before it, is named\n"
    "                   on standard error and left out\n"
    "  --matches=N      plays of each fixture with --forecast (default 1000)\n"
    "  --backtest       with --forecast, also read each fixture's info.outcome and print the\n"
    "                   Brier score of the forecast, of a coin and of an Elo table. A fixture's\n"
    "                   Brier score is (p - y)^2, p the chance given to team1 winning, y 1 if\n"
    "                   team1 won, 0.5 for a tie or a draw, 0 if it lost; the score printed is\n"
    "                   the mean over the fixtures forecast (a no result, or no outcome, is left\n"
    "                   out and counted). The coin says 0.5 (0.25 for each match won or lost).\n"
    "                   Elo: every side starts at 1500 and the archive matches before the\n"
    "                   fixture's day are taken in order of day, K 20, no home advantage,\n"
    "                   p = 1 / (1 + 10^(-(Ra - Rb) / 400)), a tie or a draw half a win\n"
    "  --help, -h       this text\n"
    "  --version        the program's version\n"
    "\n"
    "Shrinkage: a player with few balls is pulled towards the average. Each batting rate (runs\n"
    "per ball, outs per ball before and after he is in) is blended with the average of his usual\n"
    "batting position as if he had faced 100 more balls at that average; each bowling rate (runs\n"
    "and wickets per ball) with the average of all bowlers as if he had bowled 100 more balls.\n"
    "A rating resting on fewer than 30 of his own balls (faced, or bowled) is the prior of his\n"
    "role: the ball-weighted average of the batsmen of his usual position, or of all bowlers;\n"
    "players.csv's batRatedOnBalls and bowlRatedOnBalls give the balls each rests on (0: prior).\n"
    "\n"
    "Convention: tempos add and so do risk and threat, so only their sums are fixed by the data.\n"
    "Bowling terms are shifted one way and batting terms the other until the archive's average\n"
    "bowler, weighted by the balls he bowled, has bowlTempo 300 and bowlThreat 100.\n"
    "\n"
    "A file that is not a Cricsheet match or is damaged, a match file larger than 16 MB (an\n"
    "archive's entry unpacked), and an archive in a folder that cannot be opened are named on\n"
    "standard error and skipped. A side listing more than eleven is played again by the eleven\n"
    "who took part (a substitute in \"replacements\" in the place of the one he replaced); a\n"
    "match whose elevens cannot be made counts in the figures but is not played again, and how\n"
    "many and why is printed. Super overs are in no figure. Options other than --team and --side\n"
    "are given once. How many matches the filters left out, and by which option, is said in\n"
    "one line on standard error.\n"
    "While it reads and fits, a line on standard error shows how far it is, when that is a terminal.\n"
    "Exit status: 0 done; 1 no match to rate, no fixture forecast, an input or output cannot\n"
    "be read or written, or out of memory; 2 a refused command line: a bad or repeated option,\n"
    "--matches or --backtest without --forecast, a --forecast with --side, a --forecast or\n"
    "--styles that cannot be read, an --out that is not a folder that can be written, a\n"
    "--team, --side or --keeper not found in the matches read, men's and women's matches\n"
    "without --gender, or matches of several types without --match-type (the message gives\n"
    "the counts).\n";

const char* optionValue(const char* argument, const char* prefix)
{
    const std::size_t n = std::strlen(prefix);
    return std::strncmp(argument, prefix, n) == 0 ? argument + n : nullptr;
}

bool readNumber(const char* text, long long low, long long high, long long& out)
{
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < low || v > high) return false;
    out = v;
    return true;
}

bool isDate(const std::string& s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[static_cast<std::size_t>(i)] < '0' || s[static_cast<std::size_t>(i)] > '9') return false;
    return true;
}

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

Progress& progress()
{
    static Progress line;
    return line;
}

// Messages name files, sides and players from the archive: control
// characters in them are shown as '?', never sent to the terminal.
void complain(const std::string& message)
{
    progress().clear();
    const std::string shown = cleanName(message, isValidUtf8(message), std::string::npos);
    std::fprintf(stderr, "pelmora-rate: %s\n", shown.c_str());
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

// The options given once at most: a second would silently replace the first.
bool givenTwice(const char* argument, std::set<std::string>& given)
{
    static const std::set<std::string> once = {
        "--format", "--from",   "--to",         "--keeper",    "--styles", "--out",      "--simulations", "--threads",
        "--seed",   "--gender", "--match-type", "--team-type", "--event",  "--forecast", "--matches",     "--backtest"};
    const char* equals = std::strchr(argument, '=');
    const std::string option(argument, equals ? static_cast<std::size_t>(equals - argument) : std::strlen(argument));
    return once.count(option) && !given.insert(option).second;
}

// The fixtures' files read for their info; a fixture not of the archive's
// match type or gender is named and skipped.
void readFixtures(MatchSources& sources, const std::vector<MatchRecord>& archive,
                  std::vector<ForecastFixture>& fixtures, std::size_t& skipped)
{
    for (std::size_t i = 0; i < sources.size(); ++i) {
        ForecastFixture fixture;
        fixture.file = sources.name(i);
        std::string text, why;
        if (sources.read(i, text, why) && parseCricsheetInfo(text, fixture.info, why)) {
            const MatchRecord& m = fixture.info;
            const MatchRecord& kind = archive.front();
            if (!isDate(m.firstDate))
                why = "info.dates does not give the first day as YYYY-MM-DD";
            else if (!m.matchType.empty() && !kind.matchType.empty() && m.matchType != kind.matchType)
                why = "a " + m.matchType + " match; the archive rated is of " + kind.matchType + " matches";
            else if (!m.gender.empty() && !kind.gender.empty() && m.gender != kind.gender)
                why = "a " + m.gender + " match; the archive rated is of " + kind.gender + " matches";
        }
        if (!why.empty()) {
            complain("--forecast: " + fixture.file + ": skipped: " + why);
            ++skipped;
            continue;
        }
        fixtures.push_back(std::move(fixture));
    }
}

// The Brier scores of the forecast, of a coin and of Elo over the fixtures
// forecast that have a result.
void printBacktest(const std::vector<ForecastRow>& rows, const std::vector<MatchRecord>& archive,
                   const std::vector<ForecastFixture>& fixtures)
{
    const std::vector<double> elo = eloForecasts(archive, fixtures);
    double sums[3] = {0, 0, 0};
    std::int64_t scored = 0, noResult = 0;
    for (std::size_t f = 0; f < rows.size(); ++f) {
        double y = 0;
        if (rows[f].played <= 0) continue;
        if (!matchScore(fixtures[f].info, y)) {
            ++noResult;
            continue;
        }
        ++scored;
        sums[0] += brierScore(rows[f].pTeam1(), y);
        sums[1] += brierScore(0.5, y);
        sums[2] += brierScore(elo[f], y);
    }
    if (scored == 0) {
        std::printf("Brier score: no fixture forecast has a result (%lld without one)\n",
                    static_cast<long long>(noResult));
        return;
    }
    const double n = double(scored);
    std::printf("Brier score over %lld fixtures (%lld without a result left out): forecast %.6f, coin %.6f, Elo %.6f\n",
                static_cast<long long>(scored), static_cast<long long>(noResult), sums[0] / n, sums[1] / n,
                sums[2] / n);
}

int forecastFixtures(const std::vector<MatchRecord>& archive, MatchSources& sources, const std::string& outPath,
                     bool backtest, const ForecastSettings& plan, std::chrono::steady_clock::time_point started)
{
    std::vector<ForecastFixture> fixtures;
    std::size_t skipped = 0;
    readFixtures(sources, archive, fixtures, skipped);
    if (fixtures.empty()) {
        complain("--forecast: no fixture to forecast (" + std::to_string(sources.size()) + " files read, " +
                 std::to_string(skipped) + " skipped)");
        return 1;
    }
    std::vector<std::string> why;
    const std::vector<ForecastRow> rows = forecast(archive, fixtures, plan, why);
    progress().clear();
    std::size_t forecast = 0, debutants = 0;
    std::set<std::string> days;
    for (std::size_t f = 0; f < rows.size(); ++f) {
        if (!why[f].empty()) {
            complain("--forecast: " + fixtures[f].file + ": not forecast: " + why[f]);
            ++skipped;
            continue;
        }
        ++forecast;
        debutants += static_cast<std::size_t>(rows[f].debutants);
        days.insert(fixtures[f].info.firstDate);
    }
    std::string error;
    if (!replaceFileContents(outPath, forecastCsv(rows), error)) {
        complain("cannot write " + outPath + ": " + error);
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "%zu fixtures forecast (%zu skipped) from %zu archive matches, %zu fixture days, debutants %zu, "
        "%d plays each from seed %u, %.1f s\n",
        forecast, skipped, archive.size(), days.size(), debutants, plan.matches, plan.firstSeed, seconds);
    if (backtest) printBacktest(rows, archive, fixtures);
    return forecast > 0 ? 0 : 1;
}

int rate(int argc, char** argv)
{
    removeTemporaryFilesOnInterrupt();
    reportFatalErrorsAs("pelmora-rate");
    MatchFilter filter;
    filter.format = MatchFilter::Format::OneDay;
    std::vector<std::string> inputs, sides, shortNames;
    std::string keeper, stylesPath, outFolder = ".";
    long long simulations = 0, threads = std::max(1u, std::thread::hardware_concurrency()), seed = 1;
    std::set<std::string> given;
    bool formatGiven = false, backtest = false;
    std::string forecastDir;
    long long playsPerFixture = 0;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const char* v = nullptr;
        long long n = 0;
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(a, "--version") == 0) {
            std::puts("pelmora-rate " PELMORA_VERSION);
            return 0;
        }
        if (a[0] == '-' && a[1] == '-' && givenTwice(a, given)) return usage(std::string(a) + ": given twice");
        if ((v = std::strchr(a, '=')) && v[1] == '\0' && a[0] == '-' && a[1] == '-')
            return usage(std::string(a) + " needs a value");
        if ((v = optionValue(a, "--format="))) {
            if (std::strcmp(v, "oneday") == 0)
                filter.format = MatchFilter::Format::OneDay;
            else if (std::strcmp(v, "test") == 0)
                filter.format = MatchFilter::Format::Test;
            else if (optionValue(v, "overs=") && readNumber(v + 6, 1, 1000, n)) {
                filter.format = MatchFilter::Format::Overs;
                filter.overs = static_cast<int>(n);
            } else {
                return usage(std::string("--format is oneday, test or overs=N, not \"") + v + "\"");
            }
            formatGiven = true;
        } else if ((v = optionValue(a, "--match-type="))) {
            filter.matchType = v;
        } else if ((v = optionValue(a, "--team-type="))) {
            if (std::strcmp(v, "international") != 0 && std::strcmp(v, "club") != 0)
                return usage(std::string("--team-type is international or club, not \"") + v + "\"");
            filter.teamType = v;
        } else if ((v = optionValue(a, "--event="))) {
            filter.event = v;
        } else if ((v = optionValue(a, "--forecast="))) {
            forecastDir = v;
        } else if ((v = optionValue(a, "--matches="))) {
            if (!readNumber(v, 1, 1000000, playsPerFixture))
                return usage(std::string("--matches needs a whole number from 1 to 1000000, not \"") + v + "\"");
        } else if (std::strcmp(a, "--backtest") == 0) {
            backtest = true;
        } else if ((v = optionValue(a, "--from=")) || (v = optionValue(a, "--to="))) {
            if (!isDate(v)) return usage(std::string("a date is YYYY-MM-DD, not \"") + v + "\"");
            (a[2] == 'f' ? filter.from : filter.to) = v;
        } else if ((v = optionValue(a, "--gender="))) {
            if (std::strcmp(v, "male") != 0 && std::strcmp(v, "female") != 0)
                return usage(std::string("--gender is male or female, not \"") + v + "\"");
            filter.gender = v;
        } else if ((v = optionValue(a, "--team="))) {
            filter.teams.push_back(v);
        } else if ((v = optionValue(a, "--side="))) {
            // NAME=SHORT: SHORT is the side's name in its file.
            const char* equals = std::strrchr(v, '=');
            sides.emplace_back(v, equals ? static_cast<std::size_t>(equals - v) : std::strlen(v));
            shortNames.push_back(equals ? std::string(equals + 1) : sideShortName(sides.back()));
            if (sides.back().empty() || shortNames.back().empty() || shortNames.back().size() > 15 ||
                oneWord(shortNames.back(), false) != shortNames.back())
                return usage(std::string("--side=") + v + ": the short name after '=' is one word of at most " +
                             "15 characters, without '#'");
        } else if ((v = optionValue(a, "--keeper="))) {
            keeper = v;
        } else if ((v = optionValue(a, "--styles="))) {
            stylesPath = v;
        } else if ((v = optionValue(a, "--out="))) {
            outFolder = v;
        } else if ((v = optionValue(a, "--simulations="))) {
            if (!readNumber(v, 100, 100000000, simulations))
                return usage(std::string("--simulations needs a whole number from 100 up, not \"") + v + "\"");
        } else if ((v = optionValue(a, "--threads="))) {
            if (!readNumber(v, 1, 1024, threads))
                return usage(std::string("--threads needs a whole number from 1 to 1024, not \"") + v + "\"");
        } else if ((v = optionValue(a, "--seed="))) {
            if (!readNumber(v, 0, 4294967295LL, seed))
                return usage(std::string("--seed needs a whole number from 0 to 4294967295, not \"") + v + "\"");
        } else if (a[0] == '-' && a[1] == '-') {
            return usage(std::string("unknown option ") + a);
        } else {
            inputs.push_back(a);
        }
    }
    if (inputs.empty()) return usage("no match files given");
    if (!filter.from.empty() && !filter.to.empty() && filter.to < filter.from)
        return usage("--from=" + filter.from + " is after --to=" + filter.to + ": no match is within them");
    for (std::size_t s = 0; s < sides.size(); ++s)
        for (std::size_t t = 0; t < s; ++t)
            if (sides[t] != sides[s] && shortNames[t] == shortNames[s])
                return usage("--side=" + sides[t] + " and --side=" + sides[s] + " would both be called " +
                             shortNames[s] + " in their files: give one another with --side=NAME=SHORT");
    if (!keeper.empty() && sides.empty()) return usage("--keeper names the keeper of a --side eleven: give --side too");
    if (forecastDir.empty() && (backtest || playsPerFixture))
        return usage(std::string(backtest ? "--backtest" : "--matches") + " goes with --forecast=DIR");
    if (!forecastDir.empty() && !sides.empty())
        return usage("--side writes the side of one fit, --forecast fits once per fixture day: give one of them");
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
