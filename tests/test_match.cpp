// The match: innings sequence, targets and allowances, toss, result, guards.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support.h"

using support::findSeed;
using support::Lcg;

namespace {

std::unique_ptr<Match> newMatch(bool oneDay, const char* first = "North", const char* second = "South")
{
    auto m = std::make_unique<Match>();
    m->setTeam(0, support::makeSide(first, "N", 6));
    m->setTeam(1, support::makeSide(second, "S", 6));
    m->options().oneDay = oneDay ? 1 : 0;
    m->context().random.seed(77);
    return m;
}

void playOut(Match& m)
{
    int guard = 0;
    while (!(m.playBall() & kInningsEnded) && guard++ < 5000) {
    }
}

// Starts innings 0..count-1 in turn with the given runs and legal balls, as if played.
void pretendPlayed(Match& m, const int* runs, const int* balls, int count)
{
    for (int k = 0; k < count; ++k) {
        ASSERT_TRUE(m.startInnings(k, k % 2, (k + 1) % 2));
        m.innings[k].runs = runs[k];
        m.innings[k].legalBalls = balls[k];
        m.innings[k].closed = 1;
    }
}

}  // namespace

TEST(Match, ConstructedMatchWaitsForTeams)
{
    Match m;
    EXPECT_EQ(m.currentInnings, -1);
    EXPECT_EQ(m.inningsCount, 4);
    EXPECT_EQ(m.playing + m.deliveryInProgress + m.gameOver + m.gameStarted + m.hold, 0);
    EXPECT_EQ(m.outputFile, nullptr);
    EXPECT_STREQ(m.teams[0].name(), "");
    EXPECT_STREQ(m.teams[1].name(), "");
    for (int k = 0; k < 4; ++k) EXPECT_EQ(m.innings[k].match, &m);
}

TEST(Match, StartOfPlaySetsTheInningsCountByMatchType)
{
    auto oneDay = newMatch(true);
    ASSERT_TRUE(oneDay->startPlay());
    EXPECT_EQ(oneDay->inningsCount, 2);
    EXPECT_EQ(oneDay->currentInnings, 0);
    EXPECT_EQ(oneDay->gameStarted, 1);
    EXPECT_EQ(oneDay->playing, 1);
    EXPECT_EQ(oneDay->innings[0].battingTeam, &oneDay->teams[0]);
    EXPECT_EQ(oneDay->innings[0].bowlingTeam, &oneDay->teams[1]);
    EXPECT_EQ(oneDay->innings[0].maxBalls, 300);
    EXPECT_EQ(oneDay->innings[0].target, -1);

    auto test = newMatch(false);
    ASSERT_TRUE(test->startPlay());
    EXPECT_EQ(test->inningsCount, 4);
    EXPECT_EQ(test->innings[0].maxBalls, 2700);
    EXPECT_EQ(test->innings[0].target, -1);
}

TEST(Match, OneDaySecondInningsChasesTheFirstInningsRuns)
{
    auto m = newMatch(true);
    ASSERT_TRUE(m->startPlay());
    playOut(*m);
    ASSERT_TRUE(m->startInnings(1, 1, 0));
    EXPECT_EQ(m->innings[1].target, m->innings[0].runs);
    EXPECT_EQ(m->innings[1].maxBalls, 300);
    EXPECT_EQ(m->innings[1].battingTeam, &m->teams[1]);
    EXPECT_EQ(m->innings[1].bowlingTeam, &m->teams[0]);
    EXPECT_EQ(m->currentInnings, 1);
}

TEST(Match, TestInningsShareTheBallBudgetAndTheLastChasesTheAggregate)
{
    auto m = newMatch(false);
    m->inningsCount = 4;
    const int runs[3] = {300, 250, 200}, balls[3] = {600, 500, 400};
    pretendPlayed(*m, runs, balls, 3);
    EXPECT_EQ(m->innings[1].maxBalls, 2100);
    EXPECT_EQ(m->innings[2].maxBalls, 1600);
    EXPECT_EQ(m->innings[1].target, -1);
    EXPECT_EQ(m->innings[2].target, -1);
    ASSERT_TRUE(m->startInnings(3, 1, 0));
    EXPECT_EQ(m->innings[3].target, 250) << "300 - 250 + 200";
    EXPECT_EQ(m->innings[3].maxBalls, 1200);
}

TEST(Match, NegativeFourthInningsTargetEndsAfterOneDelivery)
{
    auto m = newMatch(false);
    m->inningsCount = 4;
    const int runs[3] = {100, 300, 100}, balls[3] = {300, 300, 300};
    pretendPlayed(*m, runs, balls, 3);
    ASSERT_TRUE(m->startInnings(3, 1, 0));
    EXPECT_EQ(m->innings[3].target, -100);
    EXPECT_EQ(m->playBall(), kInningsEnded | kRepaintAll);
    EXPECT_EQ(m->innings[3].deliveries, 1);
    BallRecord r;
    m->innings[3].ballRecord(0, r);
    EXPECT_NE(r.flags & static_cast<int>(kInningsEnded), 0);
}

TEST(Match, FourthInningsTargetOfMinusOneMeansNoTarget)
{
    auto m = newMatch(false);
    m->inningsCount = 4;
    const int runs[3] = {100, 201, 100}, balls[3] = {300, 300, 300};
    pretendPlayed(*m, runs, balls, 3);
    ASSERT_TRUE(m->startInnings(3, 1, 0));
    EXPECT_EQ(m->innings[3].target, -1);
    for (int i = 0; i < 30 && m->innings[3].wickets < 10; ++i) EXPECT_EQ(m->playBall(), 7u) << "delivery " << i;
}

TEST(Match, FourthInningsWithTheBudgetUsedUpHasOneDelivery)
{
    auto m = newMatch(false);
    m->inningsCount = 4;
    const int runs[3] = {100, 100, 500}, balls[3] = {900, 900, 900};
    pretendPlayed(*m, runs, balls, 3);
    ASSERT_TRUE(m->startInnings(3, 1, 0));
    EXPECT_EQ(m->innings[3].maxBalls, 0);
    EXPECT_EQ(m->playBall(), kInningsEnded | kRepaintAll);
    EXPECT_EQ(m->innings[3].deliveries, 1);
}

TEST(Match, ResultLinesByWicketsByRunsAndTie)
{
    auto m = newMatch(true);
    m->inningsCount = 2;
    m->innings[0].runs = 200;
    m->innings[1].runs = 201;
    m->innings[1].wickets = 3;
    EXPECT_EQ(m->resultLine(), "South defeated North by 7 wickets");
    m->innings[0].runs = 225;
    m->innings[1].runs = 200;
    EXPECT_EQ(m->resultLine(), "North defeated South by 25 Run(s)");
    m->innings[1].runs = 225;
    m->innings[1].wickets = 10;
    EXPECT_EQ(m->resultLine(), "North and South tied the match");

    auto t = newMatch(false);
    t->inningsCount = 4;
    t->innings[0].runs = 150;
    t->innings[1].runs = 100;
    t->innings[2].runs = 100;
    t->innings[3].runs = 151;
    t->innings[1].wickets = 10;
    t->innings[3].wickets = 6;
    EXPECT_EQ(t->resultLine(), "South defeated North by 4 wickets") << "the wickets of the side's last innings count";
    t->innings[3].runs = 120;
    EXPECT_EQ(t->resultLine(), "North defeated South by 30 Run(s)") << "no draw when the balls run out";
}

TEST(Match, TossMessageNamesWinnerAndSideBattingFirstAndSwapsWhenTheSecondDrawIsOne)
{
    struct Case {
        int w, b;
        const char* message;
        const char* firstAfter;
    } cases[] = {
        {0, 1, "North won the toss. South will bat first.", "South"},
        {1, 0, "South won the toss. North will bat first.", "North"},
        {1, 1, "South won the toss. South will bat first.", "South"},
        {0, 0, "North won the toss. North will bat first.", "North"},
    };
    for (const Case& c : cases) {
        const std::uint32_t seed = findSeed([&](Lcg& g) { return g.below(2) == c.w && g.below(2) == c.b; });
        auto m = newMatch(true);
        m->context().random.seed(seed);
        EXPECT_EQ(m->toss(), c.message);
        EXPECT_STREQ(m->teams[0].name(), c.firstAfter);
        EXPECT_STREQ(m->teams[0].player(0)->name(), std::string(c.firstAfter) == "North" ? "NA" : "SA")
            << "the whole record changes places";
    }
}

TEST(Match, BoundsOfTeamAndInningsAccess)
{
    auto m = newMatch(true);
    EXPECT_EQ(m->team(2), nullptr);
    EXPECT_EQ(m->team(-1), nullptr);
    EXPECT_EQ(m->inningsAt(-1), nullptr);
    EXPECT_EQ(m->inningsAt(4), nullptr);
    EXPECT_NE(m->inningsAt(3), nullptr);
    ASSERT_TRUE(m->startPlay());
    EXPECT_EQ(m->inningsAt(2), nullptr) << "a one-day match has two innings";
    EXPECT_NE(m->inningsAt(1), nullptr);
    Team other = support::makeSide("Other", "O", 5);
    EXPECT_FALSE(m->setTeam(2, other));
    EXPECT_TRUE(m->setTeam(1, other));
    EXPECT_STREQ(m->team(1)->name(), "Other");
}

TEST(Match, PlayBallReportsWhetherTheInningsWentOn)
{
    auto m = newMatch(true);
    ASSERT_TRUE(m->startPlay());
    EXPECT_EQ(m->playBall(), 7u);
    m->deliveryInProgress = 1;
    const int before = m->innings[0].deliveries;
    EXPECT_EQ(m->playBall(), 0u);
    EXPECT_EQ(m->innings[0].deliveries, before);
    EXPECT_EQ(m->deliveryInProgress, 1);
    m->deliveryInProgress = 0;
    playOut(*m);
    EXPECT_EQ(m->innings[0].closed, 1);
    EXPECT_EQ(m->deliveryInProgress, 0);
}

namespace {

// A choice dialog during which the timer keeps ticking.
struct TickingOwner : support::ScriptedOwner {
    Match* match = nullptr;
    std::vector<unsigned> results;
    ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int allowDeclare) override
    {
        results.push_back(match->playBall());
        return ScriptedOwner::choosePlayer(innings, chooseBatsman, allowDeclare);
    }
};

}  // namespace

TEST(Match, TickDuringAChoiceDialogPlaysNothing)
{
    auto m = newMatch(true);
    TickingOwner owner;
    owner.match = m.get();
    owner.bowlers = {5, 4, 5, 4};
    m->owner = &owner;
    ASSERT_TRUE(m->startPlay());
    EXPECT_EQ(m->playBall(), 7u);
    ASSERT_EQ(owner.results.size(), 3u) << "two openers and the first bowler were asked for";
    for (unsigned r : owner.results) EXPECT_EQ(r, 0u);
    EXPECT_EQ(m->innings[0].deliveries, 1);
    EXPECT_EQ(m->innings[0].bowler, 5) << "the scripted first bowler";
}

TEST(Match, RepaintHintCopiesTheFourCurrentPositions)
{
    auto m = newMatch(true);
    RepaintHint none;
    m->repaintHint(none);
    EXPECT_EQ(none.striker, -1);
    ASSERT_TRUE(m->startPlay());
    for (int i = 0; i < 9; ++i) m->playBall();
    RepaintHint h;
    m->repaintHint(h);
    const Innings& inn = m->innings[0];
    EXPECT_EQ(h.striker, inn.striker);
    EXPECT_EQ(h.nonStriker, inn.nonStriker);
    EXPECT_EQ(h.bowler, inn.bowler);
    EXPECT_EQ(h.otherEndBowler, inn.otherEndBowler);
    EXPECT_NE(h.otherEndBowler, -1);
}

TEST(Match, WriteLineAppendsANewlineAndNeedsAnOpenFile)
{
    Match m;
    m.writeLine("dropped");
    const std::string path = support::tempPath("lines.txt");
    m.outputFile = std::fopen(path.c_str(), "w");
    m.writeLine("first");
    m.writeBlankLine();
    m.writeLine("%d %s");
    std::fclose(m.outputFile);
    m.outputFile = nullptr;
    EXPECT_EQ(support::readFile(path), "first\n\n%d %s\n");
}
