// The console runner, run as a program on temporary files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "resources/strings.h"
#include "support.h"

namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

// Runs pelmora-cli with the arguments, each quoted for the shell.
CliRun runCli(const std::vector<std::string>& args)
{
    static int counter = 0;
    const std::string tag = std::to_string(++counter);
    const std::string out = support::tempPath("cli-" + tag + ".out"), err = support::tempPath("cli-" + tag + ".err");
    std::string command = std::string("'") + PELMORA_CLI + "'";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " >'" + out + "' 2>'" + err + "' </dev/null";
    const int raw = std::system(command.c_str());
    CliRun run;
    run.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
    run.out = support::readFile(out);
    run.err = support::readFile(err);
    return run;
}

const std::string kUsage = std::string(loadString(str::Usage)) + "\n";

std::string side(const char* name) { return "/t1=" + support::dataPath(name); }
std::string other(const char* name) { return "/t2=" + support::dataPath(name); }

}  // namespace

TEST(Cli, UsageOptionsPrintTheUsageAndSucceed)
{
    for (const char* option : {"/?", "-?"}) {
        const CliRun run = runCli({option});
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_EQ(run.out, kUsage) << option;
        EXPECT_EQ(run.err, "") << option;
    }
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, kUsage.size()), kUsage);
    const CliRun late = runCli({side("harbour.xi"), "/?", other("upland.xi")});
    EXPECT_EQ(late.status, 0);
    EXPECT_EQ(late.out, kUsage) << "no match is played once /? is met";
}

TEST(Cli, MissingSecondTeamFileExitsWithTwo)
{
    const CliRun run = runCli({side("harbour.xi"), "/r=5"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("/t2="), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(Cli, TeamFileThatDoesNotLoadIsExplainedAndNoReportIsCreated)
{
    std::string text = "Short\n";
    for (int i = 0; i < 10; ++i)
        text += "S" + std::to_string(i) + " 400 100 500 " + (i == 3 ? "1" : "0") + " 1 300 100 0\n";
    const std::string bad = support::writeFile("cli-short.xi", text);
    const std::string report = support::tempPath("cli-refused.txt");
    const CliRun run = runCli({side("harbour.xi"), "/t2=" + bad, "/s=" + report, "/r=5"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Failure loading team file." + bad), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("only 10 of 11 players"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(report));

    const std::string folder = support::scratchDir().string();
    const CliRun dir = runCli({"/t1=" + folder, other("upland.xi"), "/s=" + report, "/r=5"});
    EXPECT_NE(dir.status, 0);
    EXPECT_NE(dir.err.find("cannot be read"), std::string::npos) << dir.err;
    EXPECT_FALSE(std::filesystem::exists(report));
}

TEST(Cli, SideThatCannotBowlIsRefusedBeforeTheReportIsCreated)
{
    std::string text = "Quartet\n";
    for (int i = 0; i < 11; ++i)
        text +=
            "Q" + std::to_string(i) + " 400 100 500 " + (i == 0 ? "1" : "0") + (i >= 7 ? " 1" : " 0") + " 300 100 0\n";
    const std::string four = support::writeFile("cli-four.xi", text);
    const std::string report = support::tempPath("cli-four.txt");
    const CliRun run = runCli({side("harbour.xi"), "/t2=" + four, "/s=" + report, "/r=5"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Quartet" + std::string(loadString(str::CannotBowlThrough))), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(report));
    const CliRun test = runCli({"/t", side("harbour.xi"), "/t2=" + four, "/s=" + report, "/r=5"});
    EXPECT_EQ(test.status, 0) << test.err;
}

TEST(Cli, ReportGoesToTheNamedFileOrElseToStandardOutput)
{
    const std::string report = support::tempPath("cli-report.txt");
    const CliRun toFile = runCli({side("harbour.xi"), other("upland.xi"), "/r=1234", "/s=" + report});
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(toFile.err, "");
    const std::string written = support::readFile(report);
    ASSERT_FALSE(written.empty());
    const auto lines = support::splitLines(written);
    const std::string& result = lines.back();
    EXPECT_TRUE(result.find(" defeated ") != std::string::npos || result.find(" tied the match") != std::string::npos)
        << "the report ends with the result, not: " << result;

    const CliRun toStdout = runCli({side("harbour.xi"), other("upland.xi"), "/r=1234"});
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out, written) << "the same seed writes the same report wherever it goes";
}

TEST(Cli, CommentaryFileHasALinePerDelivery)
{
    const std::string commentary = support::tempPath("cli-commentary.txt");
    const std::string report = support::tempPath("cli-long.txt");
    const CliRun run =
        runCli({side("harbour.xi"), other("upland.xi"), "/r=99", "/l", "/s=" + report, "--commentary=" + commentary});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto lines = support::splitLines(support::readFile(commentary));
    int ballLines = 0;
    for (const std::string& l : support::splitLines(support::readFile(report))) ballLines += l.rfind("(Over #", 0) == 0;
    EXPECT_EQ(static_cast<int>(lines.size()), ballLines) << "one commentary line per ball line of the long report";
    for (const std::string& l : lines) {
        ASSERT_NE(l.find(" :"), std::string::npos) << l;
        ASSERT_LE(l.size(), 71u) << l;
    }
}

TEST(Cli, SeedIsPrintedWhenNoneWasGivenAndReplaysTheMatch)
{
    const CliRun first = runCli({side("harbour.xi"), other("upland.xi")});
    EXPECT_EQ(first.status, 0);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(first.err, m, std::regex("seed: ([0-9]+)\n"))) << first.err;
    const CliRun again = runCli({side("harbour.xi"), other("upland.xi"), "/r=" + m[1].str()});
    EXPECT_EQ(again.err, "") << "no seed line when /r= gives one";
    EXPECT_EQ(again.out, first.out);
}

TEST(Cli, ReportWriteFailureGivesANonZeroStatus)
{
    const CliRun full = runCli({side("harbour.xi"), other("upland.xi"), "/r=3", "/s=/dev/full"});
    EXPECT_NE(full.status, 0);
    EXPECT_NE(full.err.find("Failure writing output file./dev/full"), std::string::npos) << full.err;

    const std::string unopenable = support::tempPath("missing-dir/report.txt");
    const std::string commentary = support::tempPath("cli-still-played.txt");
    const CliRun closed =
        runCli({side("harbour.xi"), other("upland.xi"), "/r=3", "/s=" + unopenable, "--commentary=" + commentary});
    EXPECT_NE(closed.status, 0);
    EXPECT_NE(closed.err.find("Failure opening output file." + unopenable), std::string::npos) << closed.err;
    EXPECT_GT(support::splitLines(support::readFile(commentary)).size(), 300u) << "the match is still played";
}
