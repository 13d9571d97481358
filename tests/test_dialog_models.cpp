// The logic of the choose-player dialog and of the Game Options dialog.
#include <gtest/gtest.h>

#include <string>

#include "app/choose_player_model.h"
#include "app/options_model.h"
#include "support.h"

using support::Engine;

namespace {

void openInnings(Engine& e, bool oneDay)
{
    Team batting = support::makeSide("Bat", "B", 5);
    for (int i = 0; i < 11; ++i) {
        Player& p = *batting.player(i);
        p.batTempo = 300 + i;
        p.batRisk = 100 + i;
        p.batSurvival = 500 + i;
    }
    e.open(batting, support::makeSide("Field", "F", 6), oneDay, -1, 300, 1);
}

}  // namespace

TEST(ChoosePlayer, BatsmanListShowsThoseYetToBatInTeamOrder)
{
    Engine e;
    openInnings(e, true);
    Innings& inn = e.innings();
    inn.battingOrder[0] = 0;
    inn.battingOrder[1] = 1;
    inn.battingOrder[2] = 2;
    inn.batsmenIn = 3;
    ChoosePlayerModel model;
    model.setup(inn, 1, 0);
    model.initDialog();
    EXPECT_STREQ(model.caption(), "Choose Batsman");
    ASSERT_EQ(model.rowCount(), 8);
    for (int row = 0; row < 8; ++row) EXPECT_EQ(model.rowMap(row), row + 3);
    EXPECT_STREQ(model.rowText(0), "BD");
    EXPECT_EQ(model.selectedRow(), 0);
    EXPECT_EQ(model.figureLine(0), "0 BD 303 103 503");
    EXPECT_EQ(model.figureLine(7), "7 BK 310 110 510");
    EXPECT_EQ(model.bowlingFigures(0), "");
}

TEST(ChoosePlayer, BowlerListLeavesOutThePreviousBowlerAndSpentQuotas)
{
    Engine e;
    openInnings(e, true);
    Innings& inn = e.innings();
    ChoosePlayerModel model;
    model.setup(inn, 0, 0);
    model.initDialog();
    EXPECT_STREQ(model.caption(), "Choose Bowler");
    EXPECT_EQ(model.rowCount(), 6) << "before the first over everybody is offered";

    inn.bowler = 1;
    inn.bowling[1].balls = 12;
    inn.bowling[3].balls = 60;
    model.setup(inn, 0, 0);
    model.initDialog();
    ASSERT_EQ(model.rowCount(), 4);
    const int expected[4] = {0, 2, 4, 5};
    for (int row = 0; row < 4; ++row) EXPECT_EQ(model.rowMap(row), expected[row]) << "row " << row;

    e.match->options().oneDay = 0;
    model.setup(inn, 0, 1);
    model.initDialog();
    EXPECT_EQ(model.rowCount(), 5) << "a Test has no quota, but still no two overs running";
}

TEST(ChoosePlayer, BowlerRowShowsRatingsAndFigures)
{
    Engine e;
    openInnings(e, false);
    Innings& inn = e.innings();
    Player& first = *e.match->teams[1].player(e.match->teams[1].bowlerAt(0));
    first.bowlTempo = 345;
    first.bowlThreat = 123;
    first.bowlStyle = 1;
    inn.bowling[0] = BowlingLine{13, 1, 20, 2};
    ChoosePlayerModel model;
    model.setup(inn, 0, 1);
    model.initDialog();
    EXPECT_EQ(model.figureLine(0), std::string("0 ") + first.name() + " 345 123 1");
    EXPECT_EQ(model.bowlingFigures(0), "2-1-20-2");
}

TEST(ChoosePlayer, EscapeAnswersTheSelectedRowWhichIsTheFirstAtOpening)
{
    Engine e;
    openInnings(e, true);
    Innings& inn = e.innings();
    inn.battingOrder[0] = 4;
    inn.batsmenIn = 1;
    ChoosePlayerModel model;
    model.setup(inn, 1, 0);
    EXPECT_EQ(model.choice, -1);
    model.initDialog();
    model.storeSelection();
    EXPECT_EQ(model.choice, 0);
    model.select(4);
    model.storeSelection();
    EXPECT_EQ(model.choice, 5) << "row 4 stands for player 5 once player 4 has batted";
    model.select(99);
    model.storeSelection();
    EXPECT_EQ(model.choice, 5) << "with no row selected the answer stays";
}

TEST(ChoosePlayer, DeclareAnswersTheSelectionTooAndSetupResetsTheAnswer)
{
    Engine e;
    openInnings(e, false);
    ChoosePlayerModel model;
    model.setup(e.innings(), 0, 1);
    model.initDialog();
    model.select(2);
    model.declare();
    EXPECT_EQ(model.declared, 1);
    EXPECT_EQ(model.choice, 2);
    model.setup(e.innings(), 1, 1);
    EXPECT_EQ(model.declared, 0);
    EXPECT_EQ(model.choice, -1);
}

TEST(ChoosePlayer, EmptyListAnswersMinusOne)
{
    Engine e;
    e.open(support::makeSide("Bat", "B", 5), support::makeSide("None", "N", 0), true, -1, 300, 1);
    ChoosePlayerModel model;
    model.setup(e.innings(), 0, 0);
    model.initDialog();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.selectedRow(), -1);
    model.storeSelection();
    EXPECT_EQ(model.choice, -1);
    EXPECT_EQ(model.figureLine(0), "");
    EXPECT_STREQ(model.rowText(0), "");
}

TEST(ChoosePlayer, WhenNobodyMayBowlTheQuotaIsWaivedForTheList)
{
    Engine e;
    e.open(support::makeSide("Bat", "B", 5), support::makeSide("Five", "F", 5), true, -1, 300, 1);
    Innings& inn = e.innings();
    inn.bowler = 2;
    for (int b = 0; b < 5; ++b) inn.bowling[b].balls = b == 2 ? 6 : 60;
    ChoosePlayerModel model;
    model.setup(inn, 0, 0);
    model.initDialog();
    ASSERT_EQ(model.rowCount(), 4);
    const int expected[4] = {0, 1, 3, 4};
    for (int row = 0; row < 4; ++row) EXPECT_EQ(model.rowMap(row), expected[row]);
}

namespace {

std::vector<int> row1(const EngineContext& c) { return std::vector<int>(c.runTables[1], c.runTables[1] + 6); }

}  // namespace

TEST(GameOptionsDialog, ConfirmingTheDefaultsChangesNothing)
{
    EngineContext context;
    OptionsModel model;
    model.initDialog(context.options);
    EXPECT_EQ(model.oneDayChecked, 1);
    EXPECT_EQ(model.testChecked, 0);
    EXPECT_EQ(model.ballByBall, 0);
    EXPECT_EQ(model.gameSpeed, 50);
    model.ok(context);
    EXPECT_EQ(row1(context), (std::vector<int>{320, 640, 720, 970, 971, 1000}));
    EXPECT_EQ(context.options.speedChanged, 0);
    EXPECT_EQ(context.options.oneDay, 1);
    EXPECT_EQ(context.options.briefOutput, 1);
}

TEST(GameOptionsDialog, OutfieldReshapesRunTableRowOneEachTimeItIsConfirmed)
{
    EngineContext fast;
    OptionsModel model;
    model.initDialog(fast.options);
    model.outfield = 70;
    model.ok(fast);
    EXPECT_EQ(row1(fast), (std::vector<int>{320, 620, 700, 970, 971, 1000}));
    model.initDialog(fast.options);
    EXPECT_EQ(model.outfield, 70);
    model.ok(fast);
    EXPECT_EQ(row1(fast), (std::vector<int>{320, 600, 680, 970, 971, 1000}));
    for (int row : {0, 2, 3})
        for (int i = 0; i < 6; ++i) EXPECT_EQ(fast.runTables[row][i], EngineContext::kInitialRunTables[row][i]);

    EngineContext slow;
    model.initDialog(slow.options);
    model.outfield = 30;
    model.ok(slow);
    EXPECT_EQ(row1(slow), (std::vector<int>{320, 660, 740, 970, 971, 1000}));
}

TEST(GameOptionsDialog, GameTypeIsLockedOnceDisabled)
{
    EngineContext context;
    context.options.oneDay = 0;
    OptionsModel model;
    model.gameTypeEnabled = 0;
    model.initDialog(context.options);
    EXPECT_EQ(model.oneDayChecked, 0);
    EXPECT_EQ(model.testChecked, 0);
    model.oneDayChecked = 1;
    model.ok(context);
    EXPECT_EQ(context.options.oneDay, 0);

    OptionsModel open;
    open.initDialog(context.options);
    EXPECT_EQ(open.testChecked, 1);
    open.oneDayChecked = 1;
    open.testChecked = 0;
    open.ok(context);
    EXPECT_EQ(context.options.oneDay, 1);
}

TEST(GameOptionsDialog, SpeedAndBallByBallAreWrittenBack)
{
    EngineContext context;
    OptionsModel model;
    model.initDialog(context.options);
    model.gameSpeed = 0;
    model.ballByBall = 1;
    model.pitchSurface = 10;
    model.pitchPace = 20;
    model.wicketDifficulty = 90;
    model.ok(context);
    EXPECT_EQ(context.options.gameSpeed, 0);
    EXPECT_EQ(context.options.speedChanged, 1);
    EXPECT_EQ(context.options.briefOutput, 0);
    EXPECT_EQ(context.options.pitchSurface, 10);
    EXPECT_EQ(context.options.pitchPace, 20);
    EXPECT_EQ(context.options.wicketDifficulty, 90);

    context.options.speedChanged = 0;
    model.initDialog(context.options);
    EXPECT_EQ(model.ballByBall, 1);
    model.ballByBall = 0;
    model.gameSpeed = 100;
    model.ok(context);
    EXPECT_EQ(context.options.gameSpeed, 100);
    EXPECT_EQ(context.options.speedChanged, 1);
    EXPECT_EQ(context.options.briefOutput, 1);
}
