// The delivery simulation. Extreme ratings force the outcome of a ball; for
// the finer cases the draws of the first delivery are predicted with the
// tests' own model of the generator. The first delivery of an innings makes
// one draw for the strike pair before its own draws d1, d2, ...
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "support.h"

using support::Engine;
using support::findSeed;
using support::Lcg;
using support::uniformSide;

namespace {

constexpr int kHuge = 1000000;

Team field()
{
    return support::makeSide("Field", "F", 5);
}

// Forces every stroke to bring `runs` (1..6) through run table rows 0 and 1.
void strokesOf(Engine& e, int runs)
{
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 6; ++i)
            e.context().runTables[row][i] = (i + 1 < runs) ? 0 : 1000;
}

// A legal ball that reaches the batsman: neither extra nor bye.
bool playedLegalBall(const BallRecord& r)
{
    return r.delivery == Legal && r.runKind != Byes && r.runKind != LegByes;
}

// A seed whose first delivery has no extra (d1) and no byes (d2); `more`
// checks the draws that follow the next `skip` ones.
std::uint32_t playedSeed(int skip, const std::function<bool(Lcg&)>& more = nullptr)
{
    return findSeed([&](Lcg& g) {
        g.below(1000);
        if (g.below(1000) < 25 || g.below(1000) < 15) return false;
        for (int i = 0; i < skip; ++i)
            g.below(1000);
        return !more || more(g);
    });
}

}  // namespace

TEST(Delivery, BeatenBatsmanIsOutUnlessSetAndSavedByHisSurvival)
{
    struct Case {
        const char* what;
        int survival, setBy;  // setBy: 1 eight balls faced, 2 eight runs, 0 new batsmen
        int wickets;
        bool beatenSeen;
    } cases[] = {
        {"a batsman not yet in is out whenever beaten, whatever his survival", 999, 0, 10, false},
        {"a set batsman with survival 999 is never out", 999, 1, 0, true},
        {"a set batsman without survival is out the first time he is beaten", -1, 2, 10, false},
    };
    for (const Case& c : cases) {
        Engine e;
        e.open(uniformSide(kHuge, kHuge, c.survival), field(), false, -1, 300, 5);
        Innings& inn = e.innings();
        for (int p : {0, 1})
            (c.setBy == 1 ? inn.batting[p].balls : inn.batting[p].runs) = c.setBy ? 8 : 0;
        int beaten = 0;
        while (!inn.closed) {
            const BallRecord r = e.deliverOne();
            beaten += r.event == Beaten;
            if (c.wickets == 10 && playedLegalBall(r)) {
                ASSERT_EQ(r.event, Wicket) << c.what;
            }
        }
        EXPECT_EQ(inn.wickets, c.wickets) << c.what;
        EXPECT_EQ(beaten > 250, c.beatenSeen) << c.what << ": " << beaten << " reprieves";
    }
}

TEST(Delivery, PitchSurfaceFavoursPaceOnAGreenTopAndSpinOnABarePitch)
{
    // A beaten-test draw d4 of 51..75 beats the batsman only when the bowler's threat gained 50 from the pitch.
    const std::uint32_t seed = playedSeed(1, [](Lcg& g) {
        const int d4 = g.below(1000);
        return d4 > 50 && d4 <= 75;
    });
    const int cases[][3] = {{100, 0, Wicket}, {100, 1, Scoring}, {0, 1, Wicket}, {0, 0, Scoring}, {50, 0, Scoring}};
    for (const auto& [surface, style, event] : cases) {
        Engine e;
        e.open(uniformSide(kHuge, 0, 0), support::makeSide("Field", "F", 5, 400, 120, 500, 100, style), true, -1, 300,
               seed);
        e.match->options().pitchSurface = surface;
        EXPECT_EQ(e.deliverOne().event, event) << "surface " << surface << ", style " << style;
    }
}

TEST(Delivery, ExtrasAreChargedAndFacedAsTheirKindSaysAndNeverChangeEnds)
{
    // After the strike pair's draw: d1 < 25 an extra, d2 < 500 a no-ball, else a wide;
    // a no-ball is hit when d3 < 300, a wide is of four when d3 < 25.
    struct Case {
        const char* what;
        int delivery, d3From, d3To, runs, batsmanRuns, faced, bowlerRuns;
    } cases[] = {
        {"a no-ball hit for four", NoBall, 0, 300, 4, 4, 1, 5},
        {"a wide of four", Wide, 0, 25, 4, 0, 0, 0},
        {"a wide of one", Wide, 25, 1000, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Engine e;
        e.open(uniformSide(400, 100, 500), field(), true, -1, 300, findSeed([&c](Lcg& g) {
                   g.below(1000);
                   const bool extra = g.below(1000) < 25, noBall = g.below(1000) < 500;
                   const int d3 = g.below(1000);
                   return extra && noBall == (c.delivery == NoBall) && d3 >= c.d3From && d3 < c.d3To;
               }));
        strokesOf(e, 4);
        const BallRecord r = e.deliverOne();
        const Innings& inn = e.innings();
        EXPECT_EQ(r.delivery, c.delivery) << c.what;
        EXPECT_EQ(r.runs, c.runs) << c.what;
        EXPECT_EQ(inn.runs, c.bowlerRuns + (c.delivery == Wide ? c.runs : 0)) << c.what;
        EXPECT_EQ(inn.noBalls + inn.wides, inn.runs - c.batsmanRuns) << c.what;
        EXPECT_EQ(inn.batting[0].runs, c.batsmanRuns) << c.what;
        EXPECT_EQ(inn.batting[0].fours, c.batsmanRuns == 4 ? 1 : 0) << c.what;
        EXPECT_EQ(inn.batting[0].balls, c.faced) << c.what << ": a no-ball counts as faced, a wide does not";
        EXPECT_EQ(inn.bowling[inn.bowler].runs, c.bowlerRuns) << c.what;
        EXPECT_EQ(inn.bowling[inn.bowler].balls + inn.legalBalls, 0) << c.what << " is no legal ball";
        EXPECT_EQ(inn.striker, 0) << c.what << ": the batsmen do not change ends";
    }
}

TEST(Delivery, NoOverHasMoreThanSixExtras)
{
    Engine e;
    e.open(uniformSide(400, -kHuge, 0), field(), false, -1, 2700, 3);
    Innings& inn = e.innings();
    int capped = 0;
    while (!inn.closed) {
        const bool newOver = inn.deliveries == 0 || (inn.legalBalls % 6 == 0 && inn.lastWasExtra == 0);
        if (!newOver) inn.overExtras = 6;
        const BallRecord r = e.deliverOne();
        if (!newOver) {
            ++capped;
            ASSERT_EQ(r.delivery, Legal) << "an extra after six in the over, delivery " << inn.deliveries;
        }
    }
    EXPECT_GT(capped, 2000);
}

TEST(Delivery, AtTheOverTheNonStrikerFacesAndTheBowlerChangesAlsoAfterAWicketOnTheSixthBall)
{
    // After a wicket the new batsman comes in where the striker was, and the
    // change of ends then gives him the non-striker's end; after a single the
    // batsmen have crossed and the change of ends brings the striker back.
    int wicketsOnSixth = 0, crossesOnSixth = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        Engine e;
        e.open(support::makeSide("Bat", "B", 5), field(), true, -1, 300, seed);
        Innings& inn = e.innings();
        while (!inn.closed) {
            const BallRecord last = e.deliverOne();
            if (inn.closed || last.delivery != Legal || inn.legalBalls % 6 != 0) continue;
            const int expected = inn.battingOrder[inn.nonStriker];
            wicketsOnSixth += last.event == Wicket;
            crossesOnSixth += last.event != Wicket && last.crossed;
            const BallRecord next = e.deliverOne();
            ASSERT_EQ(next.strikerPlayer, expected)
                << "seed " << seed << ", first ball of over " << inn.legalBalls / 6 + 1 << " after "
                << (last.event == Wicket ? "a wicket"
                    : last.crossed       ? "a crossing"
                                         : "no crossing");
            ASSERT_NE(next.bowlerPlayer, last.bowlerPlayer) << "seed " << seed;
        }
    }
    EXPECT_GT(wicketsOnSixth, 0);
    EXPECT_GT(crossesOnSixth, 0);
}

TEST(Delivery, WinningHitScoresOnlyTheRunsNeededButBoundariesInFull)
{
    const std::uint32_t plain = playedSeed(3);
    const std::uint32_t toFour = playedSeed(3, [](Lcg& g) { return g.below(1000) < 500 && g.below(1000) >= 100; });
    const std::uint32_t toSix = playedSeed(3, [](Lcg& g) { return g.below(1000) < 500 && g.below(1000) < 100; });
    const std::uint32_t toOne = playedSeed(3, [](Lcg& g) { return g.below(1000) >= 500; });
    struct Case {
        const char* what;
        std::uint32_t seed;
        int target, before, stroke;
        int runs, closed, fours, sixes;
    } cases[] = {
        {"one run wins: a two scores 1", plain, 180, 180, 2, 1, 1, 0, 0},
        {"a winning four counts in full", plain, 180, 180, 4, 4, 1, 1, 0},
        {"a winning six counts in full", plain, 180, 180, 6, 6, 1, 0, 1},
        {"two needed: a two scores 2", plain, 180, 179, 2, 2, 1, 0, 0},
        {"not yet winning", plain, 180, 170, 2, 2, 0, 0, 0},
        {"a winning three becomes a four", toFour, 180, 180, 3, 4, 1, 1, 0},
        {"a winning three becomes a six", toSix, 180, 180, 3, 6, 1, 0, 1},
        {"a winning three becomes a single", toOne, 180, 180, 3, 1, 1, 0, 0},
        {"a three that does not win draws nothing more", toFour, 180, 100, 3, 3, 0, 0, 0},
        {"target passed before: a two stays 2", plain, -5, 0, 2, 2, 1, 0, 0},
        {"target passed before: a one stays 1", plain, -2, 0, 1, 1, 1, 0, 0},
        {"target passed before: the three's draws keep a 3", toOne, -5, 0, 3, 3, 1, 0, 0},
        {"target passed before: the three's draws still make a 4", toFour, -5, 0, 3, 4, 1, 1, 0},
    };
    for (const Case& c : cases) {
        Engine e;
        e.open(uniformSide(kHuge, -kHuge, 0), field(), true, c.target, 300, c.seed);
        strokesOf(e, c.stroke);
        e.innings().runs = c.before;
        const BallRecord r = e.deliverOne();
        const Innings& inn = e.innings();
        EXPECT_EQ(r.runs, c.runs) << c.what;
        EXPECT_EQ(inn.runs, c.before + c.runs) << c.what;
        EXPECT_EQ(inn.batting[0].runs, c.runs) << c.what;
        EXPECT_EQ(inn.closed, c.closed) << c.what;
        EXPECT_EQ((r.flags & static_cast<int>(kInningsEnded)) != 0, c.closed == 1) << c.what;
        EXPECT_EQ(inn.batting[0].fours, c.fours) << c.what;
        EXPECT_EQ(inn.batting[0].sixes, c.sixes) << c.what;
        if (c.stroke == 2 && c.runs == 1) {
            EXPECT_EQ(r.crossed, 0) << "crossing follows the runs drawn";
        }
    }
}

// The engine needs no match: an innings plays on a context and two sides.
TEST(Delivery, AnInningsPlaysOutWithoutAMatch)
{
    EngineContext context;
    context.random.seed(11);
    const Team batting = support::loadData("harbour.xi"), bowling = support::loadData("upland.xi");
    Innings innings;
    innings.attach(context, nullptr);
    ASSERT_EQ(innings.start(batting, bowling, -1, 300), 1);
    for (int i = 0; i < 1000 && !innings.closed; ++i)
        innings.deliver();
    EXPECT_TRUE(innings.closed);
    EXPECT_TRUE(innings.wickets == 10 || innings.legalBalls == 300);
    EXPECT_GT(innings.runs, 0);
    EXPECT_STRNE(innings.commentaryLine(innings.overBall - 1), "");
}
