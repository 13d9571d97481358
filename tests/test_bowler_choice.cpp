// Who may bowl, and the engine's own choice of bowlers. Spells are set up by
// playing overs with scripted bowlers and then rewriting each ball's log
// entry, so an over carries exactly the runs and chances a case needs; the
// choice is then asked for directly.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "support.h"

using support::Engine;
using support::findSeed;
using support::Lcg;

namespace {

// Bowler positions 0..4 (players 6..10):
//   0 A pace threat 100, 1 B spin 90, 2 C neutral 80, 3 D pace 150, 4 E spin 120.
// threatRanking = 3 4 0 1 2, styleRanking = 2 4 1 3 0.
void openAttack(Engine& e, std::uint32_t seed = 1, bool oneDay = true, int maxBalls = 300)
{
    Team attack = support::makeSide("Attack", "K", 5, 400, 120, 500, 0);
    const int threat[5] = {100, 90, 80, 150, 120}, style[5] = {0, 1, 2, 0, 1};
    for (int b = 0; b < 5; ++b) {
        attack.player(6 + b)->bowlThreat = threat[b];
        attack.player(6 + b)->bowlStyle = style[b];
    }
    e.open(support::uniformSide(400, -1000000, 0), attack, oneDay, -1, maxBalls, seed);
}

// Plays one over per entry of `bowlers`; over k's first ball is logged as a
// stroke worth runs[k], the next chances[k] balls as beaten batsmen, the
// rest as dot balls.
void playOvers(Engine& e, support::ScriptedCaptain& captain, const std::vector<int>& bowlers,
               const std::vector<int>& runs, const std::vector<int>& chances = {})
{
    e.match->setCaptain(&captain);
    captain.bowlers = bowlers;
    Innings& inn = e.innings();
    const int legalTarget = 6 * static_cast<int>(bowlers.size());
    while (inn.legalBalls < legalTarget && !inn.closed) {
        const std::size_t over = inn.legalBalls / 6;
        inn.deliver();
        const int i = inn.deliveries - 1;
        BallRecord r = inn.ballRecord(i);
        const int place = i - inn.overStart(static_cast<int>(over));
        r.runs = 0;
        r.runKind = NoRun;
        r.event = DotBall;
        if (place == 0 && over < runs.size() && runs[over] > 0) {
            r.event = Scoring;
            r.runKind = Bat;
            r.runs = runs[over];
        } else if (place >= 1 && over < chances.size() && place <= chances[over]) {
            r.event = Beaten;
        }
        inn.setBallRecord(i, r);
    }
    ASSERT_EQ(inn.legalBalls, legalTarget);
    ASSERT_EQ(inn.closed, 0);
}

// The choice for the next over, with the rankings made and the strike pair
// fixed, as the engine would have them after its first choice.
int choose(Engine& e, int pair0 = 3, int pair1 = 4)
{
    e.innings().rankBowlers();
    e.context().strikePair[0] = pair0;
    e.context().strikePair[1] = pair1;
    return e.innings().autoBowler();
}

}  // namespace

TEST(BowlerChoice, OpeningOversGoToTheFirstTwoByStyleAndOneDrawPicksTheStrikePair)
{
    const std::uint32_t byThreat = findSeed([](Lcg& g) { return g.below(1000) < 500; });
    const std::uint32_t byStyle = findSeed([](Lcg& g) { return g.below(1000) >= 500; });
    // The last case has no balls to bowl: its first choice makes no death-overs draw either.
    for (auto [seed, maxBalls, pair0] :
         {std::tuple{byThreat, 300, 3}, std::tuple{byStyle, 300, 2}, std::tuple{9u, 0, -1}}) {
        Engine e;
        openAttack(e, seed, maxBalls > 0, maxBalls);
        const auto before = e.context().random.draws();
        EXPECT_EQ(e.innings().autoBowler(), 2);
        EXPECT_EQ(e.context().random.draws() - before, 1u) << "the first choice makes exactly one draw";
        if (pair0 >= 0) {
            EXPECT_EQ(e.context().strikePair[0], pair0);
        }
        EXPECT_EQ(e.context().strikePair[1], 4);
    }
    Engine e;
    openAttack(e, byThreat);
    Innings& inn = e.innings();
    while (inn.legalBalls < 6)
        inn.deliver();
    EXPECT_EQ(inn.bowler, 2);
    inn.deliver();
    EXPECT_EQ(inn.bowler, 4) << "the second over goes to styleRanking[1], strike bowler or not";
}

TEST(BowlerChoice, SpellIsJudgedByItsCostItsChancesAndTheBowlersFigures)
{
    struct Case {
        const char* what;
        std::vector<int> bowlers, runs, chances;
        int inningsRuns, figureRuns, expected;  // figureRuns: C's whole figures from 36 balls, -1 for none
    } cases[] = {
        {"two overs for 20, no chance, innings at 5: ended", {0, 1, 2, 1, 2, 1}, {0, 0, 10, 0, 10}, {}, 30, -1, 4},
        {"two overs for 6, innings at 5: kept", {0, 1, 2, 1, 2, 1}, {0, 0, 3, 0, 3}, {}, 30, -1, 2},
        {"a chance an over, not expensive: kept", {0, 1, 2, 1, 2, 1}, {0, 0, 5, 0, 5}, {0, 0, 1, 0, 1}, 18, -1, 2},
        {"a chance an over, but over 8 an over: ended",
         {0, 1, 2, 1, 2, 1},
         {0, 0, 9, 0, 8},
         {0, 0, 1, 0, 1},
         30,
         -1,
         4},
        {"one over, figures 5 an over against 4: off", {0, 1, 2, 1}, {0, 0, 5}, {}, 16, 30, 4},
        {"one over, figures 3.5 an over against 4: kept", {0, 1, 2, 1}, {0, 0, 5}, {}, 16, 21, 2},
    };
    for (const Case& c : cases) {
        Engine e;
        openAttack(e);
        support::ScriptedCaptain captain;
        playOvers(e, captain, c.bowlers, c.runs, c.chances);
        e.innings().runs = c.inningsRuns;
        if (c.figureRuns >= 0) {
            e.innings().bowling[2].balls = 36;
            e.innings().bowling[2].runs = c.figureRuns;
        }
        EXPECT_EQ(choose(e), c.expected) << c.what;
    }
}

TEST(BowlerChoice, DeathOversGoToAStrikeBowlerWhoMayBowlAQuarterOfTheTimeOrWhenTheSpellEnds)
{
    const std::uint32_t death = findSeed([](Lcg& g) { return g.below(1000) < 250; });
    const std::uint32_t spell = findSeed([](Lcg& g) { return g.below(1000) >= 250; });
    struct Case {
        const char* what;
        int spellRuns;
        std::uint32_t seed;
        int pair0, spentE, expected;
    } cases[] = {
        {"death draw", 0, death, 3, 0, 4},
        {"cheap spell kept", 0, spell, 3, 0, 2},
        {"spell ended: a strike bowler, never the rotation", 20, spell, 3, 0, 4},
        {"strike pair bowled the last over or has no overs left: search by threat", 0, death, 1, 1, 3},
    };
    for (const Case& c : cases) {
        // 46 overs: A and B alternate to over 39, then C bowls overs 40, 42 and 44
        // and B the overs between; the next over is the 47th.
        Engine e;
        openAttack(e);
        support::ScriptedCaptain captain;
        std::vector<int> bowlers, runs;
        for (int k = 0; k < 46; ++k) {
            bowlers.push_back(k < 40 ? k % 2 : (k % 2 == 0 ? 2 : 1));
            runs.push_back(bowlers.back() == 2 ? c.spellRuns : 0);
        }
        playOvers(e, captain, bowlers, runs);
        e.innings().runs = 46 * 4;
        if (c.spentE) e.innings().bowling[4].balls = 60;
        e.context().random.seed(c.seed);
        EXPECT_EQ(choose(e, c.pair0), c.expected) << c.what;
    }
}

TEST(BowlerChoice, OneDayQuotaIsAFifthOfTheAllowanceWaivedForAnOverNobodyElseMayBowl)
{
    for (int r : {4, 2}) {
        Engine e;
        openAttack(e);
        Innings& inn = e.innings();
        inn.legalBalls = inn.deliveries = 240;
        inn.bowler = 4;
        inn.bowling[4].balls = 6;
        for (int b = 0; b < 4; ++b)
            inn.bowling[b].balls = 59;
        EXPECT_EQ(inn.mayBowl(0), 1) << "59 balls leave one more over";
        EXPECT_EQ(inn.mayBowl(4), 0) << "nobody bowls two overs running";
        for (int b = 0; b < 4; ++b)
            inn.bowling[b].balls = 60;
        EXPECT_EQ(inn.mayBowl(0), 0) << "60 balls use up a fifth of 300";
        e.match->options().oneDay = 0;
        EXPECT_EQ(inn.mayBowl(0), 1) << "a Test has no quota";
        e.match->options().oneDay = 1;
        // Four bowlers have used up their overs and the fifth bowled the last one.
        for (int b = 0; b < 5; ++b)
            EXPECT_EQ(inn.eligibleToBowl(b), b < 4 ? 1 : 0) << "bowler " << b;
        e.context().random.seed(findSeed([r](Lcg& g) { return g.below(5) == r; }));
        EXPECT_EQ(choose(e), r == 4 ? 0 : r) << "the random search from " << r << ", skipping the last bowler";
    }
}

TEST(BowlerChoice, TwoBowlersAlternateForAWholeTestInnings)
{
    Engine e;
    e.open(support::makeSide("Bat", "B", 5, 400, 90, 700), support::makeSide("Pair", "P", 2), false, -1, 2700, 17);
    Innings& inn = e.innings();
    while (!inn.closed)
        inn.deliver();
    const int overs = (inn.legalBalls + 5) / 6;
    ASSERT_GT(overs, 20);
    std::set<int> seen;
    for (int k = 0, previous = -1; k < overs; ++k) {
        const int bowler = inn.ballRecord(inn.overStart(k)).bowlerPlayer;
        seen.insert(bowler);
        EXPECT_NE(bowler, previous) << "over " << k;
        previous = bowler;
    }
    EXPECT_EQ(seen.size(), 2u);
}
