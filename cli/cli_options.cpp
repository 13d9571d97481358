#include "cli/cli_options.h"

#include <array>
#include <cstring>

#include "app/option_table.h"
#include "app/output_files.h"

namespace {

using CliOption = Option<CliOptions>;

std::string setGround(std::optional<int>& field, std::string_view name, const char* value)
{
    int v = 0;
    if (!parseSetting(value, v))
        return std::string(name) + " needs a whole number from 0 to 100, not \"" + value + "\"";
    field = v;
    return {};
}

// A calendar date written YYYY-MM-DD.
bool isDate(const char* text)
{
    unsigned y = 0, m = 0, d = 0;
    int used = 0;
    if (std::strlen(text) != 10 || std::sscanf(text, "%4u-%2u-%2u%n", &y, &m, &d, &used) != 3 || used != 10)
        return false;
    static constexpr unsigned kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return y >= 1 && m >= 1 && m <= 12 && d >= 1 && d <= kDays[m - 1] && (m != 2 || d <= 28 || leap);
}

constexpr std::array kCliOptions{
    CliOption{"--commentary", "FILE", "every delivery's commentary line, one per line",
              [](CliOptions& o, const char* v) { return (o.commentaryPath = v, std::string()); }},
    CliOption{"--cricsheet", "FILE",
              "the match in Cricsheet's ball-by-ball JSON format\n"
              "  (with --matches or --tournament: a folder, where every match is written as a file of its own)",
              [](CliOptions& o, const char* v) { return (o.cricsheetPath = v, std::string()); }},
    CliOption{"--venue", "NAME", "the ground Cricsheet files name (default: Pelmora Oval)",
              [](CliOptions& o, const char* v) { return (o.venue = v, o.venueGiven = true, std::string()); }},
    CliOption{"--date", "YYYY-MM-DD",
              "the date of the first match in Cricsheet files (default: today); each later match of a\n"
              "  batch or tournament is dated after the one before it",
              [](CliOptions& o, const char* v) {
                  if (!isDate(v)) return std::string("--date needs a date written YYYY-MM-DD, not \"") + v + "\"";
                  o.date = v;
                  return std::string();
              }},
    CliOption{"--charts", "DIR", "worm.png and manhattan.png of the match, drawn offscreen",
              [](CliOptions& o, const char* v) { return (o.chartsFolder = v, std::string()); }},
    CliOption{"--matches", "N", "play N matches with seeds /r=, /r=+1, ... and print a summary (N up to 2147483647)",
              [](CliOptions& o, const char* v) { return readWholeNumber("--matches", v, 1, 2147483647, o.matches); }},
    CliOption{"--threads", "K", "threads for --matches (default: the number of cores)",
              [](CliOptions& o, const char* v) { return readWholeNumber("--threads", v, 1, 1024, o.threads); }},
    CliOption{"--format", "table|json", "the summary's format (default: table)",
              [](CliOptions& o, const char* v) {
                  o.formatGiven = true;
                  o.json = std::strcmp(v, "json") == 0;
                  if (o.json || std::strcmp(v, "table") == 0) return std::string();
                  return std::string("--format is table or json, not \"") + v + "\"";
              }},
    CliOption{"--overs", "N", "limited-overs matches of N overs, 1 to 50 (/o is 50)",
              [](CliOptions& o, const char* v) { return readWholeNumber("--overs", v, 1, 50, o.overs); }},
    CliOption{"--tournament", "FILE", "play the tournament FILE describes; with --matches=N forecast it N times",
              [](CliOptions& o, const char* v) {
                  o.tournamentFile = v;
                  return o.tournamentFile.empty() ? std::string("--tournament needs a tournament file") : std::string();
              }},
    CliOption{"--reports", "DIR", "the folder for a tournament's match reports (default: FILE's name + -reports)",
              [](CliOptions& o, const char* v) { return (o.reportsFolder = v, o.reportsGiven = true, std::string()); }},
    CliOption{"--shard", "I/N", "play part I of N of a --matches run and print its counts as JSON",
              [](CliOptions& o, const char* v) {
                  if (parseShard(v, o.shard)) return std::string();
                  return std::string("--shard needs I/N with 1 <= I <= N, not \"") + v + "\"";
              }},
    CliOption{"--merge", "", "print the summary of the parts named after it (PART.json ...), as one run would",
              [](CliOptions& o, const char*) { return (o.merge = true, std::string()); }},
    CliOption{"--answers", "FILE", "ask the choice questions and answer them from FILE (see the README)",
              [](CliOptions& o, const char* v) { return (o.answersPath = v, std::string()); }},
    CliOption{"--outfield", "N", "the outfield, 0-100",
              [](CliOptions& o, const char* v) { return setGround(o.ground.outfield, "--outfield", v); }},
    CliOption{"--pitch-pace", "N", "the pitch's pace, 0-100",
              [](CliOptions& o, const char* v) { return setGround(o.ground.pitchPace, "--pitch-pace", v); }},
    CliOption{"--pitch-surface", "N", "the pitch's surface, 0-100",
              [](CliOptions& o, const char* v) { return setGround(o.ground.pitchSurface, "--pitch-surface", v); }},
    CliOption{
        "--wicket-difficulty", "N",
        "the wicket's difficulty, 0-100\n"
        "  (the ground options play as if the Game Options dialog were confirmed with them before play)",
        [](CliOptions& o, const char* v) { return setGround(o.ground.wicketDifficulty, "--wicket-difficulty", v); }},
    CliOption{"--record", "FILE", "write the match file of the match played",
              [](CliOptions& o, const char* v) { return (o.recordPath = v, std::string()); }},
    CliOption{"--replay", "FILE",
              "play a match file again (its sides and settings are its own)\n"
              "  (answers and match files are read up to 16 MB)",
              [](CliOptions& o, const char* v) { return (o.replayPath = v, std::string()); }},
    CliOption{"--help", "", "this text", [](CliOptions& o, const char*) { return (o.help = true, std::string()); },
              false},
    CliOption{"--version", "", "the program's version",
              [](CliOptions& o, const char*) { return (o.version = true, std::string()); }, false},
};

std::string listed(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& o : names)
        text += (text.empty() ? "" : ", ") + o;
    return text;
}

}  // namespace

std::string CliOptions::commandLine() const
{
    std::string line;
    for (const std::string& a : arguments)
        line += (line.empty() ? "" : " ") + a;
    return line;
}

std::string readCliArguments(int argc, char** argv, CliOptions& options)
{
    std::array<int, kCliOptions.size()> seen{};
    std::string problem;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) != 0)
            options.arguments.push_back(argv[i]);
        else if (problem.empty())
            problem = readOption(std::span<const CliOption>(kCliOptions), argv[i], options, seen);
    }
    return problem;
}

std::string cliOptionsHelp()
{
    return optionsHelp(std::span<const CliOption>(kCliOptions));
}

std::string refusedCombination(const CliOptions& o, const CommandLineSettings& settings, const GameOptions& game)
{
    std::vector<std::string> given;  // the program's options that change what is run
    if (!o.commentaryPath.empty()) given.push_back("--commentary=");
    if (!o.chartsFolder.empty()) given.push_back("--charts=");
    if (!o.cricsheetPath.empty()) given.push_back("--cricsheet=");
    if (o.overs) given.push_back("--overs=");
    if (o.matches) given.push_back("--matches=");
    if (o.shard.parts) given.push_back("--shard=");
    if (!o.tournamentFile.empty()) given.push_back("--tournament=");
    if (o.reportsGiven) given.push_back("--reports=");
    // The options of a match's play: a tournament or a merge takes none of them.
    std::vector<std::string> play;
    if (!o.answersPath.empty()) play.push_back("--answers=");
    if (!o.recordPath.empty()) play.push_back("--record=");
    if (!o.replayPath.empty()) play.push_back("--replay=");
    if (o.ground.outfield) play.push_back("--outfield=");
    if (o.ground.pitchPace) play.push_back("--pitch-pace=");
    if (o.ground.pitchSurface) play.push_back("--pitch-surface=");
    if (o.ground.wicketDifficulty) play.push_back("--wicket-difficulty=");
    if (o.merge) {
        given.insert(given.end(), play.begin(), play.end());
        if (o.threads) given.push_back("--threads=");
        if (o.venueGiven) given.push_back("--venue=");
        if (!o.date.empty()) given.push_back("--date=");
        if (!given.empty()) return "--merge reads finished parts and does not go with " + listed(given);
        return {};
    }
    if (o.shard.parts && !o.matches) return "--shard splits a --matches run and needs --matches=N";
    if (o.shard.parts && o.formatGiven)
        return "--shard prints its counts as JSON for --merge and does not go with --format=";
    if (o.reportsGiven && (o.tournamentFile.empty() || o.matches))
        return "--reports goes with a --tournament played once";
    if (o.overs && !game.oneDay) return "--overs makes a limited-overs match and does not go with /t";
    if (!o.date.empty() && o.cricsheetPath.empty()) return "--date dates Cricsheet files and goes with --cricsheet=";
    if (!o.tournamentFile.empty()) {
        std::vector<std::string> clashing;
        if (settings.outputFileName) clashing.push_back("/s=");
        if (settings.team1File) clashing.push_back("/t1=");
        if (settings.team2File) clashing.push_back("/t2=");
        if (!game.oneDay) clashing.push_back("/t");
        for (const std::string& s : settings.matchSettingsGiven)
            if (s == "/o") clashing.push_back("/o");
        for (const std::string& g : given)
            if (g == "--commentary=" || g == "--charts=" || g == "--overs=" || (g == "--cricsheet=" && o.matches))
                clashing.push_back(g);
        clashing.insert(clashing.end(), play.begin(), play.end());
        // Played once, a tournament prints its tables; --venue names the ground of Cricsheet files only.
        if (!o.matches && o.threads) clashing.push_back("--threads= (without --matches=)");
        if (!o.matches && o.formatGiven) clashing.push_back("--format= (without --matches=)");
        if (o.venueGiven && (o.cricsheetPath.empty() || o.matches))
            clashing.push_back("--venue= (without Cricsheet files)");
        if (!clashing.empty())
            return "--tournament takes its sides and matches from its file and does not go with " + listed(clashing);
    }
    if (o.tournamentFile.empty() && !o.matches && (o.threads || o.formatGiven))
        return std::string("a single match has no summary: ") + (o.threads ? "--threads=" : "--format=") +
               " goes with --matches=N or --tournament=";
    if (o.matches > 0) {
        std::vector<std::string> clashing;
        if (settings.outputFileName) clashing.push_back("/s=");
        if (!o.commentaryPath.empty()) clashing.push_back("--commentary=");
        if (!o.chartsFolder.empty()) clashing.push_back("--charts=");
        if (!o.recordPath.empty()) clashing.push_back("--record=");
        if (!o.replayPath.empty()) clashing.push_back("--replay=");
        if (!clashing.empty())
            return "--matches prints a summary of many matches and does not go with " + listed(clashing);
        if (namesStandardOutput(o.cricsheetPath))
            return "--cricsheet with --matches names a folder for the matches' files, not standard output (\"" +
                   o.cricsheetPath + "\")";
    }
    if (!o.replayPath.empty()) {
        std::vector<std::string> clashing;
        if (settings.team1File || settings.team2File) clashing.push_back("/t1= or /t2=");
        if (settings.randomSeed) clashing.push_back("/r=");
        if (!o.answersPath.empty()) clashing.push_back("--answers=");
        if (o.ground.any()) clashing.push_back("the ground options");
        if (o.overs) clashing.push_back("--overs=");
        for (const std::string& s : settings.matchSettingsGiven)
            clashing.push_back(s);
        if (!clashing.empty())
            return "--replay plays the sides and settings of its match file and does not go with " + listed(clashing);
    }
    return {};
}
