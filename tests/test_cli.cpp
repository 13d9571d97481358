// The console runner, run as a program: what tests/test_failures.cpp leaves
// out (usage, a missing side, where the report goes, the seed line).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
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
    const int raw = std::system((command + " >'" + out + "' 2>'" + err + "' </dev/null").c_str());
    return CliRun{(raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1, support::readFile(out),
                  support::readFile(err)};
}

const std::string kHarbour = "/t1=" + support::dataPath("harbour.xi");
const std::string kUpland = "/t2=" + support::dataPath("upland.xi");

}  // namespace

TEST(Cli, UsageOptionsPrintTheUsageAndSucceedWithoutPlaying)
{
    const std::string usage = std::string(loadString(str::Usage)) + "\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"/?"}, {"-?"}, {kHarbour, "/?", kUpland}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 0) << args[0];
        EXPECT_EQ(run.out, usage) << args[0];
        EXPECT_EQ(run.err, "") << args[0];
    }
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, usage.size()), usage);
}

TEST(Cli, MissingSecondTeamFileExitsWithTwo)
{
    const CliRun run = runCli({kHarbour, "/r=5"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("/t2="), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(Cli, WithoutASeedTheSeedIsPrintedAndTheReportGoesToStandardOutput)
{
    const CliRun first = runCli({kHarbour, kUpland});
    EXPECT_EQ(first.status, 0);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(first.err, m, std::regex("seed: ([0-9]+)\n"))) << first.err;
    const std::string report = support::tempPath("cli-report.txt");
    const CliRun again = runCli({kHarbour, kUpland, "/r=" + m[1].str(), "/s=" + report});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out + again.err, "") << "no seed line when /r= gives one, no report when /s= names a file";
    EXPECT_EQ(support::readFile(report), first.out) << "the seed replays the match wherever its report goes";
    EXPECT_FALSE(first.out.empty());
}
