// The match: the Test innings' shared ball budget and fourth-innings target,
// and the result line.
#include <gtest/gtest.h>

#include <memory>

#include "support.h"

namespace {

std::unique_ptr<Match> newMatch(bool oneDay)
{
    auto m = std::make_unique<Match>();
    m->setTeam(0, support::makeSide("North", "N", 6));
    m->setTeam(1, support::makeSide("South", "S", 6));
    m->options().oneDay = oneDay ? 1 : 0;
    m->inningsCount = oneDay ? 2 : 4;
    m->context().random.seed(77);
    return m;
}

// A Test whose first three innings made these runs off these legal balls,
// with the fourth innings started.
std::unique_ptr<Match> fourthInnings(const int (&runs)[3], const int (&balls)[3])
{
    auto m = newMatch(false);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(m->startInnings(k, k % 2, (k + 1) % 2));
        m->innings[k].runs = runs[k];
        m->innings[k].legalBalls = balls[k];
        m->innings[k].closed = 1;
    }
    EXPECT_TRUE(m->startInnings(3, 1, 0));
    return m;
}

}  // namespace

TEST(Match, TestInningsShareTheBallBudgetAndTheLastChasesTheAggregate)
{
    auto m = fourthInnings({300, 250, 200}, {600, 500, 400});
    EXPECT_EQ(m->innings[1].maxBalls, 2100);
    EXPECT_EQ(m->innings[2].maxBalls, 1600);
    EXPECT_EQ(m->innings[3].maxBalls, 1200);
    EXPECT_EQ(m->innings[1].target, -1);
    EXPECT_EQ(m->innings[2].target, -1);
    EXPECT_EQ(m->innings[3].target, 250) << "300 - 250 + 200";
}

TEST(Match, FourthInningsAlreadyWonOrOutOfBallsEndsAfterOneDelivery)
{
    auto ahead = fourthInnings({100, 300, 100}, {300, 300, 300});
    EXPECT_EQ(ahead->innings[3].target, -100);
    EXPECT_EQ(ahead->playBall(), kInningsEnded | kRepaintAll);
    EXPECT_EQ(ahead->innings[3].deliveries, 1);
    EXPECT_NE(ahead->innings[3].ballRecord(0).flags & static_cast<int>(kInningsEnded), 0);

    auto spent = fourthInnings({100, 100, 500}, {900, 900, 900});
    EXPECT_EQ(spent->innings[3].maxBalls, 0);
    EXPECT_EQ(spent->playBall(), kInningsEnded | kRepaintAll);
    EXPECT_EQ(spent->innings[3].deliveries, 1);
}

TEST(Match, FourthInningsTargetOfMinusOneMeansNoTarget)
{
    auto m = fourthInnings({100, 201, 100}, {300, 300, 300});
    EXPECT_EQ(m->innings[3].target, -1);
    for (int i = 0; i < 30 && m->innings[3].wickets < 10; ++i)
        EXPECT_EQ(m->playBall(), 7u) << "delivery " << i;
}

TEST(Match, ResultLinesByWicketsByRunsAndTie)
{
    auto m = newMatch(true);
    m->innings[0].runs = 225;
    m->innings[1].runs = 225;
    m->innings[1].wickets = 10;
    EXPECT_EQ(m->resultLine(), "North and South tied the match");

    auto t = newMatch(false);
    const int runs[4] = {150, 100, 100, 151};
    for (int k = 0; k < 4; ++k)
        t->innings[k].runs = runs[k];
    t->innings[1].wickets = 10;
    t->innings[3].wickets = 6;
    EXPECT_EQ(t->resultLine(), "South defeated North by 4 wickets") << "the wickets of the side's last innings count";
    t->innings[3].runs = 120;
    EXPECT_EQ(t->resultLine(), "North defeated South by 30 Run(s)") << "no draw when the balls run out";
}
