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
#include "cli/cli_options.h"
#include "cli/console_platform.h"
#include "cli/tournament_mode.h"
#include "resources/strings.h"

namespace {

constexpr const char* kOutputsNote = "An output named - or /dev/stdout is written to standard output.\n";

int usage(bool extras)
{
    std::printf("%s\n", usageText("pelmora-cli").c_str());
    if (extras) std::printf("\npelmora-cli also takes:\n%s%s", cliOptionsHelp().c_str(), kOutputsNote);
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

// --merge: the summary of the finished parts, on standard output.
int mergeAndPrint(const CliOptions& cli)
{
    std::string summary, why;
    if (!mergeParts(cli.arguments, cli.json, summary, why)) {
        std::fprintf(stderr, "pelmora-cli: %s\n", why.c_str());
        return 2;
    }
    if (std::fwrite(summary.data(), 1, summary.size(), stdout) != summary.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "pelmora-cli: cannot write to standard output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // A run stopped by a signal leaves no unfinished output behind.
    removeTemporaryFilesOnInterrupt();
    reportFatalErrorsAs("pelmora-cli");
    CliOptions cli;
    const std::string problem = readCliArguments(argc, argv, cli);
    const std::string commandLine = cli.commandLine();
    // The usage text wins over everything else on the line.
    CommandLineSettings settings;
    GameOptions options;
    const bool wantsUsage = parseCommandLine(commandLine, settings, options) == 1;
    if (settings.bowlerListFile) std::fclose(settings.bowlerListFile);
    if (wantsUsage) return usage(false);
    if (cli.help) return usage(true);
    if (!problem.empty()) return refuse(problem);
    if (cli.version) {
        std::printf("pelmora-cli %s\n", PELMORA_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (const std::string why = refusedCombination(cli, settings, options); !why.empty()) return refuse(why);
    if (cli.merge) return mergeAndPrint(cli);

    if (!cli.tournamentFile.empty()) {
        TournamentModeOptions tournament;
        tournament.file = cli.tournamentFile;
        tournament.tournaments = cli.matches;
        tournament.threads = cli.threads;
        tournament.json = cli.json;
        tournament.shard = cli.shard;
        tournament.reportsFolder = cli.reportsFolder;
        tournament.cricsheetFolder = cli.cricsheetPath;
        tournament.venue = cli.venue;
        tournament.date = cli.date;
        return runTournamentMode(commandLine, tournament);
    }
    BatchModeOptions batch;
    batch.matches = cli.matches;
    batch.threads = cli.threads;
    batch.json = cli.json;
    batch.overs = cli.overs;
    batch.shard = cli.shard;
    batch.cricsheetFolder = cli.cricsheetPath;
    batch.venue = cli.venue;
    batch.date = cli.date;
    batch.ground = cli.ground;
    // Both files are read whole before anything is written; a fault in
    // either is a usage error (exit 2) and nothing is created.
    std::vector<Answer> answers;
    std::string answersBytes;  // for a part's fingerprint
    const std::string& answersPath = cli.answersPath;
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
    platform.setCommentaryPath(cli.commentaryPath);
    platform.setCricsheetPath(cli.cricsheetPath);
    platform.setCricsheetDate(cli.date);
    platform.setChartsFolder(cli.chartsFolder);
    platform.setVenue(cli.venue);
    platform.setOvers(batch.overs);
    platform.setGround(cli.ground);
    platform.setRecordPath(cli.recordPath);
    if (!answersPath.empty()) platform.setAnswers(answersPath, std::move(answers));
    if (const std::string& replayPath = cli.replayPath; !replayPath.empty()) {
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
