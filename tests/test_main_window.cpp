// The control logic of the main window, driven through the fake window system.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "resources/strings.h"

using fake::Box;
using fake::Harness;
using support::Lcg;

namespace {

const std::string kEndOfInning = "End of Inning";

std::string tenPlayerFile()
{
    std::string text = "Short\n";
    for (int i = 0; i < 10; ++i)
        text += "S" + std::to_string(i) + " 400 100 500 " + (i == 4 ? "1" : "0") + " 1 300 100 0\n";
    return support::writeFile("short.xi", text);
}

std::string sideWithBowlers(const std::string& file, const std::string& name, int bowlers)
{
    std::string text = name + "\n";
    for (int i = 0; i < 11; ++i) {
        const bool keeper = i == 0;
        const bool bowls = !keeper && i >= 11 - bowlers;
        text += name.substr(0, 3) + std::to_string(i) + " 400 100 500 " + (keeper ? "1" : "0") + " " +
                (bowls ? "1" : "0") + " 300 100 0\n";
    }
    return support::writeFile(file, text);
}

}  // namespace

TEST(MainWindow, OpensWaitingForTeamsWithBothTimers)
{
    Harness h;
    h.settings.randomSeed = 0;
    MainWindow& w = h.open();
    EXPECT_EQ(w.teamsPreset(), 0);
    EXPECT_FALSE(h.platform.menu.at(cmd::PlayGame));
    EXPECT_TRUE(h.platform.menu.at(cmd::ChooseTeams));
    EXPECT_FALSE(h.platform.pauseVisible);
    ASSERT_EQ(h.platform.timersSet.size(), 2u);
    EXPECT_EQ(h.platform.timersSet[0], std::make_pair(1, 1100))
        << "the main timer starts at 1100 ms whatever the speed";
    EXPECT_EQ(h.platform.timersSet[1], std::make_pair(2, 100));
    EXPECT_EQ(w.seed(), 4242u) << "without a seed the generator is seeded from the clock";
    EXPECT_TRUE(h.platform.boxes.empty());
    h.tick(5);
    EXPECT_EQ(h.match().playing, 0);
}

TEST(MainWindow, PresetTeamsEnablePlayGameAndGreyChooseTeams)
{
    Harness h;
    h.presetTeams();
    MainWindow& w = h.open();
    EXPECT_EQ(w.teamsPreset(), 1);
    EXPECT_TRUE(h.platform.menu.at(cmd::PlayGame));
    EXPECT_FALSE(h.platform.menu.at(cmd::ChooseTeams));
    EXPECT_EQ(h.match().gameStarted, 0) << "without autoplay play waits for the user";

    Harness missing;
    missing.presetTeams(support::dataPath("harbour.xi"), support::tempPath("absent.xi"));
    EXPECT_EQ(missing.open().teamsPreset(), 0) << "both files must open";
}

TEST(MainWindow, CaptionAnimationFrames)
{
    Harness h;
    h.open();
    h.titleTick();
    ASSERT_EQ(h.platform.captions.size(), 1u);
    EXPECT_EQ(h.platform.captions[0], " |||" + std::string(31, ' ') + ".");
    h.titleTick(31);
    EXPECT_EQ(h.platform.captions.back(), " |||.");
    h.titleTick();
    Lcg model(77);
    EXPECT_EQ(h.platform.captions.back(), model.below(2) == 1 ? "||./" : "\\.||") << "the 33rd tick breaks the wicket";
    EXPECT_EQ(h.platform.captions.size(), 33u);
    h.titleTick(16);
    EXPECT_EQ(h.platform.captions.size(), 33u) << "the broken wicket stays for 16 ticks";
    EXPECT_EQ(h.window->titleFrame(), 0);
    h.titleTick();
    EXPECT_EQ(h.platform.captions.back(), " |||" + std::string(31, ' ') + ".");
}

TEST(MainWindow, WithoutAnimationTheCaptionIsNeverTouched)
{
    Harness h;
    h.settings.titleAnimation = 0;
    h.open();
    ASSERT_EQ(h.platform.timersSet.size(), 1u);
    h.titleTick(60);
    EXPECT_TRUE(h.platform.captions.empty());
    h.window->onDestroy();
    EXPECT_EQ(h.platform.timersKilled, std::vector<int>{1});
}

TEST(MainWindow, TimersThatCannotBeCreatedAreReported)
{
    Harness h;
    h.platform.refusedTimers = {1, 2};
    h.presetTeams();
    MainWindow& w = h.open();
    EXPECT_EQ(h.platform.boxTexts(),
              (std::vector<std::string>{"Cannot create Main Timer", "Cannot create Title Timer"}));
    EXPECT_EQ(h.platform.boxes[0].caption, "Pelmora");
    EXPECT_EQ(w.mainTimerId(), 0);
    h.window->onPlayGame();
    h.tick(5);
    EXPECT_EQ(h.currentDeliveries(), 0) << "no ball is played without a main timer";
}

TEST(MainWindow, ChooseTeamsLoadsBothSlotsAndTosses)
{
    for (std::uint32_t seed : {77u, 78u, 79u, 80u}) {
        Harness h;
        h.settings.randomSeed = static_cast<int>(seed);
        h.platform.teamFiles = {support::dataPath("harbour.xi"), support::dataPath("upland.xi")};
        h.open();
        h.window->onChooseTeams();
        Lcg model(seed);
        const int w = model.below(2), b = model.below(2);
        const char* names[2] = {"Harbour", "Upland"};
        ASSERT_EQ(h.platform.boxes.size(), 1u);
        EXPECT_EQ(h.platform.boxes[0].text, std::string(names[w]) + " won the toss. " + names[b] + " will bat first.");
        EXPECT_EQ(h.platform.boxes[0].caption, "TOSS");
        EXPECT_EQ(h.platform.boxes[0].icon, MessageIcon::Information);
        EXPECT_STREQ(h.match().teams[0].name(), names[b]) << "the side batting first is in slot 0";
        EXPECT_TRUE(h.platform.menu.at(cmd::PlayGame));
        EXPECT_TRUE(h.platform.menu.at(cmd::ChooseTeams)) << "teams may be chosen again";
        EXPECT_GT(h.platform.invalidations, 0);
    }
}

TEST(MainWindow, ChoosingTeamsAgainLoadsAgainAndTossesAgain)
{
    Harness h;
    h.platform.teamFiles = {support::dataPath("harbour.xi"), support::dataPath("upland.xi"),
                            support::dataPath("upland.xi"), support::dataPath("twin.xi")};
    h.open();
    h.window->onChooseTeams();
    h.window->onChooseTeams();
    EXPECT_EQ(h.platform.teamAsks, 4);
    EXPECT_EQ(h.platform.boxes.size(), 2u);
    const std::string a = h.match().teams[0].name(), b = h.match().teams[1].name();
    EXPECT_TRUE((a == "Upland" && b == "Twin") || (a == "Twin" && b == "Upland")) << a << " and " << b;
}

TEST(MainWindow, CancelledOrFailedChooseTeamsIsAbandonedSilently)
{
    Harness cancelled;
    cancelled.platform.teamFiles = {support::dataPath("harbour.xi"), std::nullopt};
    cancelled.open();
    cancelled.window->onChooseTeams();
    EXPECT_TRUE(cancelled.platform.boxes.empty());
    EXPECT_FALSE(cancelled.platform.menu.at(cmd::PlayGame));
    EXPECT_STREQ(cancelled.match().teams[0].name(), "Harbour") << "the first slot stays loaded";

    Harness failed;
    failed.platform.teamFiles = {tenPlayerFile(), support::dataPath("upland.xi")};
    failed.open();
    failed.window->onChooseTeams();
    EXPECT_TRUE(failed.platform.boxes.empty()) << "an interactive team file that fails is refused without a box";
    EXPECT_FALSE(failed.platform.menu.at(cmd::PlayGame));
    EXPECT_EQ(failed.platform.teamAsks, 1);
}

TEST(MainWindow, PlayGameAsksForTheReportAndPlaysWithoutOneWhenCancelled)
{
    Harness h;
    h.platform.teamFiles = {support::dataPath("harbour.xi"), support::dataPath("upland.xi")};
    h.open();
    h.window->onChooseTeams();
    h.window->onPlayGame();
    EXPECT_EQ(h.platform.reportAsks, 1);
    EXPECT_EQ(h.platform.boxes.back().text, "No output file specified. Will not write output to file.");
    EXPECT_EQ(h.match().outputFile, nullptr);
    EXPECT_EQ(h.match().gameStarted, 1);
    EXPECT_EQ(h.match().playing, 1);
    EXPECT_FALSE(h.platform.menu.at(cmd::PlayGame));
    EXPECT_FALSE(h.platform.menu.at(cmd::ChooseTeams));
    EXPECT_TRUE(h.platform.pauseVisible);
    EXPECT_EQ(h.currentDeliveries(), 0) << "the first ball waits for the next tick";
    h.tick();
    EXPECT_EQ(h.currentDeliveries(), 1);
    h.window->onPlayGame();
    EXPECT_EQ(h.platform.reportAsks, 1) << "one match per run";
}

TEST(MainWindow, PauseGoHoldsPlayAndReleasesIt)
{
    Harness h;
    h.presetTeams();
    h.settings.outputFileName = support::tempPath("pause.txt");
    h.open();
    h.window->onPlayGame();
    h.tick(3);
    EXPECT_EQ(h.currentDeliveries(), 3);
    h.window->onOK();
    EXPECT_EQ(h.match().hold, 1);
    h.tick(10);
    EXPECT_EQ(h.currentDeliveries(), 3);
    h.window->onOK();
    EXPECT_EQ(h.match().hold, 0);
    h.tick();
    EXPECT_EQ(h.currentDeliveries(), 4);
}

TEST(MainWindow, OptionsHoldPlayWhileOpenAndResumeAPausedGame)
{
    Harness h;
    h.presetTeams();
    h.settings.outputFileName = support::tempPath("options.txt");
    h.open();
    int enabledBefore = -1;
    h.platform.optionsDialog = [&](OptionsModel& m) {
        enabledBefore = m.gameTypeEnabled;
        return false;
    };
    h.window->onOptions();
    EXPECT_EQ(enabledBefore, 1) << "the match type may change before play";

    h.window->onPlayGame();
    h.tick(2);
    h.window->onOK();
    int heldDuring = -1, deliveriesDuring = -1, oneDayShown = -1, testShown = -1;
    h.platform.optionsDialog = [&](OptionsModel& m) {
        heldDuring = h.match().hold;
        h.tick(3);
        deliveriesDuring = h.currentDeliveries();
        enabledBefore = m.gameTypeEnabled;
        oneDayShown = m.oneDayChecked;
        testShown = m.testChecked;
        return false;
    };
    h.window->onOptions();
    EXPECT_EQ(heldDuring, 1);
    EXPECT_EQ(deliveriesDuring, 2) << "no ball while the dialog is open";
    EXPECT_EQ(enabledBefore, 0);
    EXPECT_EQ(oneDayShown + testShown, 0) << "both game type buttons unchecked once play has started";
    EXPECT_EQ(h.match().hold, 0) << "a paused game resumes when the dialog closes";
    h.tick();
    EXPECT_EQ(h.currentDeliveries(), 3);
}

TEST(MainWindow, SpeedChangedInOptionsRecreatesTheMainTimer)
{
    for (auto [speed, period] : {std::pair{20, 200}, std::pair{0, 10}, std::pair{100, 1000}}) {
        Harness h;
        h.open();
        h.platform.optionsDialog = [speed = speed](OptionsModel& m) {
            m.gameSpeed = speed;
            return true;
        };
        h.window->onOptions();
        ASSERT_EQ(h.platform.timersKilled, std::vector<int>{1}) << "speed " << speed;
        EXPECT_EQ(h.platform.timersSet.back(), std::make_pair(1, period)) << "speed " << speed;
        EXPECT_EQ(h.window->mainTimerId(), 1);
    }
    Harness same;
    same.open();
    same.platform.optionsDialog = [](OptionsModel&) { return true; };
    same.window->onOptions();
    EXPECT_TRUE(same.platform.timersKilled.empty()) << "an unchanged speed keeps the timer";
    EXPECT_EQ(same.platform.timersSet.size(), 2u);
}

TEST(MainWindow, DelayFromTheCommandLineTakesEffectAtTheFirstMainTick)
{
    Harness h;
    h.options.gameSpeed = 30;
    h.options.speedChanged = 1;
    h.open();
    EXPECT_EQ(h.platform.timersSet[0], std::make_pair(1, 1100));
    h.tick();
    EXPECT_EQ(h.platform.timersKilled, std::vector<int>{1});
    EXPECT_EQ(h.platform.timersSet.back(), std::make_pair(1, 300));
    EXPECT_EQ(h.match().options().speedChanged, 0);
    h.tick();
    EXPECT_EQ(h.platform.timersKilled.size(), 1u);
}

TEST(MainWindow, InteractiveMatchShowsEndBoxesAsksForEveryChoiceAndWritesTheReport)
{
    Harness h;
    h.presetTeams();
    const std::string report = support::tempPath("interactive.txt");
    h.settings.outputFileName = report;
    h.open();
    int ticksDuringChoice = 0, playedDuringChoice = 0;
    h.platform.chooser = [&](ChoosePlayerModel&) {
        const int before = h.currentDeliveries();
        h.tick();
        ++ticksDuringChoice;
        playedDuringChoice += h.currentDeliveries() != before;
    };
    int playedDuringEndBox = 0, heldDuringEndBox = 1;
    h.platform.duringBox = [&](const Box& b) {
        if (b.text != kEndOfInning) return;
        const int innings = h.match().currentInnings, before = h.currentDeliveries();
        heldDuringEndBox &= h.match().hold;
        h.tick(3);
        playedDuringEndBox += h.match().currentInnings != innings || h.currentDeliveries() != before;
    };
    h.window->onPlayGame();
    h.playToEnd();
    ASSERT_EQ(h.match().gameOver, 1);
    const auto texts = h.platform.boxTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(h.platform.boxes[0].caption, "TOSS");
    EXPECT_EQ(texts[1], kEndOfInning);
    EXPECT_EQ(texts[2], kEndOfInning);
    EXPECT_EQ(texts[3], "End of Game");
    EXPECT_FALSE(h.platform.quitCode) << "an interactive game leaves the window open";
    EXPECT_GT(ticksDuringChoice, 20);
    EXPECT_EQ(playedDuringChoice, 0) << "ticks during a choice dialog play nothing";
    EXPECT_EQ(playedDuringEndBox, 0) << "ticks while End of Inning is shown play nothing";
    EXPECT_EQ(heldDuringEndBox, 1);
    EXPECT_GE(h.platform.fullPaints, 2);
    EXPECT_GT(h.platform.hintPaints, 100);
    const auto lines = support::splitLines(support::readFile(report));
    ASSERT_FALSE(lines.empty()) << "the report is written after End of Game";
    EXPECT_EQ(lines.back(), h.match().resultLine());
    EXPECT_EQ(h.window->exitCode(), 0);

    h.window->onOK();
    EXPECT_EQ(h.match().hold, 1) << "after the game Pause/Go only toggles the hold";
    h.window->onOK();
    h.tick(5);
    EXPECT_EQ(h.match().gameOver, 1);
}

TEST(MainWindow, AutoplayPlaysWithoutBoxesAndQuitsWithZeroAfterTheReport)
{
    Harness h;
    h.presetTeams();
    h.settings.autoplay = 1;
    const std::string report = support::tempPath("autoplay.txt");
    h.settings.outputFileName = report;
    std::string reportAtQuit;
    h.platform.onQuit = [&] { reportAtQuit = support::readFile(report); };
    h.open();
    EXPECT_EQ(h.match().gameStarted, 1) << "autoplay with both files starts at once";
    h.playToEnd();
    ASSERT_TRUE(h.platform.quitCode);
    EXPECT_EQ(*h.platform.quitCode, 0);
    EXPECT_TRUE(h.platform.boxes.empty());
    EXPECT_EQ(h.platform.chooses, 0);
    const auto lines = support::splitLines(reportAtQuit);
    ASSERT_FALSE(lines.empty()) << "the report is complete when the quit is asked for";
    EXPECT_EQ(lines.back(), h.match().resultLine());
}

TEST(MainWindow, AutoplayWithoutReportNameStillAsksForTheFile)
{
    Harness h;
    h.presetTeams();
    h.settings.autoplay = 1;
    h.open();
    EXPECT_EQ(h.platform.reportAsks, 1);
    EXPECT_EQ(h.platform.boxTexts(),
              std::vector<std::string>{"No output file specified. Will not write output to file."});
    h.playToEnd();
    EXPECT_EQ(h.platform.quitCode.value_or(-1), 0);
}

TEST(MainWindow, SideThatCannotBowlAnInningsThroughStopsPlayBeforeTheReportIsOpened)
{
    const std::string four = sideWithBowlers("four.xi", "Fourfold", 4);
    const std::string report = support::tempPath("never-created.txt");
    {
        Harness h;
        h.presetTeams(support::dataPath("harbour.xi"), four);
        h.settings.autoplay = 1;
        h.settings.outputFileName = report;
        h.open();
        ASSERT_EQ(h.platform.boxes.size(), 1u);
        EXPECT_EQ(h.platform.boxes[0].text, "Fourfold" + std::string(loadString(str::CannotBowlThrough)));
        ASSERT_TRUE(h.platform.quitCode);
        EXPECT_NE(*h.platform.quitCode, 0);
        EXPECT_EQ(h.match().gameStarted, 0);
        EXPECT_FALSE(std::filesystem::exists(report)) << "no report file is created or emptied";
    }
    {
        Harness test;
        test.presetTeams(support::dataPath("harbour.xi"), four);
        test.settings.autoplay = 1;
        test.options.oneDay = 0;
        test.settings.outputFileName = support::tempPath("four-test.txt");
        test.open();
        EXPECT_TRUE(test.platform.boxes.empty()) << "four bowlers are enough for a Test";
        EXPECT_EQ(test.match().gameStarted, 1);
    }
    {
        Harness both;
        both.presetTeams(sideWithBowlers("one.xi", "Lonely", 1), sideWithBowlers("one2.xi", "Single", 1));
        both.settings.autoplay = 1;
        both.options.oneDay = 0;
        both.settings.outputFileName = report;
        both.open();
        ASSERT_EQ(both.platform.boxes.size(), 1u);
        EXPECT_EQ(both.platform.boxes[0].text,
                  std::string(both.match().teams[0].name()) + std::string(loadString(str::CannotBowlThrough)))
            << "when both sides fail the side batting first is named";
        EXPECT_NE(both.platform.quitCode.value_or(0), 0);
        EXPECT_FALSE(std::filesystem::exists(report));
    }
}

TEST(MainWindow, PresetTeamFileThatFailsToLoadStopsPlayWithItsName)
{
    const std::string bad = tenPlayerFile();
    const std::string report = support::tempPath("not-for-bad-team.txt");
    Harness h;
    h.presetTeams(support::dataPath("harbour.xi"), bad);
    h.settings.autoplay = 1;
    h.settings.outputFileName = report;
    h.open();
    ASSERT_FALSE(h.platform.boxes.empty());
    EXPECT_EQ(h.platform.boxes[0].text, "Failure loading team file." + bad);
    EXPECT_NE(h.platform.quitCode.value_or(0), 0);
    EXPECT_EQ(h.match().gameStarted, 0);
    EXPECT_FALSE(std::filesystem::exists(report));

    Harness dir;
    const std::string folder = support::scratchDir().string();
    dir.presetTeams(folder, support::dataPath("upland.xi"));
    dir.settings.autoplay = 1;
    dir.open();
    ASSERT_FALSE(dir.platform.boxes.empty());
    EXPECT_EQ(dir.platform.boxes[0].text, "Failure loading team file." + folder);
    EXPECT_NE(dir.platform.quitCode.value_or(0), 0);

    Harness interactive;
    interactive.presetTeams(support::dataPath("harbour.xi"), bad);
    interactive.open();
    interactive.window->onPlayGame();
    EXPECT_EQ(interactive.platform.boxTexts(), std::vector<std::string>{"Failure loading team file." + bad});
    EXPECT_EQ(interactive.match().gameStarted, 0);
    EXPECT_FALSE(interactive.platform.quitCode);
    EXPECT_NE(interactive.window->exitCode(), 0);
}

TEST(MainWindow, ReportThatCannotBeWrittenIsReportedAndTheExitStatusIsNonZero)
{
    Harness h;
    h.presetTeams();
    h.settings.autoplay = 1;
    h.settings.outputFileName = "/dev/full";
    h.open();
    h.playToEnd();
    EXPECT_EQ(h.match().gameOver, 1);
    EXPECT_EQ(h.platform.boxTexts(), std::vector<std::string>{"Failure writing output file./dev/full"});
    EXPECT_NE(h.platform.quitCode.value_or(0), 0);
}

TEST(MainWindow, ReportThatCannotBeOpenedLeavesTheMatchPlayedButFailed)
{
    Harness h;
    h.presetTeams();
    h.settings.autoplay = 1;
    const std::string name = support::tempPath("no-such-dir/report.txt");
    h.settings.outputFileName = name;
    h.open();
    EXPECT_EQ(h.platform.boxTexts(), std::vector<std::string>{"Failure opening output file." + name});
    EXPECT_EQ(h.match().gameStarted, 1) << "play starts without a report";
    h.playToEnd();
    EXPECT_EQ(h.match().gameOver, 1);
    EXPECT_NE(h.platform.quitCode.value_or(0), 0);
}

TEST(MainWindow, ClosingDuringPlayLeavesAnEmptyReport)
{
    Harness h;
    h.presetTeams();
    h.settings.autoplay = 1;
    const std::string report = support::tempPath("closed-early.txt");
    h.settings.outputFileName = report;
    h.open();
    h.tick(50);
    ASSERT_EQ(h.currentDeliveries(), 50);
    h.window->onDestroy();
    EXPECT_TRUE(std::filesystem::exists(report));
    EXPECT_EQ(std::filesystem::file_size(report), 0u);
    EXPECT_EQ(h.match().outputFile, nullptr);
    EXPECT_EQ(h.platform.timersKilled, (std::vector<int>{1, 2}));
    h.tick(5);
    EXPECT_EQ(h.currentDeliveries(), 50);
    EXPECT_FALSE(h.platform.quitCode);
}

TEST(MainWindow, DeclaringInATestClosesTheInningsWithoutADelivery)
{
    Harness h;
    h.presetTeams();
    h.options.oneDay = 0;
    h.settings.outputFileName = support::tempPath("declared.txt");
    h.open();
    int allowed = -1;
    h.platform.chooser = [&](ChoosePlayerModel& m) {
        if (!m.chooseBatsman && h.match().currentInnings == 0) {
            allowed = m.allowDeclare;
            m.declare();
        }
    };
    h.window->onPlayGame();
    h.tick();
    const Innings& first = h.match().innings[0];
    EXPECT_EQ(allowed, 1);
    EXPECT_EQ(first.closed, 1);
    EXPECT_EQ(first.deliveries, 0);
    EXPECT_EQ(first.batsmenIn, 2) << "the openers chosen before the declaration stay recorded";
    EXPECT_EQ(h.match().currentInnings, 1);
    EXPECT_EQ(h.platform.boxTexts().back(), kEndOfInning);
}

TEST(MainWindow, OneDayMatchOffersNoDeclarationAndIgnoresOne)
{
    Harness h;
    h.presetTeams();
    h.settings.outputFileName = support::tempPath("nodeclare.txt");
    h.open();
    int allowed = -1;
    h.platform.chooser = [&](ChoosePlayerModel& m) {
        allowed = m.allowDeclare;
        m.declared = 1;
    };
    h.window->onPlayGame();
    h.tick();
    EXPECT_EQ(allowed, 0);
    EXPECT_EQ(h.match().innings[0].closed, 0);
    EXPECT_EQ(h.match().innings[0].deliveries, 1);
}

TEST(MainWindow, OptionsFromTheChoiceDialogCannotChangeTheMatchType)
{
    Harness h;
    h.presetTeams();
    h.settings.outputFileName = support::tempPath("choice-options.txt");
    h.open();
    int enabled = -1, oneDayShown = -1;
    h.platform.chooser = [&](ChoosePlayerModel& m) {
        if (enabled == -1) m.openOptions();
    };
    h.platform.optionsDialog = [&](OptionsModel& m) {
        enabled = m.gameTypeEnabled;
        oneDayShown = m.oneDayChecked;
        m.gameSpeed = 10;
        return true;
    };
    h.window->onPlayGame();
    h.tick();
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(oneDayShown, 0);
    EXPECT_EQ(h.match().options().speedChanged, 1) << "the new speed reaches the timer through speedChanged";
    const auto killedBefore = h.platform.timersKilled.size();
    h.tick();
    EXPECT_EQ(h.platform.timersKilled.size(), killedBefore + 1);
    EXPECT_EQ(h.platform.timersSet.back(), std::make_pair(1, 100));
}
