// The console runner, run as a program: what tests/test_failures.cpp leaves
// out (usage, a missing side, where the report goes, the seed line).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>

#include "app/command_line.h"
#include "resources/strings.h"
#include "support.h"

namespace {

using support::CliRun;
using support::runCli;

const std::string kHarbour = "/t1=" + support::dataPath("harbour.xi");
const std::string kUpland = "/t2=" + support::dataPath("upland.xi");

}  // namespace

TEST(Cli, UsageOptionsPrintTheUsageAndSucceedWithoutPlaying)
{
    const std::string usage = usageText("pelmora-cli") + "\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"/?"}, {"-?"}, {kHarbour, "/?", kUpland}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 0) << args[0];
        EXPECT_EQ(run.out, usage) << args[0];
        EXPECT_EQ(run.err, "") << args[0];
    }
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, usage.size()), usage);
    const std::string manPage = support::readFile(std::string(PELMORA_SOURCE_DIR) + "/docs/man/pelmora-cli.6");
    EXPECT_EQ(support::longOptionsIn(help.out, false), support::longOptionsIn(manPage, true))
        << "the man page documents every option --help lists, and no other";
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
    ASSERT_TRUE(std::regex_match(first.err, m, std::regex("seed: (-?[1-9][0-9]*)\n"))) << first.err;
    const std::string report = support::tempPath("cli-report.txt");
    const CliRun again = runCli({kHarbour, kUpland, "/r=" + m[1].str(), "/s=" + report});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out + again.err, "") << "no seed line when /r= gives one, no report when /s= names a file";
    EXPECT_EQ(support::readFile(report), first.out) << "the seed replays the match wherever its report goes";
    EXPECT_FALSE(first.out.empty());
}

// Outputs clashing in ways a single match allows (test_outputs.cpp has the
// team file as every output): every refusal leaves every input byte as it
// was and creates nothing.
TEST(Cli, OutputsThatWouldDestroyAnInputOrEachOtherAreRefused)
{
    const std::string folder = support::tempPath("clash");
    ASSERT_EQ(std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").c_str()), 0);
    const std::string north = support::writeFile("clash/n.xi", support::readFile(support::dataPath("harbour.xi")));
    const std::string south = support::writeFile("clash/s.xi", support::readFile(support::dataPath("upland.xi")));
    const std::string other = support::writeFile("clash/o.txt", "an earlier file\n");
    const std::string teams[] = {"/t1=" + north, "/t2=" + south};
    struct Case {
        const char* what;
        std::vector<std::string> outputs;
    } cases[] = {
        {"team file as commentary, named another way", {"--commentary=" + folder + "/../clash/s.xi"}},
        {"report and Cricsheet on one file", {"/s=" + other, "--cricsheet=" + other}},
        {"report and commentary on one new file", {"/s=" + folder + "/new.txt", "--commentary=" + folder + "/new.txt"}},
        {"commentary on standard output, which has the report", {"--commentary=/dev/stdout"}},
        {"Cricsheet on standard output, which has the report", {"--cricsheet=-"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args(std::begin(teams), std::end(teams));
        args.push_back("/r=3");
        args.insert(args.end(), c.outputs.begin(), c.outputs.end());
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << c.what;
        EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << c.what << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.what;
        EXPECT_EQ(support::readFile(north), support::readFile(support::dataPath("harbour.xi"))) << c.what;
        EXPECT_EQ(support::readFile(south), support::readFile(support::dataPath("upland.xi"))) << c.what;
        EXPECT_EQ(support::readFile(other), "an earlier file\n") << c.what;
        EXPECT_EQ(std::system(("test $(ls -A '" + folder + "' | wc -l) -eq 3").c_str()), 0)
            << c.what << ": a file was created";
    }
    // Standard output as an output is the stream already open: nothing is reopened or emptied.
    const std::string report = folder + "/report.txt";
    const CliRun split = runCli({teams[0], teams[1], "/r=3", "/s=" + report, "--commentary=-"});
    EXPECT_EQ(split.status, 0) << split.err;
    EXPECT_EQ(support::splitLines(split.out).size(),
              static_cast<std::size_t>(std::count(split.out.begin(), split.out.end(), '\n')));
    EXPECT_NE(support::readFile(report).find(std::string(loadString(str::Defeated))), std::string::npos);
}

// The charts come from a module loaded only for --charts, drawn offscreen and
// moved into the folder whole; a runner built without the window says it cannot.
TEST(Cli, ChartsAreDrawnByTheModuleOrRefusedWithAReason)
{
    const std::string folder = support::tempPath("charts");
    ASSERT_EQ(std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").c_str()), 0);
    const CliRun run = runCli({kHarbour, kUpland, "/r=3", "--charts=" + folder});
#ifdef PELMORA_CHARTS_MODULE
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* file : {"/worm.png", "/manhattan.png"})
        EXPECT_EQ(support::readFile(folder + file).substr(0, 4), "\x89PNG") << file;
    EXPECT_EQ(std::system(("test $(ls -A '" + folder + "' | wc -l) -eq 2").c_str()), 0) << "the scratch folder is left";
#else
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("this pelmora-cli cannot draw charts: "), std::string::npos) << run.err;
#endif
}

TEST(Cli, TeamFilesMayBePipesAndAreReadOnce)
{
    const std::string file = support::dataPath("harbour.xi"), other = support::dataPath("upland.xi");
    const CliRun plain = runCli({"/t1=" + file, "/t2=" + other, "/r=9"});
    const std::string fifo = support::tempPath("side.fifo");
    ASSERT_EQ(std::system(("rm -f '" + fifo + "' && mkfifo '" + fifo + "'").c_str()), 0);
    const std::string out = support::tempPath("pipe.out");
    const std::string cli = std::string("'") + PELMORA_CLI + "'";
    const std::string commands[] = {
        "cat '" + file + "' | " + cli + " /t1=/dev/stdin '/t2=" + other + "' /r=9 >'" + out + "'",
        "(cat '" + file + "' >'" + fifo + "' &); " + cli + " '/t1=" + fifo + "' '/t2=" + other + "' /r=9 >'" + out +
            "'",
        "cat '" + file + "' | " + cli + " /t1=/dev/stdin '/t2=" + other + "' /r=9 --matches=2 >'" + out + "'",
    };
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(std::system(commands[i].c_str()), 0) << commands[i];
        EXPECT_EQ(support::readFile(out), plain.out) << commands[i];
    }
    EXPECT_EQ(std::system(commands[2].c_str()), 0);
    EXPECT_NE(support::readFile(out).find("2 one-day matches"), std::string::npos);
}

// A Latin-1 name and one with a terminal escape, through the report and the
// Cricsheet export: valid UTF-8, no control characters, columns by characters.
TEST(Cli, NamesOfAnyEncodingReachEveryOutputAsCleanUtf8)
{
    std::string side = support::readFile(support::dataPath("harbour.xi"));
    side.replace(side.find("Abbot"), 5, "M\xFC\x1B[2Jller");
    const std::string file = support::writeFile("latin1.xi", side);
    const std::string json = support::tempPath("latin1.json"), report = support::tempPath("latin1.txt");
    const CliRun run =
        runCli({"/t1=" + file, "/t2=" + support::dataPath("upland.xi"), "/r=4", "/s=" + report, "--cricsheet=" + json});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string name = "M\xC3\xBC?[2Jller";
    const std::string text = support::readFile(report);
    EXPECT_EQ(text.find('\x1B'), std::string::npos);
    const std::size_t at = text.find(name + " ");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.substr(at + name.size(), 16 - 10), std::string(6, ' ')) << "padded to 16 characters, not bytes";
    EXPECT_NE(support::readFile(json).find("\"" + name + "\""), std::string::npos);
}

TEST(Cli, SeedsReplayAndUnknownOptionsAreRefused)
{
    const std::string teams[] = {"/t1=" + support::dataPath("harbour.xi"), "/t2=" + support::dataPath("upland.xi")};
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{teams[0], teams[1], "--matches=3", "/r=2147483645"}, 0, ""},
        {{teams[0], teams[1], "--matches=3", "/r=2147483646"}, 2, "go past 2147483647"},
        {{teams[0], teams[1], "--matches=3", "/r=-2"}, 2, "reach 0"},
        {{teams[0], teams[1], "--matches=3", "/r=-3"}, 0, ""},
        {{teams[0], teams[1], "--matchez=5"}, 2, "unknown option --matchez=5"},
        {{"--bogus"}, 2, "unknown option --bogus"},
        {{teams[0], teams[1], "--matches=2", "--commentary=x.txt"}, 2, "does not go with --commentary="},
        {{"--matches=5", "/?"}, 0, ""},
        {{teams[0], teams[1], "--overs=51"}, 2, "--overs needs a whole number from 1 to 50"},
        {{teams[0], teams[1], "--overs=20", "/t"}, 2, "does not go with /t"},
        {{teams[0], teams[1], "--shard=1/2"}, 2, "needs --matches"},
        {{teams[0], "--tournament=x.json"}, 2, "does not go with /t1="},
        {{"--merge", "--matches=2"}, 2, "does not go with --matches="},
        {{"--version"}, 0, ""},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back() << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    EXPECT_NE(runCli({teams[0], teams[1], "--matches=3", "/r=-3"}).out.find("seeds -3..-1"), std::string::npos);
}

// A limited-overs match of 50 overs is /o's match; parts of a forecast merge
// into the summary of one run, byte for byte, for a batch and a tournament.
TEST(Cli, FiftyOversIsTheOneDayMatchAndShardsMergeIntoTheSingleRun)
{
    EXPECT_EQ(runCli({kHarbour, kUpland, "/r=9", "/o"}).out, runCli({kHarbour, kUpland, "/r=9", "--overs=50"}).out);
    EXPECT_NE(runCli({kHarbour, kUpland, "/r=9", "--overs=20"}).out, runCli({kHarbour, kUpland, "/r=9"}).out);

    const std::string cup =
        support::writeFile("merge-cup.json", "{\"sides\": [\"" + support::dataPath("harbour.xi") + "\", \"" +
                                                 support::dataPath("upland.xi") + "\", \"" +
                                                 std::string(PELMORA_SOURCE_DIR) + "/samples/kestrels.xi\", \"" +
                                                 PELMORA_SOURCE_DIR + "/samples/harriers.xi\"], \"overs\": 5}");
    const std::vector<std::vector<std::string>> runs = {{kHarbour, kUpland, "/r=4", "--overs=20", "--matches=97"},
                                                        {"--tournament=" + cup, "/r=11", "--matches=23"}};
    for (const auto& args : runs) {
        for (const char* format : {"--format=table", "--format=json"}) {
            std::vector<std::string> single = args;
            single.push_back(format);
            const CliRun whole = runCli(single);
            ASSERT_EQ(whole.status, 0) << whole.err;
            std::vector<std::string> merge{"--merge", format};
            for (int part = 3; part >= 1; --part) {
                std::vector<std::string> shard = args;
                shard.push_back("--shard=" + std::to_string(part) + "/3");
                const CliRun run = runCli(shard);
                ASSERT_EQ(run.status, 0) << run.err;
                merge.push_back(support::writeFile("part" + std::to_string(part) + ".json", run.out));
            }
            EXPECT_EQ(runCli(merge).out, whole.out) << args[0];
            merge.pop_back();
            EXPECT_NE(runCli(merge).err.find("part 1 of 3 is missing"), std::string::npos);
        }
    }
}
