// The innings record: construction, start, who may bowl, and its small accessors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/innings.h"
#include "support.h"

using support::Engine;

TEST(InningsRecord, ConstructedRecordHasItsDefaults)
{
    Match match;
    const Innings& inn = match.innings[2];
    EXPECT_EQ(inn.match, &match);
    EXPECT_EQ(inn.striker, -1);
    EXPECT_EQ(inn.nonStriker, -1);
    EXPECT_EQ(inn.bowler, -1);
    EXPECT_EQ(inn.otherEndBowler, -1);
    EXPECT_EQ(inn.overBall, -1);
    EXPECT_EQ(inn.overExtras, -1);
    EXPECT_EQ(inn.overRuns, -1);
    EXPECT_EQ(inn.threatRanking[0], -1);
    EXPECT_EQ(inn.styleRanking[0], -1);
    EXPECT_EQ(inn.runs + inn.legalBalls + inn.deliveries + inn.wickets + inn.noBalls + inn.wides + inn.byes +
                  inn.legByes + inn.batsmenIn + inn.target + inn.maxBalls + inn.closed + inn.needBatsman +
                  inn.lastWasExtra,
              0);
    EXPECT_EQ(inn.overCapacity(), 0) << "no per-over storage before start";
    for (int p = 0; p < 11; ++p) EXPECT_EQ(inn.batting[p].dismissal.kind, DidNotBat);
}

TEST(InningsRecord, StartPutsTheKeeperInSlotZeroAndTheRestInTeamOrder)
{
    Engine e;
    Team bowling = support::makeSide("Field", "F", 5);
    ASSERT_EQ(bowling.keeper(), 4);
    e.open(support::makeSide("Bat", "B", 5), bowling, true, -1, 300, 1);
    const int expected[11] = {4, 0, 1, 2, 3, 5, 6, 7, 8, 9, 10};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(e.innings().fielders[i], expected[i]) << "fielder slot " << i;
    for (int i = 0; i < 11; ++i) EXPECT_EQ(e.innings().battingOrder[i], -1);
    EXPECT_EQ(e.innings().batsmenIn, 0);
    EXPECT_EQ(e.innings().target, -1);
    EXPECT_EQ(e.innings().maxBalls, 300);
    EXPECT_EQ(e.innings().battingTeam, &e.match->teams[0]);
    EXPECT_EQ(e.innings().bowlingTeam, &e.match->teams[1]);
}

TEST(InningsRecord, StartSizesThePerOverTablesByTheAllowance)
{
    Team a = support::makeSide("A", "A", 5), b = support::makeSide("B", "B", 5);
    Match m;
    ASSERT_EQ(m.innings[0].start(a, b, -1, 300), 1);
    EXPECT_EQ(m.innings[0].overCapacity(), 51);
    ASSERT_EQ(m.innings[1].start(a, b, -1, 0), 1);
    EXPECT_EQ(m.innings[1].overCapacity(), 1);
    ASSERT_EQ(m.innings[2].start(a, b, -1, 2700), 1);
    EXPECT_EQ(m.innings[2].overCapacity(), 451);
    ASSERT_EQ(m.innings[3].start(a, b, -1, -25), 1);
    EXPECT_GE(m.innings[3].overCapacity(), 1) << "a negative allowance still gets room for its one delivery";
}

TEST(InningsRecord, MayBowlKeepsOneDayQuotasAndNeverTwoOversRunning)
{
    Engine e;
    e.open(support::makeSide("Bat", "B", 5), support::makeSide("Field", "F", 5), true, -1, 300, 1);
    Innings& inn = e.innings();
    for (int b = 0; b < 5; ++b) EXPECT_EQ(inn.mayBowl(b), 1) << "before the first over everybody may bowl";
    inn.bowler = 2;
    inn.bowling[0].balls = 54;
    inn.bowling[1].balls = 60;
    inn.bowling[3].balls = 59;
    EXPECT_EQ(inn.mayBowl(0), 1) << "54 balls is below the 60-ball quota";
    EXPECT_EQ(inn.mayBowl(1), 0) << "60 balls uses up the quota";
    EXPECT_EQ(inn.mayBowl(2), 0) << "the bowler of the last over";
    EXPECT_EQ(inn.mayBowl(3), 1);
    EXPECT_EQ(inn.mayBowl(4), 1);
    EXPECT_EQ(inn.mayBowl(5), 0) << "no bowler at that position";

    e.match->options().oneDay = 0;
    EXPECT_EQ(inn.mayBowl(1), 1) << "a Test has no quota";
    EXPECT_EQ(inn.mayBowl(2), 0);
}

TEST(InningsRecord, RunsPer1000BallsRanksTheBowlers)
{
    BowlingLine none;
    EXPECT_EQ(none.runsPer1000Balls(), 75000);
    BowlingLine l;
    l.balls = 30;
    l.runs = 25;
    EXPECT_EQ(l.runsPer1000Balls(), 833);
}

TEST(InningsRecord, CommentaryLinesAreBoundedAndCutTo71Characters)
{
    Match m;
    Innings& inn = m.innings[0];
    char out[Innings::kCommentaryWidth] = "stale";
    inn.commentaryLine(12, out);
    EXPECT_STREQ(out, "");
    std::strcpy(out, "stale");
    inn.commentaryLine(-1, out);
    EXPECT_STREQ(out, "");

    const std::string longText(100, 'c');
    inn.setCommentaryLine(11, longText.c_str());
    inn.commentaryLine(11, out);
    EXPECT_EQ(std::string(out), longText.substr(0, 71));
    inn.setCommentaryLine(0, "short");
    inn.clearCommentary();
    for (int i = 0; i < 12; ++i) EXPECT_STREQ(inn.commentaryLine(i), "") << "line " << i;
}

TEST(InningsRecord, CardAccessorsRefusePositionsBeyondTheCards)
{
    Match m;
    Innings& inn = m.innings[0];
    EXPECT_NE(inn.battingLine(10), nullptr);
    EXPECT_EQ(inn.battingLine(11), nullptr);
    EXPECT_NE(inn.bowlingLine(9), nullptr);
    EXPECT_EQ(inn.bowlingLine(10), nullptr);
}

TEST(InningsRecord, PositionOfAPlayerWhoHasNotBattedIsEleven)
{
    Engine e;
    e.open(support::makeSide("Bat", "B", 5), support::makeSide("Field", "F", 5), true, -1, 300, 3);
    EXPECT_EQ(e.innings().positionOf(0), 11);
    e.innings().deliver();
    EXPECT_EQ(e.innings().positionOf(0), 0);
    EXPECT_EQ(e.innings().positionOf(1), 1);
    EXPECT_EQ(e.innings().positionOf(7), 11);
}

TEST(InningsRecord, FirstDeliveryBringsInBothOpenersAndTheFirstBowler)
{
    Engine e;
    e.open(support::makeSide("Bat", "B", 5), support::makeSide("Field", "F", 5), true, -1, 300, 11);
    Innings& inn = e.innings();
    inn.deliver();
    EXPECT_EQ(inn.battingOrder[0], 0);
    EXPECT_EQ(inn.battingOrder[1], 1);
    EXPECT_EQ(inn.batsmenIn, 2);
    EXPECT_EQ(inn.batting[0].dismissal.kind == NotOut || inn.wickets == 1, true);
    EXPECT_EQ(inn.batting[1].dismissal.kind, NotOut);
    EXPECT_EQ(inn.bowler, inn.styleRanking[0]);
    EXPECT_EQ(inn.otherEndBowler, -1);
    EXPECT_EQ(inn.overStart(0), 0);
    EXPECT_EQ(inn.deliveries, 1);
    EXPECT_EQ(inn.overBall, 1);
    BallRecord r;
    inn.ballRecord(0, r);
    EXPECT_EQ(r.strikerPlayer, 0) << "the first opener takes strike, with no change of ends";
}
