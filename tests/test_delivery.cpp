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

std::vector<BallRecord> playOut(Engine& e, int limit = 20000)
{
    std::vector<BallRecord> log;
    while (!e.innings().closed && limit-- > 0) log.push_back(e.deliverOne());
    return log;
}

int countEvents(const std::vector<BallRecord>& log, int event)
{
    int n = 0;
    for (const BallRecord& r : log) n += r.event == event;
    return n;
}

// A legal ball that reaches the batsman: neither extra nor bye.
bool playedLegalBall(const BallRecord& r) { return r.delivery == Legal && r.runKind != Byes && r.runKind != LegByes; }

}  // namespace

TEST(Delivery, BatsmanWhoAlwaysPlaysAndIsNeverBeatenScoresOffEveryBallHeFaces)
{
    Engine e;
    e.open(uniformSide("Bat", "B", kHuge, -kHuge, 0), support::makeSide("Field", "F", 5), false, -1, 600, 7);
    const auto log = playOut(e);
    EXPECT_EQ(e.innings().legalBalls, 600);
    EXPECT_EQ(e.innings().wickets, 0);
    EXPECT_EQ(countEvents(log, DotBall), 0);
    EXPECT_EQ(countEvents(log, Beaten), 0);
    EXPECT_EQ(countEvents(log, Wicket), 0);
    int strokes = 0;
    for (const BallRecord& r : log)
        if (playedLegalBall(r)) {
            EXPECT_EQ(r.runKind, Bat);
            ++strokes;
        }
    EXPECT_GT(strokes, 500);
}

TEST(Delivery, BatsmanWhoNeverPlaysOnlyScoresOffHitNoBallsAndEveryOtherOverIsAMaiden)
{
    Engine e;
    e.open(uniformSide("Bat", "B", -kHuge, 0, 0), support::makeSide("Field", "F", 5), false, -1, 300, 21);
    const auto log = playOut(e);
    Innings& inn = e.innings();
    ASSERT_EQ(inn.legalBalls, 300);
    int oversWithHitNoBall = 0, charged = 0;
    for (int over = 0; over < 50; ++over) {
        const int end = over + 1 < 50 ? inn.overStart(over + 1) : inn.deliveries;
        bool hit = false;
        for (int i = inn.overStart(over); i < end; ++i) {
            const BallRecord& r = log[i];
            if (playedLegalBall(r)) {
                EXPECT_EQ(r.event, DotBall) << "delivery " << i;
            }
            if (r.runKind == BatOffNoBall) {
                hit = true;
                charged += r.runs + 1;
            }
        }
        oversWithHitNoBall += hit;
    }
    int maidens = 0, bowlerRuns = 0;
    for (int b = 0; b < 5; ++b) {
        maidens += inn.bowling[b].maidens;
        bowlerRuns += inn.bowling[b].runs;
    }
    EXPECT_EQ(maidens, 50 - oversWithHitNoBall) << "wides, unhit no-balls and byes must not spoil a maiden";
    EXPECT_EQ(bowlerRuns, charged);
}

TEST(Delivery, BatsmanNotYetInIsOutWheneverBeatenWhateverHisSurvival)
{
    Engine e;
    e.open(uniformSide("Bat", "B", kHuge, kHuge, 999), support::makeSide("Field", "F", 5), false, -1, 600, 5);
    const auto log = playOut(e);
    EXPECT_EQ(e.innings().wickets, 10);
    EXPECT_EQ(countEvents(log, Beaten), 0);
    EXPECT_EQ(log.back().flags & static_cast<int>(kInningsEnded), 0) << "all out is not flagged as an innings end";
    for (const BallRecord& r : log) {
        if (playedLegalBall(r)) {
            EXPECT_EQ(r.event, Wicket);
        }
    }
}

TEST(Delivery, SetBatsmanWithSurvival999IsNeverOut)
{
    Engine e;
    e.open(uniformSide("Bat", "B", kHuge, kHuge, 999), support::makeSide("Field", "F", 5), false, -1, 300, 5);
    e.innings().batting[0].balls = 8;
    e.innings().batting[1].balls = 8;
    const auto log = playOut(e);
    EXPECT_EQ(e.innings().wickets, 0);
    EXPECT_EQ(e.innings().legalBalls, 300);
    EXPECT_GT(countEvents(log, Beaten), 250);
}

TEST(Delivery, SetBatsmanWithoutSurvivalIsOutTheFirstTimeHeIsBeaten)
{
    Engine e;
    e.open(uniformSide("Bat", "B", kHuge, kHuge, -1), support::makeSide("Field", "F", 5), false, -1, 300, 5);
    e.innings().batting[0].runs = 8;
    e.innings().batting[1].runs = 8;
    const auto log = playOut(e);
    EXPECT_EQ(countEvents(log, Beaten), 0);
    EXPECT_EQ(e.innings().wickets, 10);
}

TEST(Delivery, LastFifthOfAOneDayInningsSetsTheActivityRegardlessOfRatings)
{
    for (int tempo : {-kHuge, kHuge}) {
        Engine e;
        e.open(uniformSide("Bat", "B", tempo, -kHuge, 0), support::makeSide("Field", "F", 5), true, -1, 300, 99);
        const auto log = playOut(e);
        int legal = 0, earlyAction = 0, earlyDots = 0, lateAction = 0, lateDots = 0;
        for (const BallRecord& r : log) {
            if (playedLegalBall(r)) {
                const bool late = legal >= 240;
                const bool dot = r.event == DotBall;
                (late ? (dot ? lateDots : lateAction) : (dot ? earlyDots : earlyAction))++;
            }
            legal += r.delivery == Legal;
        }
        if (tempo < 0) {
            EXPECT_EQ(earlyAction, 0) << "a batsman who never plays plays nothing before the last fifth";
            EXPECT_GT(lateAction, 10) << "in the last fifth the activity no longer depends on him";
        } else {
            EXPECT_EQ(earlyDots, 0);
            EXPECT_GT(lateDots, 5) << "in the last fifth even a batsman who always plays lets balls go";
        }
    }
}

TEST(Delivery, TestMatchScalesTheActivityLevel)
{
    // Tempo 550 + 450 on a neutral pitch: A = 1000 in a one-day match, 570 in a Test.
    const std::uint32_t seed = findSeed([](Lcg& g) {
        g.below(1000);
        if (g.below(1000) < 25 || g.below(1000) < 15) return false;
        const int d3 = g.below(1000);
        return d3 >= 285 && d3 < 500;
    });
    ASSERT_NE(seed, 0u);
    const Team batting = uniformSide("Bat", "B", 450, -kHuge, 0);
    const Team bowling = uniformSide("Field", "F", 0, 0, 0, 550, 100, 0);
    Engine oneDay, test;
    oneDay.open(batting, bowling, true, -1, 300, seed);
    test.open(batting, bowling, false, -1, 2700, seed);
    EXPECT_EQ(oneDay.deliverOne().event, Scoring);
    EXPECT_EQ(test.deliverOne().event, DotBall);
}

TEST(Delivery, PitchSurfaceFavoursPaceOnAGreenTopAndSpinOnABarePitch)
{
    // A beaten-test draw d4 between 51 and 75 beats the batsman only when the
    // bowler's threat has gained 50 from the pitch.
    const std::uint32_t seed = findSeed([](Lcg& g) {
        g.below(1000);
        if (g.below(1000) < 25 || g.below(1000) < 15) return false;
        g.below(1000);
        const int d4 = g.below(1000);
        return d4 > 50 && d4 <= 75;
    });
    ASSERT_NE(seed, 0u);
    struct Case {
        int surface, style, event;
    } cases[] = {
        {100, 0, Wicket}, {100, 7, Wicket}, {100, 2, Scoring}, {100, 1, Scoring},
        {0, 1, Wicket},   {0, 0, Scoring},  {0, 2, Scoring},   {50, 0, Scoring},
    };
    for (const Case& c : cases) {
        Engine e;
        e.open(uniformSide("Bat", "B", kHuge, 0, 0), uniformSide("Field", "F", 0, 0, 0, 300, 100, c.style), true, -1,
               300, seed);
        e.match->options().pitchSurface = c.surface;
        EXPECT_EQ(e.deliverOne().event, c.event) << "surface " << c.surface << ", style " << c.style;
    }
}

TEST(Delivery, NoBallHitForFourChargesTheBowlerFiveAndIsNoLegalBall)
{
    const std::uint32_t seed = findSeed([](Lcg& g) {
        g.below(1000);
        return g.below(1000) < 25 && g.below(1000) < 500 && g.below(1000) < 300;
    });
    ASSERT_NE(seed, 0u);
    Engine e;
    e.open(uniformSide("Bat", "B", 400, 100, 500), support::makeSide("Field", "F", 5), true, -1, 300, seed);
    e.strokesOf(4);
    const BallRecord r = e.deliverOne();
    const Innings& inn = e.innings();
    EXPECT_EQ(r.delivery, NoBall);
    EXPECT_EQ(r.runKind, BatOffNoBall);
    EXPECT_EQ(r.runs, 4);
    EXPECT_EQ(inn.batting[0].runs, 4);
    EXPECT_EQ(inn.batting[0].fours, 1);
    EXPECT_EQ(inn.batting[0].balls, 1) << "a no-ball counts as faced";
    EXPECT_EQ(inn.bowling[inn.bowler].runs, 5);
    EXPECT_EQ(inn.bowling[inn.bowler].balls, 0);
    EXPECT_EQ(inn.overRuns, 5);
    EXPECT_EQ(inn.noBalls, 1);
    EXPECT_EQ(inn.runs, 5);
    EXPECT_EQ(inn.legalBalls, 0);
    EXPECT_EQ(inn.overExtras, 1);
    EXPECT_EQ(inn.lastWasExtra, 1);
    EXPECT_EQ(r.scoreAfter, 5);
}

TEST(Delivery, WidesCostTheBowlerNothingAndNobodyChangesEnds)
{
    const std::uint32_t four = findSeed([](Lcg& g) {
        g.below(1000);
        return g.below(1000) < 25 && g.below(1000) >= 500 && g.below(1000) < 25;
    });
    const std::uint32_t one = findSeed([](Lcg& g) {
        g.below(1000);
        return g.below(1000) < 25 && g.below(1000) >= 500 && g.below(1000) >= 25;
    });
    ASSERT_NE(four, 0u);
    ASSERT_NE(one, 0u);
    for (auto [seed, runs] : {std::pair{four, 4}, std::pair{one, 1}}) {
        Engine e;
        e.open(uniformSide("Bat", "B", 400, 100, 500), support::makeSide("Field", "F", 5), true, -1, 300, seed);
        const BallRecord r = e.deliverOne();
        const Innings& inn = e.innings();
        EXPECT_EQ(r.delivery, Wide);
        EXPECT_EQ(r.runKind, WideRun);
        EXPECT_EQ(r.runs, runs);
        EXPECT_EQ(r.crossed, 0);
        EXPECT_EQ(inn.wides, runs);
        EXPECT_EQ(inn.runs, runs);
        EXPECT_EQ(inn.batting[0].balls, 0) << "a wide is not a ball faced";
        EXPECT_EQ(inn.bowling[inn.bowler].runs, 0);
        EXPECT_EQ(inn.bowling[inn.bowler].balls, 0);
        EXPECT_EQ(inn.overRuns, 0);
        EXPECT_EQ(inn.striker, 0) << "the batsmen do not change ends on a wide of " << runs;
    }
}

TEST(Delivery, WicketWithLoggedRunsScoresNothingAndTheNewBatsmanTakesStrike)
{
    // d1 no extra, d2 no byes, d3 plays, d4 beaten, d6 < 50, d7 >= 900, d8 < 500: one run logged.
    const std::uint32_t seed = findSeed([](Lcg& g) {
        g.below(1000);
        if (g.below(1000) < 25 || g.below(1000) < 15) return false;
        g.below(1000);
        g.below(1000);
        return g.below(1000) < 50 && g.below(1000) >= 900 && g.below(1000) < 500;
    });
    ASSERT_NE(seed, 0u);
    Lcg model(seed);
    for (int i = 0; i < 8; ++i) model.below(1000);
    const int band = model.below(1000);
    const int fielder = model.below(11);
    const int thresholds[8] = {500, 662, 822, 922, 997, 998, 999, 1000};
    const int kinds[8] = {Caught, Bowled, Lbw, Caught, RunOut, HitWicket, RetiredHurt, HandledBall};
    int kind = HandledBall;
    for (int i = 7; i >= 0; --i)
        if (band < thresholds[i]) kind = kinds[i];

    Engine e;
    e.open(uniformSide("Bat", "B", kHuge, kHuge, 0), support::makeSide("Field", "F", 5), true, -1, 300, seed);
    const BallRecord r = e.deliverOne();
    Innings& inn = e.innings();
    EXPECT_EQ(r.event, Wicket);
    EXPECT_EQ(r.runKind, Bat);
    EXPECT_EQ(r.runs, 1);
    EXPECT_EQ(r.crossed, 1);
    EXPECT_EQ(inn.runs, 0) << "runs logged with a wicket are never scored";
    EXPECT_EQ(inn.batting[0].runs, 0);
    EXPECT_EQ(inn.bowling[inn.bowler].runs, 0);
    EXPECT_EQ(r.scoreAfter, 0);
    EXPECT_EQ(r.wicketsAfter, 1);
    EXPECT_EQ(inn.striker, 0) << "a wicket never changes ends";
    EXPECT_EQ(inn.needBatsman, 1);
    EXPECT_EQ(inn.batting[0].dismissal.kind, kind);
    EXPECT_EQ(inn.batting[0].dismissal.fielder, fielder);
    EXPECT_EQ(inn.batting[0].dismissal.bowler, creditsBowler(kind) ? inn.bowler : -1);
    EXPECT_EQ(inn.bowling[inn.bowler].wickets, creditsBowler(kind) ? 1 : 0);
    FallOfWicket f;
    inn.fallOfWicket(0, f);
    EXPECT_EQ(f.score, 0);
    EXPECT_EQ(f.outPlayer, 0);
    EXPECT_EQ(f.partnerPlayer, 1);
    EXPECT_EQ(f.ball, 0);

    const BallRecord next = e.deliverOne();
    EXPECT_EQ(inn.battingOrder[2], 2);
    EXPECT_EQ(next.strikerPlayer, 2) << "the new batsman replaces the striker, who was out";
    EXPECT_EQ(inn.batsmenIn, 3);
}

TEST(Delivery, ZeroAllowanceClosesAfterOneDeliveryWhateverItIs)
{
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        Engine e;
        e.open(support::makeSide("Bat", "B", 5), support::makeSide("Field", "F", 5), false, -1, 0, seed);
        const BallRecord r = e.deliverOne();
        EXPECT_EQ(e.innings().closed, 1) << "seed " << seed;
        EXPECT_EQ(e.innings().deliveries, 1);
        EXPECT_NE(r.flags & static_cast<int>(kInningsEnded), 0) << "seed " << seed;
    }
}

TEST(Delivery, NoOverHasMoreThanSixExtras)
{
    Engine e;
    e.open(uniformSide("Bat", "B", 400, -kHuge, 0), support::makeSide("Field", "F", 5), false, -1, 2700, 3);
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

namespace {

// The first delivery with no extra and no byes; `more` checks the draws
// after the stroke's run draw.
std::uint32_t strokeSeed(const std::function<bool(Lcg&)>& more = nullptr)
{
    return findSeed([&](Lcg& g) {
        g.below(1000);
        if (g.below(1000) < 25 || g.below(1000) < 15) return false;
        g.below(1000);
        g.below(1000);
        g.below(1000);
        return !more || more(g);
    });
}

struct Hit {
    BallRecord record;
    int runs, batsmanRuns, fours, sixes, closed;
};

Hit winningHit(std::uint32_t seed, int target, int runsBefore, int stroke)
{
    Engine e;
    e.open(uniformSide("Bat", "B", kHuge, -kHuge, 0), support::makeSide("Field", "F", 5), true, target, 300, seed);
    e.strokesOf(stroke);
    e.innings().runs = runsBefore;
    Hit h;
    h.record = e.deliverOne();
    const Innings& inn = e.innings();
    h.runs = inn.runs;
    h.batsmanRuns = inn.batting[0].runs;
    h.fours = inn.batting[0].fours;
    h.sixes = inn.batting[0].sixes;
    h.closed = inn.closed;
    return h;
}

}  // namespace

TEST(Delivery, WinningHitScoresOnlyTheRunsNeededButBoundariesInFull)
{
    const std::uint32_t seed = strokeSeed();
    ASSERT_NE(seed, 0u);
    Hit two = winningHit(seed, 180, 180, 2);
    EXPECT_EQ(two.record.runs, 1);
    EXPECT_EQ(two.runs, 181);
    EXPECT_EQ(two.batsmanRuns, 1);
    EXPECT_EQ(two.closed, 1);
    EXPECT_NE(two.record.flags & static_cast<int>(kInningsEnded), 0);
    EXPECT_EQ(two.record.crossed, 0) << "crossing follows the runs drawn, not the runs scored";

    Hit four = winningHit(seed, 180, 180, 4);
    EXPECT_EQ(four.record.runs, 4);
    EXPECT_EQ(four.runs, 184);
    EXPECT_EQ(four.fours, 1);

    Hit six = winningHit(seed, 180, 180, 6);
    EXPECT_EQ(six.runs, 186);
    EXPECT_EQ(six.sixes, 1);

    Hit needTwo = winningHit(seed, 180, 179, 2);
    EXPECT_EQ(needTwo.record.runs, 2);
    EXPECT_EQ(needTwo.closed, 1);

    Hit short_ = winningHit(seed, 180, 170, 2);
    EXPECT_EQ(short_.record.runs, 2);
    EXPECT_EQ(short_.closed, 0);
}

TEST(Delivery, WinningThreeBecomesABoundaryHalfTheTime)
{
    const std::uint32_t toFour = strokeSeed([](Lcg& g) { return g.below(1000) < 500 && g.below(1000) >= 100; });
    const std::uint32_t toSix = strokeSeed([](Lcg& g) { return g.below(1000) < 500 && g.below(1000) < 100; });
    const std::uint32_t toOne = strokeSeed([](Lcg& g) { return g.below(1000) >= 500; });
    ASSERT_NE(toFour, 0u);
    ASSERT_NE(toSix, 0u);
    ASSERT_NE(toOne, 0u);
    Hit four = winningHit(toFour, 180, 180, 3);
    EXPECT_EQ(four.record.runs, 4);
    EXPECT_EQ(four.fours, 1);
    Hit six = winningHit(toSix, 180, 180, 3);
    EXPECT_EQ(six.record.runs, 6);
    EXPECT_EQ(six.sixes, 1);
    Hit one = winningHit(toOne, 180, 180, 3);
    EXPECT_EQ(one.record.runs, 1);
    EXPECT_EQ(one.runs, 181);
    Hit plain = winningHit(toFour, 180, 100, 3);
    EXPECT_EQ(plain.record.runs, 3) << "a three that does not win draws nothing more";
}

TEST(Delivery, TargetAlreadyPassedNeverBooksZeroOrNegativeRuns)
{
    const std::uint32_t plainSeed = strokeSeed();
    const std::uint32_t threeStays = strokeSeed([](Lcg& g) { return g.below(1000) >= 500; });
    const std::uint32_t threeToFour = strokeSeed([](Lcg& g) { return g.below(1000) < 500 && g.below(1000) >= 100; });
    Hit two = winningHit(plainSeed, -5, 0, 2);
    EXPECT_EQ(two.record.runs, 2);
    EXPECT_EQ(two.runs, 2);
    EXPECT_EQ(two.closed, 1);
    Hit one = winningHit(plainSeed, -2, 0, 1);
    EXPECT_EQ(one.record.runs, 1);
    Hit three = winningHit(threeStays, -5, 0, 3);
    EXPECT_EQ(three.record.runs, 3);
    EXPECT_EQ(three.batsmanRuns, 3);
    Hit four = winningHit(threeToFour, -5, 0, 3);
    EXPECT_EQ(four.record.runs, 4) << "the draws for a winning three are still made";
}
