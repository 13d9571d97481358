// The engine's own choice of bowlers. Spells are set up by playing overs with
// scripted bowlers and then rewriting each ball's log entry, so an over
// carries exactly the runs and chances a case needs; the choice is then asked
// for directly.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "support.h"

using support::Engine;
using support::findSeed;
using support::Lcg;
using support::makePlayer;

namespace {

constexpr int kHuge = 1000000;

// Bowler positions 0..4 (players 6..10):
//   0 A pace threat 100, 1 B spin 90, 2 C neutral 80, 3 D pace 150, 4 E spin 120.
// threatRanking = 3 4 0 1 2, styleRanking = 2 4 1 3 0.
Team attack()
{
    std::vector<Player> players;
    for (int i = 0; i < 6; ++i) players.push_back(makePlayer(("K" + std::to_string(i)).c_str(), 400, 120, 500, i == 5));
    players.push_back(makePlayer("A", 400, 120, 500, 0, 1, 300, 100, 0));
    players.push_back(makePlayer("B", 400, 120, 500, 0, 1, 300, 90, 1));
    players.push_back(makePlayer("C", 400, 120, 500, 0, 1, 300, 80, 2));
    players.push_back(makePlayer("D", 400, 120, 500, 0, 1, 300, 150, 0));
    players.push_back(makePlayer("E", 400, 120, 500, 0, 1, 300, 120, 1));
    return support::makeTeam("Attack", players);
}

Team neverOut() { return support::uniformSide("Bat", "B", 400, -kHuge, 0); }

struct Over {
    int bowler;
    int runs = 0;
    int chances = 0;
};

// Plays the overs with the given bowlers; every over's first ball is logged
// as a stroke worth `runs`, the next `chances` balls as beaten batsmen, the
// rest as dot balls.
void playOvers(Engine& e, support::ScriptedOwner& owner, const std::vector<Over>& overs)
{
    e.match->owner = &owner;
    for (const Over& o : overs) owner.bowlers.push_back(o.bowler);
    Innings& inn = e.innings();
    const int legalTarget = 6 * static_cast<int>(overs.size());
    while (inn.legalBalls < legalTarget && !inn.closed) {
        const int over = inn.legalBalls / 6;
        inn.deliver();
        const int i = inn.deliveries - 1;
        BallRecord r;
        inn.ballRecord(i, r);
        const int place = i - inn.overStart(over);
        r.runs = 0;
        r.runKind = NoRun;
        r.event = DotBall;
        if (place == 0 && overs[over].runs > 0) {
            r.event = Scoring;
            r.runKind = Bat;
            r.runs = overs[over].runs;
        } else if (place >= 1 && place <= overs[over].chances) {
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
    Innings& inn = e.innings();
    inn.rankBowlers();
    e.context().strikePair[0] = pair0;
    e.context().strikePair[1] = pair1;
    return inn.autoBowler();
}

std::vector<Over> alternate(const std::vector<int>& bowlers, const std::vector<int>& runs,
                            const std::vector<int>& chances = {})
{
    std::vector<Over> overs;
    for (std::size_t k = 0; k < bowlers.size(); ++k)
        overs.push_back(Over{bowlers[k], k < runs.size() ? runs[k] : 0, k < chances.size() ? chances[k] : 0});
    return overs;
}

}  // namespace

TEST(BowlerChoice, RankingsOrderByThreatAndByStyleKeepingTiesInListOrder)
{
    Engine e;
    e.open(neverOut(), attack(), true, -1, 300, 1);
    e.innings().rankBowlers();
    const int threat[5] = {3, 4, 0, 1, 2}, style[5] = {2, 4, 1, 3, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(e.innings().threatRanking[i], threat[i]) << "threat rank " << i;
        EXPECT_EQ(e.innings().styleRanking[i], style[i]) << "style rank " << i;
    }
    Engine same;
    same.open(neverOut(), support::uniformSide("Same", "S", 400, 100, 500, 300, 100, 0, 6), true, -1, 300, 1);
    same.innings().rankBowlers();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(same.innings().threatRanking[i], i) << "equal bowlers keep their order";
}

TEST(BowlerChoice, OpeningOversGoToTheFirstTwoByStyleAndOneDrawPicksTheStrikePair)
{
    const std::uint32_t byThreat = findSeed([](Lcg& g) { return g.below(1000) < 500; });
    const std::uint32_t byStyle = findSeed([](Lcg& g) { return g.below(1000) >= 500; });
    for (auto [seed, pair0] : {std::pair{byThreat, 3}, std::pair{byStyle, 2}}) {
        Engine e;
        e.open(neverOut(), attack(), true, -1, 300, seed);
        Innings& inn = e.innings();
        const auto before = e.context().random.draws();
        EXPECT_EQ(inn.autoBowler(), 2);
        EXPECT_EQ(e.context().random.draws() - before, 1u) << "the first choice makes exactly one draw";
        EXPECT_EQ(e.context().strikePair[0], pair0);
        EXPECT_EQ(e.context().strikePair[1], 4);
    }

    Engine e;
    e.open(neverOut(), attack(), true, -1, 300, byThreat);
    Innings& inn = e.innings();
    inn.deliver();
    EXPECT_EQ(inn.bowler, 2);
    while (inn.legalBalls < 6) inn.deliver();
    inn.deliver();
    EXPECT_EQ(inn.bowler, 4) << "the second over goes to styleRanking[1], strike bowler or not";
    EXPECT_EQ(inn.otherEndBowler, 2);
}

TEST(BowlerChoice, ExpensiveSpellWithoutChancesIsEnded)
{
    // Two overs for 20 runs in an innings going at 5 an over: 10 > 8 and no chance.
    Engine e;
    e.open(neverOut(), attack(), true, -1, 300, 1);
    support::ScriptedOwner owner;
    playOvers(e, owner, alternate({0, 1, 2, 1, 2, 1}, {0, 0, 10, 0, 10, 0}));
    e.innings().runs = 30;
    EXPECT_EQ(choose(e), 4);
}

TEST(BowlerChoice, CheapSpellIsKept)
{
    Engine e;
    e.open(neverOut(), attack(), true, -1, 300, 1);
    support::ScriptedOwner owner;
    playOvers(e, owner, alternate({0, 1, 2, 1, 2, 1}, {0, 0, 3, 0, 3, 0}));
    e.innings().runs = 30;
    EXPECT_EQ(choose(e), 2);
}

TEST(BowlerChoice, SpellWithAChancePerOverIsKeptUnlessItIsExpensive)
{
    for (auto [runs, expected] : {std::pair{5, 2}, std::pair{9, 4}}) {
        Engine e;
        e.open(neverOut(), attack(), true, -1, 300, 1);
        support::ScriptedOwner owner;
        playOvers(e, owner, alternate({0, 1, 2, 1, 2, 1}, {0, 0, runs, 0, runs, 0}, {0, 0, 1, 0, 1, 0}));
        e.innings().runs = 18;
        EXPECT_EQ(choose(e), expected) << "two overs of " << runs << " with two chances, innings at 3 an over";
    }
}

TEST(BowlerChoice, ShortSpellOfABowlerOutsideTheLeadingAttackIsJudgedByHisFigures)
{
    // One over for 5 in an innings at 4 an over; C is last by threat.
    for (auto [figureRuns, expected] : {std::pair{30, 4}, std::pair{21, 2}}) {
        Engine e;
        e.open(neverOut(), attack(), true, -1, 300, 1);
        support::ScriptedOwner owner;
        playOvers(e, owner, alternate({0, 1, 2, 1}, {0, 0, 5, 0}));
        e.innings().runs = 16;
        e.innings().bowling[2].balls = 36;
        e.innings().bowling[2].runs = figureRuns;
        EXPECT_EQ(choose(e), expected) << "whole figures " << figureRuns << " runs from 36 balls";
    }
}

TEST(BowlerChoice, LeadingBowlerKeepsAShortSpellWhateverHisFigures)
{
    Engine e;
    e.open(neverOut(), attack(), true, -1, 300, 1);
    support::ScriptedOwner owner;
    playOvers(e, owner, alternate({1, 2, 0, 2}, {0, 0, 5, 0}));
    e.innings().runs = 16;
    e.innings().bowling[0].balls = 36;
    e.innings().bowling[0].runs = 30;
    EXPECT_EQ(choose(e), 0) << "A is third by threat, inside the first two thirds of five";
}

TEST(BowlerChoice, CheapButLongSpellGoesOnToTheChanceTest)
{
    // Four overs at 3 in an innings at 4: cheaper than the innings, but longer
    // than three overs, so the chances decide.
    for (auto [chance, expected] : {std::pair{0, 4}, std::pair{1, 2}}) {
        Engine e;
        e.open(neverOut(), attack(), true, -1, 300, 1);
        support::ScriptedOwner owner;
        playOvers(e, owner,
                  alternate({2, 1, 2, 1, 2, 1, 2, 1}, {3, 0, 3, 0, 3, 0, 3, 0},
                            {chance, 0, chance, 0, chance, 0, chance, 0}));
        e.innings().runs = 32;
        EXPECT_EQ(choose(e), expected) << "chances per over " << chance;
    }
}

TEST(BowlerChoice, StrikeBowlerKeepsHisLastTwoOversForTheEnd)
{
    Engine e;
    e.open(neverOut(), attack(), true, -1, 300, 1);
    e.context().strikePair[0] = 3;
    e.context().strikePair[1] = 4;
    Innings& inn = e.innings();
    inn.bowling[3].balls = 47;
    inn.bowling[4].balls = 48;
    inn.bowling[0].balls = 59;
    EXPECT_EQ(inn.pairAllows(3), 1);
    EXPECT_EQ(inn.pairAllows(4), 0) << "48 balls reach the reserve limit of a 300-ball innings";
    EXPECT_EQ(inn.pairAllows(0), 1) << "the limit is only for the strike pair";
}

namespace {

// 46 overs: A and B alternate to over 39, then C bowls overs 40, 42 and 44
// and B the overs between; the next over is the 47th, in the death overs.
Engine& deathOvers(Engine& e, support::ScriptedOwner& owner, int spellRuns)
{
    e.open(neverOut(), attack(), true, -1, 300, 1);
    std::vector<Over> overs;
    for (int k = 0; k < 46; ++k) {
        const int bowler = k < 40 ? k % 2 : (k % 2 == 0 ? 2 : 1);
        overs.push_back(Over{bowler, bowler == 2 ? spellRuns : 0, 0});
    }
    playOvers(e, owner, overs);
    e.innings().runs = 46 * 4;
    return e;
}

}  // namespace

TEST(BowlerChoice, DeathOversGoStraightToAStrikeBowlerAQuarterOfTheTime)
{
    const std::uint32_t death = findSeed([](Lcg& g) { return g.below(1000) < 250; });
    const std::uint32_t spell = findSeed([](Lcg& g) { return g.below(1000) >= 250; });
    for (auto [seed, expected] : {std::pair{death, 4}, std::pair{spell, 2}}) {
        Engine e;
        support::ScriptedOwner owner;
        deathOvers(e, owner, 0);
        e.innings().rankBowlers();
        e.context().random.seed(seed);
        EXPECT_EQ(choose(e), expected) << (expected == 4 ? "death draw" : "cheap spell kept");
    }
}

TEST(BowlerChoice, InTheDeathOversABowlerTakenOffIsReplacedByAStrikeBowler)
{
    const std::uint32_t spell = findSeed([](Lcg& g) { return g.below(1000) >= 250; });
    Engine e;
    support::ScriptedOwner owner;
    deathOvers(e, owner, 20);
    e.innings().rankBowlers();
    e.context().random.seed(spell);
    EXPECT_EQ(choose(e), 4) << "never the rotation once the innings is in its late part";
}

TEST(BowlerChoice, DeathOversNeverGiveTheBowlerOfThePreviousOverOrOneWithoutOvers)
{
    const std::uint32_t death = findSeed([](Lcg& g) { return g.below(1000) < 250; });
    Engine e;
    support::ScriptedOwner owner;
    deathOvers(e, owner, 0);
    Innings& inn = e.innings();
    ASSERT_EQ(inn.bowler, 1);
    inn.bowling[4].balls = 60;
    inn.rankBowlers();
    e.context().random.seed(death);
    const int chosen = choose(e, 1, 4);
    EXPECT_NE(chosen, 1) << "strikePair[0] bowled the previous over";
    EXPECT_NE(chosen, 4) << "strikePair[1] has no overs left";
    EXPECT_EQ(chosen, 3) << "the search by threat from the top";
}

TEST(BowlerChoice, QuotaIsWaivedForAnOverNobodyMayBowl)
{
    // Four bowlers have used up their overs and the fifth bowled the last one.
    for (int r : {4, 2}) {
        const std::uint32_t seed = findSeed([r](Lcg& g) { return g.below(5) == r; });
        Engine e;
        e.open(neverOut(), attack(), true, -1, 300, 1);
        Innings& inn = e.innings();
        inn.legalBalls = 240;
        inn.deliveries = 240;
        inn.bowler = 4;
        for (int b = 0; b < 4; ++b) inn.bowling[b].balls = 60;
        inn.bowling[4].balls = 6;
        for (int b = 0; b < 5; ++b) EXPECT_EQ(inn.mayBowl(b), 0);
        for (int b = 0; b < 4; ++b) EXPECT_EQ(inn.eligibleToBowl(b), 1) << "bowler " << b;
        EXPECT_EQ(inn.eligibleToBowl(4), 0);
        inn.rankBowlers();
        e.context().random.seed(seed);
        const int chosen = choose(e);
        EXPECT_EQ(chosen, r == 4 ? 0 : r) << "the random search from " << r << ", skipping the last bowler";
    }
}

TEST(BowlerChoice, ZeroAllowanceFirstChoiceMakesNoDeathOversDraw)
{
    Engine e;
    e.open(neverOut(), attack(), false, -1, 0, 9);
    const auto before = e.context().random.draws();
    EXPECT_EQ(e.innings().autoBowler(), 2);
    EXPECT_EQ(e.context().random.draws() - before, 1u);
}

TEST(BowlerChoice, TwoBowlersAlternateForAWholeTestInnings)
{
    Engine e;
    e.open(support::makeSide("Bat", "B", 5, 400, 90, 700), support::makeSide("Pair", "P", 2), false, -1, 2700, 17);
    Innings& inn = e.innings();
    while (!inn.closed) inn.deliver();
    const int overs = (inn.legalBalls + 5) / 6;
    ASSERT_GT(overs, 20);
    std::set<int> seen;
    int previous = -1;
    for (int k = 0; k < overs; ++k) {
        const int bowler = inn.ballRecord(inn.overStart(k)).bowlerPlayer;
        seen.insert(bowler);
        EXPECT_NE(bowler, previous) << "over " << k;
        previous = bowler;
    }
    EXPECT_EQ(seen.size(), 2u);
}
