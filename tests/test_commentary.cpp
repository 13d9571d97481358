// The commentary line of a delivery and the how-out text of a batsman.
#include <gtest/gtest.h>

#include <string>

#include "support.h"

using support::Engine;
using support::findSeed;
using support::Lcg;

namespace {

// Striker Jones (batting player 0) faces Smith (fielding player 6, bowler
// position 0); the fielding side's player 2, also called Jones, stands in
// fielder slot 3 (the keeper is player 4, in slot 0).
struct Booth {
    Engine e;

    explicit Booth(int smithStyle = 0)
    {
        Team batting = support::makeSide("Bat", "B", 5);
        batting.player(0)->setName("Jones");
        Team fielding = support::makeSide("Field", "F", 5);
        fielding.player(6)->setName("Smith");
        fielding.player(6)->bowlStyle = smithStyle;
        fielding.player(2)->setName("Jones");
        e.open(batting, fielding, true, -1, 300, 1);
        Innings& inn = e.innings();
        inn.battingOrder[0] = 0;
        inn.battingOrder[1] = 1;
        inn.batsmenIn = 2;
        inn.striker = 0;
        inn.nonStriker = 1;
        inn.bowler = 0;
        inn.overBall = 1;
    }

    std::string say(int event, int delivery, int runKind, int runs, std::uint32_t seed = 1)
    {
        BallRecord r;
        r.event = event;
        r.delivery = delivery;
        r.runKind = runKind;
        r.runs = runs;
        e.context().random.seed(seed);
        e.innings().commentate(r);
        return e.innings().commentaryLine(0);
    }

    std::string howOut(int kind, int bowler, int fielder)
    {
        e.innings().batting[0].dismissal = Dismissal{kind, bowler, fielder};
        char out[48];
        e.innings().dismissalText(0, out);
        return out;
    }
};

std::uint32_t seedFor(int phraseOrRow, int phraseRange, int row = -1, int rowRange = 11)
{
    return findSeed(
        [=](Lcg& g) { return g.below(phraseRange) == phraseOrRow && (row < 0 || g.below(rowRange) == row); });
}

}  // namespace

TEST(Commentary, ExampleLinesOfEachKindOfDelivery)
{
    Booth b;
    EXPECT_EQ(b.say(Scoring, Legal, Bat, 4, seedFor(0, 5, 2)), "Jones : Drives stylishly to Cover boundary 4 Run(s)");
    EXPECT_EQ(b.say(DotBall, Legal, NoRun, 0, findSeed([](Lcg& g) { return g.below(1000) < 250; })),
              "Jones :through to the keeper");
    EXPECT_EQ(b.say(Wicket, Legal, NoRun, 0), "Jones :Out");
    EXPECT_EQ(b.say(Scoring, Wide, WideRun, 1), "Jones :WideBall 1 Run(s)");
    EXPECT_EQ(b.say(Scoring, Wide, WideRun, 4), "Jones :WideBall 4 Run(s)");
    EXPECT_EQ(
        b.say(Scoring, NoBall, NoBallRun, 1, findSeed([](Lcg& g) { return g.below(1000) >= 250 && g.below(11) == 1; })),
        "Jones :NoBall fielded at Point 1 Run(s)");
    EXPECT_EQ(b.say(Scoring, NoBall, BatOffNoBall, 2, seedFor(1, 5, 8)), "Jones :NoBall  Pulls to Square Leg 2 Run(s)");
    EXPECT_EQ(b.say(Beaten, Legal, NoRun, 0, seedFor(0, 4)), "Jones :was almost bowled.");
    EXPECT_EQ(b.say(Beaten, Legal, NoRun, 0, seedFor(3, 4)), "Jones :appeal for caught behind, rejected.");
    EXPECT_EQ(b.say(Scoring, Legal, Byes, 2), "Jones :Byes 2 Run(s)");
    EXPECT_EQ(b.say(Scoring, Legal, LegByes, 1), "Jones :LegByes 1 Run(s)");
    EXPECT_EQ(
        b.say(DotBall, Legal, NoRun, 0, findSeed([](Lcg& g) { return g.below(1000) >= 250 && g.below(11) == 10; })),
        "Jones :fielded at gully");
}

TEST(Commentary, WicketThatLogsRunsStillShowsThem)
{
    Booth b;
    EXPECT_EQ(b.say(Wicket, Legal, Bat, 2), "Jones :Out 2 Run(s)");
}

TEST(Commentary, SixesGoToTheBoundaryRowsFromExtraCoverRound)
{
    Booth b;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        Lcg g(seed);
        const int row = 3 + g.below(8);
        const char* positions[] = {"",
                                   "",
                                   "",
                                   "Extra Cover fence",
                                   "Long Off fence",
                                   "Bowler back",
                                   "Long On ropes",
                                   "Midwicket boundary",
                                   "Square Leg fence",
                                   "Long Leg fence",
                                   "Deep Fine Leg ropes"};
        const char* phrases[] = {"",
                                 "",
                                 "",
                                 "Lofts over",
                                 "Hoists over",
                                 "Hoists over",
                                 "Lofts over",
                                 "Swings over",
                                 "Swings over",
                                 "Hooks over",
                                 "Hooks over"};
        EXPECT_EQ(b.say(Scoring, Legal, Bat, 6, seed),
                  std::string("Jones : ") + phrases[row] + " " + positions[row] + " 6 Run(s)")
            << "seed " << seed;
    }
}

TEST(Commentary, HooksOffASpinnerBecomeSweepsOrSwings)
{
    const std::uint32_t sixRow9 = findSeed([](Lcg& g) { return g.below(8) == 6; });
    const std::uint32_t sixRow10 = findSeed([](Lcg& g) { return g.below(8) == 7; });
    const std::uint32_t fourRow9Hook = seedFor(3, 5, 9);
    const std::uint32_t twoRow10Hook = seedFor(3, 5, 10);
    Booth spin(1), pace(0), neutral(2);
    EXPECT_EQ(spin.say(Scoring, Legal, Bat, 6, sixRow9), "Jones : Swings over Long Leg fence 6 Run(s)");
    EXPECT_EQ(spin.say(Scoring, Legal, Bat, 6, sixRow10), "Jones : Swings over Deep Fine Leg ropes 6 Run(s)");
    EXPECT_EQ(spin.say(Scoring, Legal, Bat, 4, fourRow9Hook), "Jones : Sweeps to Long Leg fence 4 Run(s)");
    EXPECT_EQ(spin.say(Scoring, Legal, Bat, 2, twoRow10Hook), "Jones : Sweeps to Fine Leg 2 Run(s)");
    EXPECT_EQ(pace.say(Scoring, Legal, Bat, 6, sixRow9), "Jones : Hooks over Long Leg fence 6 Run(s)")
        << "the replacement must not stick to the table";
    EXPECT_EQ(pace.say(Scoring, Legal, Bat, 4, fourRow9Hook), "Jones : Hooks over Long Leg fence 4 Run(s)");
    EXPECT_EQ(neutral.say(Scoring, Legal, Bat, 2, twoRow10Hook), "Jones : Hooks over Fine Leg 2 Run(s)");
}

TEST(Commentary, LineIsStoredAtTheBallsPlaceInTheOver)
{
    Booth b;
    b.e.innings().overBall = 12;
    BallRecord r;
    r.event = Wicket;
    b.e.innings().commentate(r);
    EXPECT_STREQ(b.e.innings().commentaryLine(11), "Jones :Out");
    EXPECT_STREQ(b.e.innings().commentaryLine(0), "");
}

TEST(Commentary, LongestLinesAreCutTo71Characters)
{
    Booth b;
    b.e.match->teams[0].player(0)->setName("Abcdefghijklmnopqrst");
    const std::string full = "Abcdefghijklmno :NoBall  Flicks off the toes Deep Fine Leg ropes 4 Run(s)";
    ASSERT_GT(full.size(), 71u);
    const std::string line = b.say(Scoring, NoBall, BatOffNoBall, 4, seedFor(0, 5, 10));
    EXPECT_EQ(line, full.substr(0, 71));
    EXPECT_EQ(line.size(), 71u);
}

TEST(Commentary, CommentaryDrawsAreMadeForEveryKindOfLine)
{
    struct Case {
        int event, delivery, runKind, runs;
        unsigned draws;
    } cases[] = {
        {DotBall, Legal, NoRun, 0, Lcg(5).below(1000) < 250 ? 1u : 2u},
        {Beaten, Legal, NoRun, 0, 1},
        {Wicket, Legal, NoRun, 0, 0},
        {Scoring, Legal, Bat, 6, 1},
        {Scoring, Legal, Bat, 4, 2},
        {Scoring, Legal, Bat, 1, 2},
        {Scoring, Wide, WideRun, 1, 0},
        {Scoring, Legal, LegByes, 2, 0},
        {Scoring, NoBall, BatOffNoBall, 3, 2},
    };
    Booth b;
    for (const Case& c : cases) {
        const auto before = b.e.context().random.draws();
        b.say(c.event, c.delivery, c.runKind, c.runs, 5);
        // say() reseeds, which does not count as a draw.
        EXPECT_EQ(b.e.context().random.draws() - before, c.draws) << "event " << c.event << " kind " << c.runKind;
    }
    const auto before = b.e.context().random.draws();
    b.say(Scoring, NoBall, NoBallRun, 1, findSeed([](Lcg& g) { return g.below(1000) >= 250; }));
    EXPECT_EQ(b.e.context().random.draws() - before, 2u) << "an unhit no-ball draws the fielding phrase";
}

TEST(DismissalText, EveryKindReadsAsTheScorecardShowsIt)
{
    Booth b;
    const int smithSlot = 6, jonesSlot = 3;
    ASSERT_EQ(b.e.innings().fielders[smithSlot], 6);
    ASSERT_EQ(b.e.innings().fielders[jonesSlot], 2);
    EXPECT_EQ(b.howOut(Bowled, 0, jonesSlot), "b Smith");
    EXPECT_EQ(b.howOut(Lbw, 0, jonesSlot), "lbw Smith");
    EXPECT_EQ(b.howOut(HitWicket, 0, jonesSlot), "HitWkt Smith");
    EXPECT_EQ(b.howOut(Stumped, 0, jonesSlot), "st Smith");
    EXPECT_EQ(b.howOut(Caught, 0, jonesSlot), "c Jones b Smith");
    EXPECT_EQ(b.howOut(Caught, 0, smithSlot), "c & b Smith");
    EXPECT_EQ(b.howOut(RunOut, -1, jonesSlot), "Runout (Jones)");
    EXPECT_EQ(b.howOut(RunOut, -1, smithSlot), "Runout (Smith)") << "a run out names the fielder, never the bowler";
    EXPECT_EQ(b.howOut(HandledBall, -1, 0), "Out : Handled the ball");
    EXPECT_EQ(b.howOut(RetiredHurt, -1, 0), "Retired hurt");
    EXPECT_EQ(b.howOut(NotOut, 0, 0), "Not Out");
    EXPECT_EQ(b.howOut(DidNotBat, 0, 0), "Did Not Bat");
    EXPECT_EQ(b.howOut(42, 0, 0), "");
}

TEST(DismissalText, LongestTextHoldsTwoFifteenCharacterNames)
{
    Booth b;
    b.e.match->teams[1].player(6)->setName("BowlerBowlerBow");
    b.e.match->teams[1].player(2)->setName("FielderFielderF");
    EXPECT_EQ(b.howOut(Caught, 0, 3), "c FielderFielderF b BowlerBowlerBow");
}
