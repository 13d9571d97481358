// The command line: option table, splitting, value reading and the usage text.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/application.h"
#include "app/command_line.h"
#include "resources/strings.h"
#include "support.h"

namespace {

struct Parsed {
    CommandLineSettings settings;
    GameOptions options;
    int usage = 0;
};

Parsed parse(const std::string& line)
{
    Parsed p;
    p.usage = parseCommandLine(line, p.settings, p.options);
    if (p.settings.bowlerListFile) {
        std::fclose(p.settings.bowlerListFile);
        p.settings.bowlerListFile = nullptr;
    }
    return p;
}

}  // namespace

TEST(CommandLine, EmptyLineGivesAllDefaults)
{
    Parsed p = parse("");
    EXPECT_EQ(p.usage, 0);
    EXPECT_EQ(p.settings.titleAnimation, 1);
    EXPECT_EQ(p.settings.autoplay, 0);
    EXPECT_FALSE(p.settings.outputFileName);
    EXPECT_FALSE(p.settings.team1File);
    EXPECT_FALSE(p.settings.team2File);
    EXPECT_EQ(p.settings.randomSeed, 0);
    EXPECT_EQ(p.options.oneDay, 1);
    EXPECT_EQ(p.options.gameSpeed, 50);
    EXPECT_EQ(p.options.speedChanged, 0);
    EXPECT_EQ(p.options.briefOutput, 1);
    EXPECT_EQ(p.options.pitchPace, 50);
    EXPECT_EQ(p.options.pitchSurface, 50);
    EXPECT_EQ(p.options.wicketDifficulty, 50);
    EXPECT_EQ(p.options.outfield, 50);
}

TEST(CommandLine, DelayWithColonAsTheUsageShowsItChangesNothing)
{
    Parsed p = parse("/d:500");
    EXPECT_EQ(p.options.gameSpeed, 50);
    EXPECT_EQ(p.options.speedChanged, 0);
}

TEST(CommandLine, DelayIsReadInTenthsAndOutOfRangeGivesTheFastestSpeed)
{
    struct Case {
        const char* token;
        int speed;
    } cases[] = {
        {"/d=500", 50}, {"/d=5", 0},   {"/d=2000", 0}, {"/d=1009", 100}, {"/d=1010", 0},
        {"/d=-9", 0},   {"/d=-10", 0}, {"/d=", 0},     {"/d=abc", 0},    {"/d=120x", 12},
    };
    for (const Case& c : cases) {
        Parsed p = parse(c.token);
        EXPECT_EQ(p.options.gameSpeed, c.speed) << c.token;
        EXPECT_EQ(p.options.speedChanged, 1) << c.token << " must ask for the timer to be re-created";
    }
    Parsed none = parse("/d");
    EXPECT_EQ(none.options.speedChanged, 0) << "/d without = must do nothing";
}

TEST(CommandLine, SeedAndDelayOutsideTheIntRangeSaturate)
{
    EXPECT_EQ(parse("/r=99999999999").settings.randomSeed, INT_MAX);
    EXPECT_EQ(parse("/r=-99999999999").settings.randomSeed, INT_MIN);
    EXPECT_EQ(parse("/r=2147483647").settings.randomSeed, INT_MAX);
    EXPECT_EQ(parse("/r=-2147483648").settings.randomSeed, INT_MIN);
    // INT_MAX / 10 and INT_MIN / 10 both lie outside 0..100.
    Parsed big = parse("/d=99999999999");
    EXPECT_EQ(big.options.gameSpeed, 0);
    EXPECT_EQ(big.options.speedChanged, 1);
    EXPECT_EQ(parse("/d=-99999999999").options.gameSpeed, 0);
}

TEST(CommandLine, SeedReadsLikeAtoi)
{
    EXPECT_EQ(parse("/r=12345").settings.randomSeed, 12345);
    EXPECT_EQ(parse("/r=-7").settings.randomSeed, -7);
    EXPECT_EQ(parse("/r=1").settings.randomSeed, 1);
    EXPECT_EQ(parse("/r=42abc").settings.randomSeed, 42);
    EXPECT_EQ(parse("/r=abc").settings.randomSeed, 0);
    EXPECT_EQ(parse("/r=").settings.randomSeed, 0);
    EXPECT_EQ(parse("/r=5 /r").settings.randomSeed, 5) << "/r without = must leave the seed alone";
    EXPECT_EQ(saturatingAtoi("  +17"), 17);
    EXPECT_EQ(saturatingAtoi("- 5"), 0);
}

TEST(CommandLine, TeamOptionsNeedAnEqualsSignAndOtherTLettersSelectATest)
{
    Parsed t1 = parse("/t1");
    EXPECT_FALSE(t1.settings.team1File);
    EXPECT_EQ(t1.options.oneDay, 1) << "/t1 without = must not select a Test match";
    EXPECT_EQ(parse("/t2").options.oneDay, 1);
    EXPECT_EQ(parse("/t").options.oneDay, 0);
    EXPECT_EQ(parse("/tx").options.oneDay, 0);
    EXPECT_EQ(parse("/test").options.oneDay, 0);

    Parsed empty = parse("/t1= /t2= /s=");
    EXPECT_FALSE(empty.settings.team1File);
    EXPECT_FALSE(empty.settings.team2File);
    EXPECT_FALSE(empty.settings.outputFileName);
    EXPECT_EQ(empty.options.oneDay, 1);

    Parsed named = parse("/t1=a.xi /t2=b.xi /s=out=1.txt");
    EXPECT_EQ(named.settings.team1File.value_or(""), "a.xi");
    EXPECT_EQ(named.settings.team2File.value_or(""), "b.xi");
    EXPECT_EQ(named.settings.outputFileName.value_or(""), "out=1.txt") << "the value is everything after the first =";
}

TEST(CommandLine, DashWorksLikeSlashAndKeysAreCaseSensitive)
{
    EXPECT_EQ(parse("/t -o").options.oneDay, 1);
    EXPECT_EQ(parse("/t /O").options.oneDay, 0);
    EXPECT_EQ(parse("-t").options.oneDay, 0);
    EXPECT_EQ(parse("-l").options.briefOutput, 0);
    EXPECT_EQ(parse("/L").options.briefOutput, 1);
    EXPECT_EQ(parse("-a").settings.autoplay, 1);
    EXPECT_EQ(parse("t1=a.xi").settings.team1File.has_value(), false) << "a token without / or - is ignored";
}

TEST(CommandLine, OnlyTheExactNtaTokenTurnsTheAnimationOff)
{
    EXPECT_EQ(parse("/nta").settings.titleAnimation, 0);
    EXPECT_EQ(parse("-nta").settings.titleAnimation, 0);
    EXPECT_EQ(parse("/ntax").settings.titleAnimation, 1);
    EXPECT_EQ(parse("/NTA").settings.titleAnimation, 1);
    EXPECT_EQ(parse("/nt").settings.titleAnimation, 1);
    EXPECT_EQ(parse("/").settings.titleAnimation, 1);
}

TEST(CommandLine, AutoplayWithAMissingBowlerListStillPlaysUnattended)
{
    CommandLineSettings settings;
    GameOptions options;
    parseCommandLine("/a=" + support::tempPath("missing.txt"), settings, options);
    EXPECT_EQ(settings.autoplay, 1);
    EXPECT_EQ(settings.bowlerListFile, nullptr);

    const std::string existing = support::writeFile("bowlers.txt", "anything\n");
    CommandLineSettings withList;
    parseCommandLine("/a=" + existing, withList, options);
    EXPECT_EQ(withList.autoplay, 1);
    ASSERT_NE(withList.bowlerListFile, nullptr) << "an existing bowler list file is opened and kept";
    std::fclose(withList.bowlerListFile);
}

TEST(CommandLine, UsageStopsAtOnceAndEarlierOptionsStand)
{
    Parsed p = parse("/o /? /t");
    EXPECT_EQ(p.usage, 1);
    EXPECT_EQ(p.options.oneDay, 1) << "the /t after /? must never be looked at";
    Parsed before = parse("/t /l /?");
    EXPECT_EQ(before.usage, 1);
    EXPECT_EQ(before.options.oneDay, 0);
    EXPECT_EQ(before.options.briefOutput, 0);
    EXPECT_EQ(parse("-?").usage, 1);
}

TEST(CommandLine, TokensSplitAtBlanksCommasTabsAndNewlines)
{
    Parsed p = parse("/t1=a.xi,/t2=b.xi");
    EXPECT_EQ(p.settings.team1File.value_or(""), "a.xi");
    EXPECT_EQ(p.settings.team2File.value_or(""), "b.xi");
    Parsed q = parse(",,\t/t\n\n/s=r.txt ,/nta,");
    EXPECT_EQ(q.options.oneDay, 0);
    EXPECT_EQ(q.settings.outputFileName.value_or(""), "r.txt");
    EXPECT_EQ(q.settings.titleAnimation, 0);
}

TEST(CommandLine, LaterTokensOverrideEarlierOnes)
{
    EXPECT_EQ(parse("/t /o").options.oneDay, 1);
    EXPECT_EQ(parse("/o /t").options.oneDay, 0);
    EXPECT_EQ(parse("/s=a.txt /s=b.txt").settings.outputFileName.value_or(""), "b.txt");
    EXPECT_EQ(parse("/d=300 /d=700").options.gameSpeed, 70);
}

TEST(UsageText, IsExactlyTheFifteenLines)
{
    const std::string expected =
        "Usage\n"
        "Pelmora [option] [option] ...\n"
        "options :\n"
        "\n"
        "/a[=FileName] : AutoPlay. Optional Bowler List FileName\n"
        "/nta : No Title Animation\n"
        "/t : Test Match\n"
        "/o : One Day Match(default)\n"
        "/t1=FileName : Team 1 FileName\n"
        "/t2=FileName : Team 2 FileName\n"
        "/s=FileName : Output File Name\n"
        "/d:Delay : Milliseconds to wait between deliveries\n"
        "/l : Long Output\n"
        "/r=Number : Random number seed : positive integer > 1\n"
        "/? : Usage";
    EXPECT_EQ(std::string(loadString(str::Usage)), expected);
    EXPECT_EQ(std::string(loadString(str::AppName)), "Pelmora");
}

namespace {

struct RecordingAppPlatform : AppPlatform {
    int usageShown = 0;
    int windowsRun = 0;
    std::string text, caption;
    void showUsage(const std::string& t, const std::string& c) override
    {
        ++usageShown;
        text = t;
        caption = c;
    }
    int runMainWindow(Application&) override
    {
        ++windowsRun;
        return 3;
    }
};

}  // namespace

TEST(Application, UsageShowsTheBoxAndNeverOpensTheWindow)
{
    RecordingAppPlatform platform;
    Application app;
    EXPECT_EQ(app.initInstance("/o /? /t", platform), 0);
    EXPECT_EQ(platform.usageShown, 1);
    EXPECT_EQ(platform.windowsRun, 0);
    EXPECT_EQ(platform.text, std::string(loadString(str::Usage)));
    EXPECT_EQ(platform.caption, "Pelmora");
}

TEST(Application, WithoutUsageTheWindowRunsAndItsStatusIsTheProgramsStatus)
{
    RecordingAppPlatform platform;
    Application app;
    EXPECT_EQ(app.initInstance("/t /d=200", platform), 3);
    EXPECT_EQ(platform.windowsRun, 1);
    EXPECT_EQ(platform.usageShown, 0);
    EXPECT_EQ(app.options.oneDay, 0);
    EXPECT_EQ(app.options.gameSpeed, 20);
}

TEST(Application, ExitClosesTheBowlerListAndForgetsTheNames)
{
    const std::string list = support::writeFile("list.txt", "x\n");
    RecordingAppPlatform platform;
    Application app;
    app.initInstance("/a=" + list + " /t1=a.xi /t2=b.xi /s=r.txt", platform);
    EXPECT_NE(app.settings.bowlerListFile, nullptr);
    app.exitInstance();
    EXPECT_EQ(app.settings.bowlerListFile, nullptr);
    EXPECT_FALSE(app.settings.team1File);
    EXPECT_FALSE(app.settings.team2File);
    EXPECT_FALSE(app.settings.outputFileName);
}

TEST(Application, ArgumentsAreJoinedWithBlanksWithoutTheProgramName)
{
    char a0[] = "pelmora", a1[] = "/t1=a.xi", a2[] = "/r=5";
    char* argv[] = {a0, a1, a2};
    EXPECT_EQ(Application::joinArguments(3, argv), "/t1=a.xi /r=5");
    EXPECT_EQ(Application::joinArguments(1, argv), "");
}
