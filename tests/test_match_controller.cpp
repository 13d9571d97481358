// The control logic of the main window, driven through the fake window system.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/seed.h"
#include "fake_platform.h"
#include "resources/strings.h"

using fake::Harness;
using support::tempPath;
using Texts = std::vector<std::string>;

namespace {

const std::string kEndOfInning = "End of Inning";
const std::string kNoReport = "No output file specified. Will not write output to file.";

// A side with the keeper first and the last `bowlers` of eleven players bowling.
std::string sideFile(const std::string& name, int bowlers, int players = 11)
{
    std::string text = name + "\n";
    for (int i = 0; i < players; ++i)
        text += name.substr(0, 3) + std::to_string(i) + " 400 100 500 " + (i == 0 ? "1" : "0") +
                (i > 0 && i >= 11 - bowlers ? " 1" : " 0") + " 300 100 0\n";
    return support::writeFile(name + ".xi", text);
}

}  // namespace

TEST(MatchController, MenusFollowTheStateOfPlayAndChooseTeamsTossesEachTime)
{
    Harness preset;
    preset.preset().open();
    EXPECT_EQ(preset.platform.controls(), "PlayGame ");
    EXPECT_EQ(preset.match().gameStarted, 0) << "without autoplay play waits for the user";

    Harness h;
    h.options.oneDay = 0;  // Twin has bowlers enough only for a Test
    h.platform.teamFiles = {support::dataPath("harbour.xi"), support::dataPath("upland.xi"),
                            support::dataPath("upland.xi"), support::dataPath("twin.xi")};
    h.open();
    EXPECT_EQ(h.platform.controls(), "ChooseTeams ");
    EXPECT_EQ(h.platform.timersSet, (std::vector<std::pair<int, int>>{{1, 1100}, {2, 100}}))
        << "the main timer starts at 1100 ms whatever the speed";
    h.tick(5);
    EXPECT_EQ(h.match().playing, 0);

    h.window->chooseTeams();
    support::Lcg model(77);
    const int winner = model.below(2), first = model.below(2);
    const char* names[2] = {"Harbour", "Upland"};
    EXPECT_EQ(h.platform.boxes,
              Texts{std::string(names[winner]) + " won the toss. " + names[first] + " will bat first."});
    EXPECT_EQ(h.platform.captions, Texts{"TOSS"});
    EXPECT_STREQ(h.match().teams[0].name(), names[first]) << "the side batting first is in slot 0";
    EXPECT_EQ(h.platform.controls(), "ChooseTeams PlayGame ") << "teams may be chosen again";
    h.window->chooseTeams();
    EXPECT_EQ(h.platform.boxes.size(), 2u) << "a second choice loads both sides and tosses again";
    EXPECT_TRUE(std::string(h.match().teams[0].name()) == "Twin" || std::string(h.match().teams[1].name()) == "Twin");

    h.window->playGame();
    EXPECT_EQ(h.platform.boxes.back(), kNoReport) << "the report file chooser was cancelled";
    EXPECT_EQ(h.platform.controls(), "Pause/Go");
    EXPECT_EQ(h.currentDeliveries(), 0) << "the first ball waits for the next tick";
    h.tick();
    EXPECT_EQ(h.currentDeliveries(), 1);
    h.window->playGame();
    EXPECT_EQ(h.platform.reportAsks, 1) << "one match per run";
}

TEST(MatchController, CancelledOrFailedChooseTeamsIsAbandonedSilently)
{
    for (auto second : {std::optional<std::string>(), std::optional<std::string>(sideFile("Short", 5, 10))}) {
        Harness h;
        h.platform.teamFiles = {support::dataPath("harbour.xi"), second};
        h.open();
        h.window->chooseTeams();
        EXPECT_EQ(h.platform.boxes, Texts{}) << second.value_or("cancelled");
        EXPECT_EQ(h.platform.controls(), "ChooseTeams ");
    }
}

TEST(MatchController, PauseGoAndTheOptionsDialogHoldPlayAndOptionsResumeAPausedGame)
{
    Harness h;
    h.preset(tempPath("pause.txt")).open();
    h.window->playGame();
    h.tick(2);
    h.window->togglePause();
    h.tick(10);
    EXPECT_EQ(h.currentDeliveries(), 2) << "no ball while paused";
    int heldDuring = -1, deliveriesDuring = -1, gameType = -1;
    h.platform.optionsDialog = [&](OptionsModel& m) {
        heldDuring = h.window->held();
        h.tick(3);
        deliveriesDuring = h.currentDeliveries();
        gameType = m.gameTypeEnabled + m.oneDayChecked + m.testChecked;
        return false;
    };
    h.window->showOptions();
    EXPECT_EQ(heldDuring, 1);
    EXPECT_EQ(deliveriesDuring, 2) << "no ball while the dialog is open";
    EXPECT_EQ(gameType, 0) << "once play has started the game type buttons are disabled and unchecked";
    EXPECT_FALSE(h.window->held()) << "a paused game resumes when the dialog closes";
    h.tick();
    h.window->togglePause();
    h.window->togglePause();
    h.tick();
    EXPECT_EQ(h.currentDeliveries(), 4) << "Pause/Go twice lets play go on";
}

TEST(MatchController, SpeedReachesTheMainTimerWhenItIsRecreated)
{
    Harness h;  // /d=300 on the command line takes effect at the first main tick
    h.options.gameSpeed = 30;
    h.options.speedChanged = 1;
    h.open();
    h.tick(2);
    EXPECT_EQ(h.platform.timersKilled, std::vector<int>{1});
    EXPECT_EQ(h.platform.timersSet.back(), std::make_pair(1, 300));
    h.platform.optionsDialog = [](OptionsModel&) { return true; };
    h.window->showOptions();
    EXPECT_EQ(h.platform.timersSet.size(), 3u) << "an unchanged speed keeps the timer";
}

TEST(MatchController, InteractiveMatchShowsEndBoxesAsksForEveryChoiceAndWritesTheReport)
{
    Harness h;
    const std::string report = tempPath("interactive.txt");
    h.preset(report).open();
    int ticksDuringChoice = 0, playedDuringChoice = 0, playedDuringEndBox = 0;
    h.platform.chooser = [&](ChoosePlayerModel&) {
        const int before = h.currentDeliveries();
        h.tick();
        ++ticksDuringChoice;
        playedDuringChoice += h.currentDeliveries() != before;
    };
    h.platform.duringBox = [&](const std::string& text) {
        if (text != kEndOfInning) return;
        const int innings = h.match().currentInnings, before = h.currentDeliveries();
        h.tick(3);
        playedDuringEndBox += h.match().currentInnings != innings || h.currentDeliveries() != before;
    };
    h.window->playGame();
    h.playToEnd();
    ASSERT_EQ(h.match().gameOver, 1);
    EXPECT_EQ(h.platform.boxes, (Texts{h.platform.boxes[0], kEndOfInning, kEndOfInning, "End of Game"}));
    EXPECT_EQ(h.platform.captions[0], "TOSS") << "Play Game loads the preset sides and tosses";
    EXPECT_FALSE(h.platform.quitCode) << "an interactive game leaves the window open";
    EXPECT_GT(ticksDuringChoice, 20);
    EXPECT_EQ(playedDuringChoice, 0) << "ticks during a choice dialog play nothing";
    EXPECT_EQ(playedDuringEndBox, 0) << "ticks while End of Inning is shown play nothing";
    const auto lines = support::splitLines(support::readFile(report));
    ASSERT_FALSE(lines.empty()) << "the report is written after End of Game";
    EXPECT_EQ(lines.back(), h.match().resultLine());
    EXPECT_EQ(h.window->exitCode(), 0);
    h.window->togglePause();
    EXPECT_TRUE(h.window->held()) << "after the game Pause/Go only toggles the hold";
}

TEST(MatchController, AutoplayPlaysWithoutBoxesAndQuitsWithZeroAfterTheReport)
{
    Harness h;
    const std::string report = tempPath("autoplay.txt");
    std::string reportAtQuit;
    h.platform.onQuit = [&] { reportAtQuit = support::readFile(report); };
    h.preset(report, 1).open();
    EXPECT_EQ(h.match().gameStarted, 1) << "autoplay with both files starts at once";
    h.playToEnd();
    EXPECT_EQ(h.platform.quitCode.value_or(-1), 0);
    EXPECT_EQ(h.platform.boxes, Texts{});
    EXPECT_EQ(h.platform.chooses, 0);
    const auto lines = support::splitLines(reportAtQuit);
    ASSERT_FALSE(lines.empty()) << "the report is complete when the quit is asked for";
    EXPECT_EQ(lines.back(), h.match().resultLine());

    Harness unnamed;
    unnamed.preset("", 1).open();
    EXPECT_EQ(unnamed.platform.boxes, Texts{kNoReport}) << "without /s= autoplay still asks for the report file";
    unnamed.playToEnd();
    EXPECT_EQ(unnamed.platform.quitCode.value_or(-1), 0);
}

TEST(MatchController, SideThatCannotBowlOrLoadStopsPlayBeforeTheReportIsOpened)
{
    const std::string four = sideFile("Fourfold", 4), bad = sideFile("Short", 5, 10), folder = tempPath(".");
    const std::string report = tempPath("never-created.txt"), cannot(loadString(str::CannotBowlThrough));
    struct Case {
        int oneDay;
        std::string first, second, box;
    } cases[] = {
        {1, "", four, "Fourfold" + cannot},
        {0, sideFile("Lonely", 1), sideFile("Single", 1), ""},  // both fail: the side batting first is named
        {1, "", bad, "Failure loading team file." + bad},
        {1, folder, "", "Failure loading team file." + folder},
    };
    for (const Case& c : cases) {
        Harness h;
        h.options.oneDay = c.oneDay;
        h.preset(report, 1, c.first, c.second).open();
        EXPECT_EQ(h.platform.boxes, Texts{c.box.empty() ? h.match().teams[0].name() + cannot : c.box});
        EXPECT_NE(h.platform.quitCode.value_or(0), 0) << c.box;
        EXPECT_EQ(h.match().gameStarted, 0) << c.box;
        EXPECT_FALSE(std::filesystem::exists(report)) << c.box << ": no report file is created or emptied";
    }
    Harness test;
    test.options.oneDay = 0;
    test.preset(tempPath("four-test.txt"), 1, "", four).open();
    EXPECT_EQ(test.match().gameStarted, 1) << "four bowlers are enough for a Test";

    Harness interactive;
    interactive.preset("", 0, "", bad).open();
    interactive.window->playGame();
    EXPECT_EQ(interactive.platform.boxes, Texts{"Failure loading team file." + bad});
    EXPECT_EQ(interactive.match().gameStarted, 0);
    EXPECT_FALSE(interactive.platform.quitCode);
    EXPECT_NE(interactive.window->exitCode(), 0);
}

TEST(MatchController, ReportThatCannotBeOpenedOrWrittenIsReportedAndTheExitStatusIsNonZero)
{
    const std::string missing = tempPath("no-such-dir/report.txt");
    for (const std::string& name : {std::string("/dev/full"), missing}) {
        Harness h;
        h.preset(name, 1).open();
        EXPECT_EQ(h.match().gameStarted, 1) << "play starts also without a report";
        h.playToEnd();
        EXPECT_EQ(h.match().gameOver, 1);
        EXPECT_EQ(h.platform.boxes,
                  Texts{(name == missing ? "Failure opening output file." : "Failure writing output file.") + name});
        EXPECT_NE(h.platform.quitCode.value_or(0), 0);
    }
    // A report named as one of the sides would destroy it: play does not start.
    const std::string side = sideFile("Keepsake", 6), before = support::readFile(side);
    Harness h;
    h.preset(side, 1, "", side).open();
    EXPECT_EQ(h.platform.boxes, Texts{std::string(loadString(str::ReportWouldOverwrite)) + side});
    EXPECT_EQ(h.match().gameStarted, 0);
    EXPECT_NE(h.platform.quitCode.value_or(0), 0);
    EXPECT_EQ(support::readFile(side), before);
}

// The report is written beside its file and put in place at the end: a match
// closed before then leaves an earlier report as it was; one stopped part-way
// still writes what was played. No unfinished file is left either way.
TEST(MatchController, ReportReplacesAnEarlierOneOnlyWhenTheMatchIsWritten)
{
    enum End { Closed, Stopped, Finished };
    for (End end : {Closed, Stopped, Finished}) {
        SCOPED_TRACE(end);
        const std::filesystem::path folder = tempPath("report-end-" + std::to_string(end));
        std::filesystem::create_directories(folder);
        const std::string earlier = "an earlier report\n";
        const std::string report = support::writeFile("report-end-" + std::to_string(end) + "/report.txt", earlier);
        Harness h;
        h.preset(report, 1).open();
        h.tick(50);
        if (end == Closed) h.window->close();
        if (end == Stopped) h.window->stopMatch(2, "an answer was refused");
        if (end == Finished) h.playToEnd();
        const std::string text = support::readFile(report);
        if (end == Closed) {
            EXPECT_EQ(text, earlier);
            EXPECT_EQ(h.platform.timersKilled, (std::vector<int>{1, 2}));
            h.tick(5);
            EXPECT_EQ(h.currentDeliveries(), 50);
            EXPECT_FALSE(h.platform.quitCode);
        } else {
            EXPECT_NE(text.find(h.match().teams[0].name()), std::string::npos) << "the report was not written";
            EXPECT_EQ(text.find("Match stopped") != std::string::npos, end == Stopped) << text;
        }
        if (end == Finished) {
            // Export Cricsheet and Save Match write over neither a side nor the report.
            EXPECT_NE(h.window->outputClash(*h.settings.team2File), "");
            EXPECT_NE(h.window->outputClash(report), "");
            EXPECT_EQ(h.window->outputClash((folder / "match.json").string()), "");
        }
        h.window.reset();
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "a temporary file is left";
    }
}

TEST(MatchController, ChoiceDialogOffersDeclareOnlyInATestAndItsOptionsCannotChangeTheMatchType)
{
    for (int oneDay : {0, 1}) {
        Harness h;
        h.options.oneDay = oneDay;
        h.preset(tempPath("declared.txt")).open();
        int allowed = -1, gameType = -1;
        h.platform.chooser = [&](ChoosePlayerModel& m) {
            if (m.chooseBatsman || h.match().currentInnings != 0) return;
            m.openOptions();
            allowed = m.allowDeclare;
            m.declared = 1;
        };
        h.platform.optionsDialog = [&](OptionsModel& m) {
            gameType = m.gameTypeEnabled + m.oneDayChecked + m.testChecked;
            m.gameSpeed = 10;
            return true;
        };
        h.window->playGame();
        h.tick();
        const Innings& first = h.match().innings[0];
        EXPECT_EQ(gameType, 0);
        EXPECT_EQ(allowed, 1 - oneDay);
        EXPECT_EQ(first.closed, 1 - oneDay) << "a declaration closes a Test innings without a delivery";
        EXPECT_EQ(first.deliveries, oneDay);
        EXPECT_EQ(first.batsmenIn, 2) << "the openers chosen before the declaration stay recorded";
        h.tick();
        EXPECT_EQ(h.platform.timersSet.back(), std::make_pair(1, 100)) << "the new speed reaches the timer";
    }
}

// Escape or the close box may come at any moment; afterwards nothing plays,
// nothing crashes and no command does anything.
TEST(MatchController, ClosingInAnyStateEndsCleanly)
{
    enum State { NoTeams, TeamsChosen, Playing, Paused, InChoiceDialog, InOptionsDialog, GameOver };
    for (State state : {NoTeams, TeamsChosen, Playing, Paused, InChoiceDialog, InOptionsDialog, GameOver}) {
        SCOPED_TRACE(state);
        Harness h;
        const std::string report = tempPath("closed-" + std::to_string(state) + ".txt");
        if (state != NoTeams) h.preset(report, state == GameOver ? 1 : 0);
        h.platform.chooser = [&](ChoosePlayerModel& model) {
            if (state == InChoiceDialog) h.window->close();
            model.fillRows();
            model.acceptSelection();
        };
        h.platform.optionsDialog = [&](OptionsModel&) {
            if (state == InOptionsDialog) h.window->close();
            return true;
        };
        h.open();
        if (state >= Playing && state != GameOver) h.window->playGame();
        if (state == Paused) h.window->togglePause();
        if (state == InOptionsDialog) h.window->showOptions();
        h.tick(30);
        if (state == GameOver) h.playToEnd();
        // Quit, Escape and the close box ask before ending a match in play.
        const bool inPlay = state == Playing || state == Paused;
        EXPECT_EQ(h.window->mayClose(), !inPlay);
        EXPECT_EQ(h.platform.questions, Texts(inPlay ? 1 : 0, "End the match in play?"));
        h.platform.answerYes = true;
        EXPECT_TRUE(h.window->mayClose());
        h.window->close();
        const int played = h.currentDeliveries();
        h.tick(10);
        h.window->togglePause();
        h.window->showOptions();
        h.window->chooseTeams();
        h.window->playGame();
        h.tick(10);
        EXPECT_EQ(h.currentDeliveries(), played);
        h.window.reset();
    }
}

// A tournament on the board makes the console runner's draws: the same seed
// gives the same results, whatever the caption animation and the speed did.
TEST(MatchController, TournamentOnTheBoardPlaysTheConsoleRunnersMatchesAndWaitsForAMatchInPlay)
{
    TournamentPlan plan;
    std::string error;
    ASSERT_TRUE(loadTournament(std::string(PELMORA_SOURCE_DIR) + "/samples/t20_cup.json", plan, error)) << error;

    Harness busy;
    busy.preset().open();
    busy.window->playGame();
    EXPECT_FALSE(busy.window->beginTournament(plan));
    EXPECT_EQ(busy.platform.boxes.back(), loadString(str::TournamentWhilePlaying));
    EXPECT_EQ(busy.window->tournament(), nullptr);

    Harness h;
    h.settings.titleAnimation = 1;
    h.open();
    ASSERT_TRUE(h.window->beginTournament(plan));
    EXPECT_EQ(h.platform.controls(), "Pause/Go");
    // Only the speed of the options dialog reaches a tournament's matches.
    h.platform.optionsDialog = [](OptionsModel& m) {
        m.gameSpeed = 20;
        m.pitchPace = 90;
        return true;
    };
    h.tick(300);
    h.window->showOptions();
    EXPECT_EQ(h.platform.timersSet.back(), (std::pair<int, int>{MatchController::kMainTimer, 200}));
    const TournamentProgress& progress = *h.window->tournament();
    for (int i = 0; i < 100000 && !progress.finished(); ++i) {
        h.window->tick(MatchController::kTitleTimer);
        h.tick();
        if (i == 2000) h.window->setTournamentFullSpeed(true);
    }
    ASSERT_TRUE(progress.finished());
    const auto withText = [](Match&, const MatchOutcome&, const std::string&) {};
    EXPECT_EQ(formatTournamentProgress(progress), formatTournamentRun(plan, playTournament(plan, 77, withText), 77));
    EXPECT_EQ(h.platform.tournamentChanges, plan.matchesPerTournament() + 1);
    EXPECT_EQ(h.platform.timersSet.back(), (std::pair<int, int>{MatchController::kMainTimer, 10}));
}

// Every program takes its seeds by one rule: /r= as given when all the run's
// seeds replay, else refused; a clock seed differs within a second and leaves
// room for the run. The window's tournament plays the console runner's seeds.
TEST(MatchController, SeedsFollowOneRuleInTheWindowAndTheConsole)
{
    const std::int64_t second = 1'800'000'000'000'000'000;
    const struct {
        std::int32_t requested;
        std::int64_t count, clock;
        std::int32_t first;
        const char* refusal;
    } rows[] = {
        {-5, 3, 0, -5, ""},
        {-3, 3, 0, -3, ""},
        {-2, 3, 0, -2, "the 3 matches from seed -2 would reach 0, which means the clock"},
        {2147483645, 3, 0, 2147483645, ""},
        {2147483646, 3, 0, 2147483646, "the 3 matches from seed 2147483646 would go past 2147483647"},
        {0, 2147483647, second, 1, ""},
        {0, 2147483648, second, 1, "the 2147483648 matches from seed 1 would go past 2147483647"},
    };
    for (const auto& row : rows) {
        const SeedRun run = chooseSeeds(row.requested, row.count, row.clock);
        EXPECT_EQ(run.first, row.first) << row.requested;
        EXPECT_EQ(run.refusal, row.refusal) << row.requested;
    }
    const SeedRun early = chooseSeeds(0, 1, second + 1), late = chooseSeeds(0, 1, second + 2);
    EXPECT_NE(early.first, late.first);
    EXPECT_TRUE(early.fromClock && early.first > 0 && late.first > 0);

    TournamentPlan plan;
    std::string error;
    ASSERT_TRUE(loadTournament(std::string(PELMORA_SOURCE_DIR) + "/samples/t20_cup.json", plan, error)) << error;
    const std::int32_t lastThatFits = static_cast<std::int32_t>(2147483648 - plan.matchesPerTournament());
    for (const std::int32_t requested : {-5, 0, lastThatFits, lastThatFits + 1}) {
        Harness h;
        h.settings.randomSeed = requested;
        h.open();
        const SeedRun console = chooseSeeds(requested, plan.matchesPerTournament(), h.platform.now());
        ASSERT_EQ(h.window->beginTournament(plan), console.refusal.empty()) << requested;
        if (console.refusal.empty())
            EXPECT_EQ(h.window->tournament()->firstSeed(), console.first);
        else
            EXPECT_EQ(h.platform.boxes.back(),
                      std::string(loadString(str::TournamentSeedsRefused)) + console.refusal + "; give another /r=");
    }
}
