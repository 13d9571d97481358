// The logic of the choose-player dialog and of the Game Options dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/choose_player_model.h"
#include "app/options_model.h"
#include "support.h"

using support::Engine;

namespace {

// Batsmen with ratings 300 + i, 100 + i, 500 + i; six bowlers on the field.
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

std::vector<int> rows(Innings& inn, int chooseBatsman, int allowDeclare = 0)
{
    ChoosePlayerModel model;
    model.setup(inn, chooseBatsman, allowDeclare);
    model.fillRows();
    std::vector<int> out;
    for (int row = 0; row < model.rowCount(); ++row)
        out.push_back(model.rowMap(row));
    return out;
}

}  // namespace

TEST(ChoosePlayer, BatsmanListShowsThoseYetToBatInTeamOrder)
{
    Engine e;
    openInnings(e, true);
    Innings& inn = e.innings();
    for (int p = 0; p < 3; ++p)
        inn.battingOrder[p] = p;
    inn.batsmenIn = 3;
    EXPECT_EQ(rows(inn, 1), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    ChoosePlayerModel model;
    model.setup(inn, 1, 0);
    model.fillRows();
    EXPECT_EQ(model.figureLine(0), "0 BD 303 103 503") << "row 0 stands for player 3";
    EXPECT_EQ(model.figureLine(7), "7 BK 310 110 510");
}

TEST(ChoosePlayer, BowlerListLeavesOutThePreviousBowlerAndSpentQuotasUnlessNobodyElseMayBowl)
{
    Engine e;
    openInnings(e, true);
    Innings& inn = e.innings();
    EXPECT_EQ(rows(inn, 0), (std::vector<int>{0, 1, 2, 3, 4, 5})) << "before the first over everybody is offered";
    inn.bowler = 1;
    inn.bowling[1].balls = 12;
    inn.bowling[3].balls = 60;
    EXPECT_EQ(rows(inn, 0), (std::vector<int>{0, 2, 4, 5}));
    inn.bowling[2] = BowlingLine{13, 1, 20, 2};
    ChoosePlayerModel model;
    model.setup(inn, 0, 0);
    model.fillRows();
    EXPECT_EQ(model.figureLine(1), "1 FH 340 120 0") << "row 1 stands for bowler position 2";
    EXPECT_EQ(model.bowlingFigures(1), "2-1-20-2");
    for (int b : {0, 2, 4, 5})
        inn.bowling[b].balls = 60;
    EXPECT_EQ(rows(inn, 0), (std::vector<int>{0, 2, 3, 4, 5})) << "the quota is waived when nobody passes it";
    e.match->options().oneDay = 0;
    EXPECT_EQ(rows(inn, 0, 1), (std::vector<int>{0, 2, 3, 4, 5}))
        << "a Test has no quota, but still no two overs running";
}

TEST(ChoosePlayer, EscapeOrDeclareAnswersTheSelectedRowAsAPlayerIndex)
{
    Engine e;
    openInnings(e, false);
    Innings& inn = e.innings();
    inn.battingOrder[0] = 4;
    inn.batsmenIn = 1;
    ChoosePlayerModel model;
    model.setup(inn, 1, 1);
    EXPECT_EQ(model.choice, -1);
    model.fillRows();
    model.acceptSelection();
    EXPECT_EQ(model.choice, 0) << "Escape at once answers the first listed player";
    model.select(4);
    model.acceptSelection();
    EXPECT_EQ(model.choice, 5) << "row 4 stands for player 5 once player 4 has batted";
    model.select(2);
    model.declare();
    EXPECT_EQ(model.declared, 1);
    EXPECT_EQ(model.choice, 2);
    model.setup(inn, 1, 1);
    EXPECT_EQ(model.declared, 0) << "a new question starts without the old answer";
    EXPECT_EQ(model.choice, -1);
}

TEST(GameOptionsDialog, OutfieldReshapesRunTableRowOneEachTimeItIsConfirmed)
{
    const auto row1 = [](const EngineContext& c) { return std::vector<int>(c.runTables[1], c.runTables[1] + 6); };
    EngineContext fast;
    OptionsModel model;
    model.load(fast.options);
    model.apply(fast);
    EXPECT_EQ(row1(fast), (std::vector<int>{320, 640, 720, 970, 971, 1000})) << "the defaults change nothing";
    model.outfield = 70;
    model.apply(fast);
    EXPECT_EQ(row1(fast), (std::vector<int>{320, 620, 700, 970, 971, 1000}));
    model.load(fast.options);
    model.apply(fast);
    EXPECT_EQ(row1(fast), (std::vector<int>{320, 600, 680, 970, 971, 1000})) << "confirming 70 again reshapes again";
    for (int row : {0, 2, 3})
        EXPECT_TRUE(std::equal(fast.runTables[row], fast.runTables[row] + 6, EngineContext::kInitialRunTables[row]))
            << "row " << row << " changed";

    EngineContext slow;
    model.load(slow.options);
    model.outfield = 30;
    model.apply(slow);
    EXPECT_EQ(row1(slow), (std::vector<int>{320, 660, 740, 970, 971, 1000}));
}

TEST(GameOptionsDialog, GameTypeIsLockedOnceDisabledAndTheOtherFieldsAreWrittenBack)
{
    EngineContext context;
    context.options.oneDay = 0;
    OptionsModel locked;
    locked.gameTypeEnabled = 0;
    locked.load(context.options);
    EXPECT_EQ(locked.oneDayChecked + locked.testChecked, 0) << "both buttons unchecked";
    locked.oneDayChecked = 1;
    locked.gameSpeed = 0;
    locked.ballByBall = 1;
    locked.pitchSurface = 10;
    locked.apply(context);
    const GameOptions& o = context.options;
    EXPECT_EQ(std::vector<int>({o.oneDay, o.gameSpeed, o.speedChanged, o.briefOutput, o.pitchSurface}),
              std::vector<int>({0, 0, 1, 0, 10}))
        << "oneDay, gameSpeed, speedChanged, briefOutput, pitchSurface";

    OptionsModel open;
    open.load(context.options);
    EXPECT_EQ(open.testChecked, 1);
    open.oneDayChecked = 1;
    open.testChecked = 0;
    open.apply(context);
    EXPECT_EQ(context.options.oneDay, 1);
}
