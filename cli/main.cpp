// pelmora-cli: plays a match unattended from the command line, with the same
// start-up and control code as the window, and writes its report.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "analysis/bounded_input.h"
#include "analysis/cricsheet.h"
#include "app/answers.h"
#include "app/application.h"
#include "app/fatal_errors.h"
#include "app/match_file.h"
#include "app/output_files.h"
#include "cli/batch_mode.h"
#include "cli/console_platform.h"
#include "cli/tournament_mode.h"
#include "resources/strings.h"

namespace {

constexpr const char* kExtraUsage =
    "\npelmora-cli also takes:\n"
    "--commentary=FILE : every delivery's commentary line, one per line\n"
    "--cricsheet=FILE : the match in Cricsheet's ball-by-ball JSON format\n"
    "  (with --matches: a folder, where every match is written as SEED.json)\n"
    "--venue=NAME : the ground that file names (default: Pelmora Oval)\n"
    "--charts=DIR : worm.png and manhattan.png of the match, drawn offscreen\n"
    "--matches=N : play N matches with seeds /r=, /r=+1, ... and print a summary (N up to 2147483647)\n"
    "--threads=K : threads for --matches (default: the number of cores)\n"
    "--format=table|json : the summary's format (default: table)\n"
    "--overs=N : limited-overs matches of N overs, 1 to 50 (/o is 50)\n"
    "--tournament=FILE : play the tournament FILE describes; with --matches=N forecast it N times\n"
    "--reports=DIR : the folder for a tournament's match reports (default: FILE's name + -reports)\n"
    "--shard=I/N : play part I of N of a --matches run and print its counts as JSON\n"
    "--merge PART.json ... : print the summary of the parts, as one run would\n"
    "--answers=FILE : ask the choice questions and answer them from FILE (see the README)\n"
    "--outfield=N --pitch-pace=N --pitch-surface=N --wicket-difficulty=N : the ground, 0-100\n"
    "  (as if the Game Options dialog were confirmed with them before play)\n"
    "--record=FILE : write the match file of the match played\n"
    "--replay=FILE : play a match file again (its sides and settings are its own)\n"
    "  (answers and match files are read up to 16 MB)\n"
    "--version : the program's version\n"
    "An output named - or /dev/stdout is written to standard output.\n";

// The value of "--name=value" when the argument is that option.
const char* optionValue(const char* argument, const char* prefix)
{
    const std::size_t n = std::strlen(prefix);
    return std::strncmp(argument, prefix, n) == 0 ? argument + n : nullptr;
}

bool readCount(const char* text, long limit, int& out)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || v < 1 || v > limit) return false;
    out = static_cast<int>(v);
    return true;
}

int usage(bool extras)
{
    std::printf("%s\n", std::string(loadString(str::Usage)).c_str());
    if (extras) std::fputs(kExtraUsage, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int refuse(const std::string& message)
{
    std::fprintf(stderr, "pelmora-cli: %s (see --help)\n", message.c_str());
    return 2;
}

// A team or answers file's bytes for a part's fingerprint. Only a regular
// file is read here: a pipe is read once, by the run itself.
std::string fileBytes(const std::string& path)
{
    struct stat st {};
    std::string text, why;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !readBoundedFile(path, kMegabyte, text, why))
        return "not a regular file: " + path;
    return text;
}

// Everything that shapes the play of a batch part: parts merge only when
// they agree on all of it.
std::string batchFingerprint(const std::string& commandLine, const BatchModeOptions& batch,
                             const std::string& answersBytes)
{
    CommandLineSettings settings;
    GameOptions options;
    parseCommandLine(commandLine, settings, options);
    if (settings.bowlerListFile) std::fclose(settings.bowlerListFile);
    auto setting = [](const std::optional<int>& v) { return v ? std::to_string(*v) : std::string("-"); };
    Fingerprint f;
    f.add("program", PELMORA_VERSION)
        .add("seed", std::to_string(settings.randomSeed))
        .add("matches", std::to_string(batch.matches))
        .add("match", std::to_string(options.oneDay) + " " + std::to_string(batch.overs))
        .add("ground", setting(batch.ground.outfield) + " " + setting(batch.ground.pitchPace) + " " +
                           setting(batch.ground.pitchSurface) + " " + setting(batch.ground.wicketDifficulty))
        .add("answers", batch.answersPath.empty() ? std::string("none") : "given: " + answersBytes);
    for (const auto& side : {settings.team1File, settings.team2File})
        f.add("side", side ? fileBytes(*side) : std::string("none"));
    return f.hex();
}

}  // namespace

int main(int argc, char** argv)
{
    // A run stopped by a signal leaves no unfinished output behind.
    removeTemporaryFilesOnInterrupt();
    reportFatalErrorsAs("pelmora-cli");
    std::string commentaryPath, cricsheetPath, chartsFolder, venue = kDefaultVenue;
    std::string answersPath, recordPath, replayPath;
    GroundSettings ground;
    BatchModeOptions batch;
    TournamentModeOptions tournament;
    bool version = false, merge = false, reportsGiven = false, formatGiven = false, venueGiven = false;
    std::vector<std::string> mergeFiles;
    // The program's own options start with "--"; every other argument is for
    // the match's command line, which is given nothing else.
    std::string commandLine;
    std::string problem;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = nullptr;
        if (std::strncmp(arg, "--", 2) != 0) {
            mergeFiles.push_back(arg);
            if (!commandLine.empty()) commandLine += ' ';
            commandLine += arg;
            continue;
        }
        if (!problem.empty()) continue;
        if (std::strcmp(arg, "--help") == 0) return usage(true);
        if (std::strcmp(arg, "--version") == 0) {
            version = true;
        } else if ((value = optionValue(arg, "--commentary="))) {
            commentaryPath = value;
        } else if ((value = optionValue(arg, "--cricsheet="))) {
            cricsheetPath = value;
        } else if ((value = optionValue(arg, "--venue="))) {
            venue = value;
            venueGiven = true;
        } else if ((value = optionValue(arg, "--charts="))) {
            chartsFolder = value;
        } else if ((value = optionValue(arg, "--matches="))) {
            if (!readCount(value, INT_MAX, batch.matches))
                problem = std::string("--matches needs a whole number from 1 to 2147483647, not \"") + value + "\"";
        } else if ((value = optionValue(arg, "--threads="))) {
            if (!readCount(value, 1024, batch.threads))
                problem = std::string("--threads needs a whole number from 1 to 1024, not \"") + value + "\"";
        } else if ((value = optionValue(arg, "--answers="))) {
            answersPath = value;
        } else if ((value = optionValue(arg, "--record="))) {
            recordPath = value;
        } else if ((value = optionValue(arg, "--replay="))) {
            replayPath = value;
        } else if (const char* names[] = {"--outfield=", "--pitch-pace=", "--pitch-surface=", "--wicket-difficulty="};
                   std::any_of(std::begin(names), std::end(names),
                               [&](const char* n) { return (value = optionValue(arg, n)); })) {
            int v = 0;
            const std::string name(arg, static_cast<std::size_t>(value - arg - 1));
            if (!parseSetting(value, v))
                problem = name + " needs a whole number from 0 to 100, not \"" + value + "\"";
            else if (name == "--outfield")
                ground.outfield = v;
            else if (name == "--pitch-pace")
                ground.pitchPace = v;
            else if (name == "--pitch-surface")
                ground.pitchSurface = v;
            else
                ground.wicketDifficulty = v;
        } else if ((value = optionValue(arg, "--format="))) {
            formatGiven = true;
            if (std::strcmp(value, "json") == 0)
                batch.json = true;
            else if (std::strcmp(value, "table") != 0)
                problem = std::string("--format is table or json, not \"") + value + "\"";
        } else if ((value = optionValue(arg, "--overs="))) {
            if (!readCount(value, 50, batch.overs))
                problem = std::string("--overs needs a whole number from 1 to 50, not \"") + value + "\"";
        } else if ((value = optionValue(arg, "--tournament="))) {
            tournament.file = value;
            if (tournament.file.empty()) problem = "--tournament needs a tournament file";
        } else if ((value = optionValue(arg, "--reports="))) {
            tournament.reportsFolder = value;
            reportsGiven = true;
        } else if ((value = optionValue(arg, "--shard="))) {
            if (!parseShard(value, batch.shard))
                problem = std::string("--shard needs I/N with 1 <= I <= N, not \"") + value + "\"";
        } else if (std::strcmp(arg, "--merge") == 0) {
            merge = true;
        } else {
            problem = std::string("unknown option ") + arg;
        }
    }

    // The usage text wins over everything else on the line.
    {
        CommandLineSettings settings;
        GameOptions options;
        const bool wantsUsage = parseCommandLine(commandLine, settings, options) == 1;
        if (settings.bowlerListFile) std::fclose(settings.bowlerListFile);
        if (wantsUsage) return usage(false);
        if (!problem.empty()) return refuse(problem);
        if (version) {
            std::printf("pelmora-cli %s\n", PELMORA_VERSION);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        std::vector<std::string> given;  // the program's options that change what is run
        if (!commentaryPath.empty()) given.push_back("--commentary=");
        if (!chartsFolder.empty()) given.push_back("--charts=");
        if (!cricsheetPath.empty()) given.push_back("--cricsheet=");
        if (batch.overs) given.push_back("--overs=");
        if (batch.matches) given.push_back("--matches=");
        if (batch.shard.parts) given.push_back("--shard=");
        if (!tournament.file.empty()) given.push_back("--tournament=");
        if (reportsGiven) given.push_back("--reports=");
        // The options of a match's play: a tournament or a merge takes none of them.
        std::vector<std::string> play;
        if (!answersPath.empty()) play.push_back("--answers=");
        if (!recordPath.empty()) play.push_back("--record=");
        if (!replayPath.empty()) play.push_back("--replay=");
        if (ground.outfield) play.push_back("--outfield=");
        if (ground.pitchPace) play.push_back("--pitch-pace=");
        if (ground.pitchSurface) play.push_back("--pitch-surface=");
        if (ground.wicketDifficulty) play.push_back("--wicket-difficulty=");
        auto list = [](const std::vector<std::string>& names) {
            std::string text;
            for (const std::string& o : names)
                text += (text.empty() ? "" : ", ") + o;
            return text;
        };
        if (merge) {
            given.insert(given.end(), play.begin(), play.end());
            if (batch.threads) given.push_back("--threads=");
            if (venueGiven) given.push_back("--venue=");
            if (!given.empty()) return refuse("--merge reads finished parts and does not go with " + list(given));
            std::string summary, why;
            if (!mergeParts(mergeFiles, batch.json, summary, why)) {
                std::fprintf(stderr, "pelmora-cli: %s\n", why.c_str());
                return 2;
            }
            if (std::fwrite(summary.data(), 1, summary.size(), stdout) != summary.size() || std::fflush(stdout) != 0) {
                std::fprintf(stderr, "pelmora-cli: cannot write to standard output: %s\n", std::strerror(errno));
                return 1;
            }
            return 0;
        }
        if (batch.shard.parts && !batch.matches) return refuse("--shard splits a --matches run and needs --matches=N");
        if (batch.shard.parts && formatGiven)
            return refuse("--shard prints its counts as JSON for --merge and does not go with --format=");
        if (reportsGiven && (tournament.file.empty() || batch.matches))
            return refuse("--reports goes with a --tournament played once");
        if (batch.overs && !options.oneDay)
            return refuse("--overs makes a limited-overs match and does not go with /t");
        if (!tournament.file.empty()) {
            std::vector<std::string> clashing;
            if (settings.outputFileName) clashing.push_back("/s=");
            if (settings.team1File) clashing.push_back("/t1=");
            if (settings.team2File) clashing.push_back("/t2=");
            if (!options.oneDay) clashing.push_back("/t");
            if (std::find(settings.matchSettingsGiven.begin(), settings.matchSettingsGiven.end(), "/o") !=
                settings.matchSettingsGiven.end())
                clashing.push_back("/o");
            for (const std::string& o : given)
                if (o == "--commentary=" || o == "--charts=" || o == "--overs=" ||
                    (o == "--cricsheet=" && batch.matches))
                    clashing.push_back(o);
            clashing.insert(clashing.end(), play.begin(), play.end());
            // Played once, a tournament prints its tables; --venue names the ground of Cricsheet files only.
            if (!batch.matches && batch.threads) clashing.push_back("--threads= (without --matches=)");
            if (!batch.matches && formatGiven) clashing.push_back("--format= (without --matches=)");
            if (venueGiven && (cricsheetPath.empty() || batch.matches))
                clashing.push_back("--venue= (without Cricsheet files)");
            if (!clashing.empty())
                return refuse("--tournament takes its sides and matches from its file and does not go with " +
                              list(clashing));
        }
        if (tournament.file.empty() && !batch.matches && (batch.threads || formatGiven))
            return refuse(std::string("a single match has no summary: ") +
                          (batch.threads ? "--threads=" : "--format=") + " goes with --matches=N or --tournament=");
        if (batch.matches > 0) {
            std::vector<std::string> clashing;
            if (settings.outputFileName) clashing.push_back("/s=");
            if (!commentaryPath.empty()) clashing.push_back("--commentary=");
            if (!chartsFolder.empty()) clashing.push_back("--charts=");
            if (!recordPath.empty()) clashing.push_back("--record=");
            if (!replayPath.empty()) clashing.push_back("--replay=");
            if (!clashing.empty()) {
                std::string list;
                for (const std::string& o : clashing)
                    list += (list.empty() ? "" : ", ") + o;
                return refuse("--matches prints a summary of many matches and does not go with " + list);
            }
            if (namesStandardOutput(cricsheetPath))
                return refuse(
                    "--cricsheet with --matches names a folder for the matches' files, not standard output (\"" +
                    cricsheetPath + "\")");
        }
        if (!replayPath.empty()) {
            std::vector<std::string> clashing;
            if (settings.team1File || settings.team2File) clashing.push_back("/t1= or /t2=");
            if (settings.randomSeed) clashing.push_back("/r=");
            if (!answersPath.empty()) clashing.push_back("--answers=");
            if (ground.any()) clashing.push_back("the ground options");
            if (batch.overs) clashing.push_back("--overs=");
            for (const std::string& o : settings.matchSettingsGiven)
                clashing.push_back(o);
            if (!clashing.empty()) {
                std::string list;
                for (const std::string& o : clashing)
                    list += (list.empty() ? "" : ", ") + o;
                return refuse("--replay plays the sides and settings of its match file and does not go with " + list);
            }
        }
    }
    batch.cricsheetFolder = cricsheetPath;
    batch.venue = venue;
    if (!tournament.file.empty()) {
        tournament.tournaments = batch.matches;
        tournament.threads = batch.threads;
        tournament.json = batch.json;
        tournament.shard = batch.shard;
        tournament.cricsheetFolder = cricsheetPath;
        tournament.venue = venue;
        return runTournamentMode(commandLine, tournament);
    }
    batch.ground = ground;
    // Both files are read whole before anything is written; a fault in
    // either is a usage error (exit 2) and nothing is created.
    std::vector<Answer> answers;
    std::string answersBytes;  // for a part's fingerprint
    if (!answersPath.empty()) {
        std::string text, error;
        if (!readBoundedFile(answersPath, kMaxAnswersFileBytes, text, error))
            return (std::fprintf(stderr, "pelmora-cli: cannot read answers file %s: %s\n", answersPath.c_str(),
                                 error.c_str()),
                    2);
        if (!parseAnswers(text, answersPath, answers, error))
            return (std::fprintf(stderr, "pelmora-cli: %s\n", error.c_str()), 2);
        batch.answersPath = answersPath;
        batch.answers = answers;
        answersBytes = text;
    }
    if (batch.shard.parts) batch.shard.fingerprint = batchFingerprint(commandLine, batch, answersBytes);
    if (batch.matches > 0) return runBatchMode(commandLine, batch);

    ConsolePlatform platform;
    platform.setCommentaryPath(commentaryPath);
    platform.setCricsheetPath(cricsheetPath);
    platform.setChartsFolder(chartsFolder);
    platform.setVenue(venue);
    platform.setOvers(batch.overs);
    platform.setGround(ground);
    platform.setRecordPath(recordPath);
    if (!answersPath.empty()) platform.setAnswers(answersPath, std::move(answers));
    if (!replayPath.empty()) {
        std::string text, error;
        MatchFile file;
        if (!readMatchFileText(replayPath, text, error) || !parseMatchFile(text, file, error))
            return (std::fprintf(stderr, "pelmora-cli: cannot replay match file %s: %s\n", replayPath.c_str(),
                                 error.c_str()),
                    2);
        platform.setReplay(replayPath, std::move(file));
    }

    Application application;
    int status = application.run(commandLine, platform);
    application.releaseFiles();
    if (std::fflush(stdout) != 0 && status == 0) {
        std::fprintf(stderr, "pelmora-cli: cannot write to standard output: %s\n", std::strerror(errno));
        status = 1;
    }
    return status;
}
