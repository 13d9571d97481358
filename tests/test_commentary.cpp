// The commentary lines that ordinary play (and so the golden files) does not
// reach, and the how-out text of a batsman.
#include <gtest/gtest.h>

#include <string>

#include "support.h"

using support::findSeed;
using support::Lcg;

namespace {

// Striker Jones (batting player 0) faces Smith (fielding player 6, bowler
// position 0); the fielding side's player 2, also called Jones, stands in
// fielder slot 3 (the keeper is player 4, in slot 0).
struct Booth {
    support::Engine e;

    Booth()
    {
        Team batting = support::makeSide("Bat", "B", 5), fielding = support::makeSide("Field", "F", 5);
        batting.player(0)->setName("Jones");
        fielding.player(6)->setName("Smith");
        fielding.player(2)->setName("Jones");
        e.open(batting, fielding, true, -1, 300, 1);
        e.innings().battingOrder[0] = e.innings().striker = e.innings().bowler = 0;
        e.innings().overBall = 1;
    }
    std::string say(int event, int delivery, int runKind, int runs, std::uint32_t seed = 1)
    {
        e.context().random.seed(seed);
        e.innings().commentate(BallRecord{event, delivery, runKind, runs, 0, 0, 0, 0, 0, 0});
        return e.innings().commentaryLine(0);
    }
    std::string howOut(int kind, int bowler, int fielder)
    {
        e.innings().batting[0].dismissal = Dismissal{kind, bowler, fielder};
        char out[Innings::kHowOutBytes];
        e.innings().dismissalText(0, out);
        return out;
    }
};

}  // namespace

TEST(Commentary, WicketThatLogsRunsStillShowsThemAndTheLongestLinesAreCutTo71Characters)
{
    Booth b;
    EXPECT_EQ(b.say(Wicket, Legal, Bat, 2), "Jones :Out 2 Run(s)");
    b.e.match->teams[0].player(0)->setName("Abcdefghijklmnopqrst");
    const std::uint32_t flickToDeepFineLeg = findSeed([](Lcg& g) { return g.below(5) == 0 && g.below(11) == 10; });
    const std::string full = "Abcdefghijklmno :NoBall  Flicks off the toes Deep Fine Leg ropes 4 Run(s)";
    EXPECT_EQ(b.say(Scoring, NoBall, BatOffNoBall, 4, flickToDeepFineLeg), full.substr(0, 71));
}

TEST(DismissalText, EveryKindReadsAsTheScorecardShowsIt)
{
    Booth b;
    const int smithSlot = 6, jonesSlot = 3;
    ASSERT_EQ(b.e.innings().fielders[smithSlot], 6);
    ASSERT_EQ(b.e.innings().fielders[jonesSlot], 2);
    struct Case {
        int kind, bowler, fielder;
        const char* text;
    } cases[] = {
        {Bowled, 0, jonesSlot, "b Smith"},
        {Lbw, 0, jonesSlot, "lbw Smith"},
        {HitWicket, 0, jonesSlot, "HitWkt Smith"},
        {Stumped, 0, jonesSlot, "st Smith"},
        {Caught, 0, jonesSlot, "c Jones b Smith"},
        {Caught, 0, smithSlot, "c & b Smith"},
        {RunOut, -1, jonesSlot, "Runout (Jones)"},
        {RunOut, 0, smithSlot, "Runout (Smith)"},
        {HandledBall, -1, 0, "Out : Handled the ball"},
        {RetiredHurt, -1, 0, "Retired hurt"},
        {NotOut, 0, 0, "Not Out"},
        {DidNotBat, 0, 0, "Did Not Bat"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(b.howOut(c.kind, c.bowler, c.fielder), c.text) << "kind " << c.kind;

    b.e.match->teams[1].player(6)->setName("BowlerBowlerBow");
    b.e.match->teams[1].player(2)->setName("FielderFielderF");
    EXPECT_EQ(b.howOut(Caught, 0, jonesSlot), "c FielderFielderF b BowlerBowlerBow") << "the longest text fits";
}
