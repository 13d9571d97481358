// The report: every line format, the top-four orderings and the long output,
// checked on innings whose cards are filled in by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "support.h"

namespace {

std::string pad(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

const char* kHomeNames[11] = {"Ashdown",  "Brightwell", "Carrow", "Dunmore", "Elsworth", "Fairleigh",
                              "Gatcombe", "Hollins",    "Ivers",  "Jessop",  "Kettering"};
const char* kAwayNames[11] = {"Langley", "Marchant", "Jones", "Norwood", "Keeper", "Oldcastle",
                              "Smith",   "Brown",    "Green", "White",   "Black"};

// Home bat first and make 27 for 3 off 160 balls; Away never bat.
std::unique_ptr<Match> craftedMatch()
{
    auto m = std::make_unique<Match>();
    Team home = support::makeSide("Home", "H", 5), away = support::makeSide("Away", "A", 5);
    for (int i = 0; i < 11; ++i) {
        home.player(i)->setName(kHomeNames[i]);
        away.player(i)->setName(kAwayNames[i]);
    }
    m->setTeam(0, home);
    m->setTeam(1, away);
    m->inningsCount = 2;
    EXPECT_TRUE(m->startInnings(0, 0, 1));
    EXPECT_TRUE(m->startInnings(1, 1, 0));

    Innings& inn = m->innings[0];
    inn.batsmenIn = 5;
    for (int p = 0; p < 5; ++p) inn.battingOrder[p] = p;
    inn.batting[0] = BattingLine{5, 40, 1, 0, Dismissal{Caught, 0, 3}};
    inn.batting[1] = BattingLine{5, 35, 0, 0, Dismissal{Bowled, 1, 0}};
    inn.batting[2] = BattingLine{8, 60, 1, 0, Dismissal{NotOut, 0, 0}};
    inn.batting[3] = BattingLine{5, 35, 0, 1, Dismissal{Lbw, 0, 5}};
    inn.batting[4] = BattingLine{0, 12, 0, 0, Dismissal{NotOut, 0, 0}};
    inn.legByes = inn.byes = inn.wides = inn.noBalls = 1;
    inn.runs = 27;
    inn.wickets = 3;
    inn.legalBalls = 160;
    inn.bowling[0] = BowlingLine{60, 1, 10, 2};
    inn.bowling[1] = BowlingLine{60, 0, 8, 2};
    inn.bowling[3] = BowlingLine{40, 0, 5, 0};
    inn.fallOfWickets[0] = FallOfWicket{12, 1, 0, 8};
    inn.fallOfWickets[1] = FallOfWicket{15, 0, 2, 20};
    inn.fallOfWickets[2] = FallOfWicket{20, 3, 2, 100};
    return m;
}

}  // namespace

TEST(Report, WholeReportOfHandFilledInnings)
{
    auto m = craftedMatch();
    const std::string dnb = pad("Did Not Bat", 34);
    std::vector<std::string> expected = {
        "Home",
        "",
        pad("Ashdown", 16) + " " + pad("c Jones b Smith", 34) + " 005 (040) 001 000 ",
        pad("Brightwell", 16) + " " + pad("b Brown", 34) + " 005 (035) 000 000 ",
        pad("Carrow", 16) + " " + pad("Not Out", 34) + " 008 (060) 001 000 ",
        pad("Dunmore", 16) + " " + pad("lbw Smith", 34) + " 005 (035) 000 001 ",
        pad("Elsworth", 16) + " " + pad("Not Out", 34) + " 000 (012) 000 000 ",
    };
    for (int i = 5; i < 11; ++i) expected.push_back(pad(kHomeNames[i], 16) + " " + dnb);
    const std::vector<std::string> rest = {
        std::string(23, ' ') + "(  1=LB   1=B   1=W   1=NB)    4",
        std::string(52, ' ') + " 27/ 3 in  26.4 RunRate = 1.012",
        "",
        "Smith           010.0 001 010 02 ",
        "Brown           010.0 000 008 02 ",
        "White           006.4 000 005 00 ",
        "",
        "Fall of Wickets",
        " 1 - 012 [001.2] (+012) (Brightwell)  with Ashdown",
        " 2 - 015 [003.2] (+003) (Ashdown)  with Carrow",
        " 3 - 020 [016.4] (+005) (Dunmore)  with Carrow",
        "",
        "Outstanding performances in the inning",
        "",
        "Batting",
        "",
        "008 (060) Carrow",
        "005 (035) Brightwell",
        "005 (035) Dunmore",
        "005 (040) Ashdown",
        "",
        "Bowling",
        "",
        "02/008 (010.0) Brown",
        "02/010 (010.0) Smith",
        "00/005 (006.4) White",
        "00/000 (000.0) Green",
        "************",
        "Away",
        "",
    };
    expected.insert(expected.end(), rest.begin(), rest.end());
    for (int i = 0; i < 11; ++i) expected.push_back(pad(kAwayNames[i], 16) + " " + dnb);
    const std::vector<std::string> second = {
        std::string(23, ' ') + "(  0=LB   0=B   0=W   0=NB)    0",
        std::string(52, ' ') + "  0/ 0 in   0.0 RunRate = 0.000",
        "",
        "",
        "",
        "Outstanding performances in the inning",
        "",
        "Batting",
        "",
        "",
        "Bowling",
        "",
        "00/000 (000.0) Gatcombe",
        "00/000 (000.0) Hollins",
        "00/000 (000.0) Ivers",
        "00/000 (000.0) Jessop",
        "************",
        "",
        "Home defeated Away by 27 Run(s)",
    };
    expected.insert(expected.end(), second.begin(), second.end());

    const std::vector<std::string> actual = support::splitLines(support::reportOf(*m));
    ASSERT_EQ(actual.size(), expected.size()) << support::reportOf(*m);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << "report line " << i + 1;
}

TEST(Report, RunRateIsComputedInDoublePrecision)
{
    auto m = craftedMatch();
    for (auto [runs, balls, rate] :
         {std::tuple{27, 160, "1.012"}, std::tuple{1, 3, "2.000"}, std::tuple{301, 300, "6.020"}}) {
        m->innings[0].runs = runs;
        m->innings[0].legalBalls = balls;
        const std::string report = support::reportOf(*m);
        EXPECT_NE(report.find(std::string("RunRate = ") + rate + "\n"), std::string::npos)
            << runs << " runs in " << balls << " balls should show " << rate;
    }
}

TEST(Report, WideNumbersAreWrittenWhole)
{
    auto m = craftedMatch();
    Innings& inn = m->innings[0];
    inn.batting[2] = BattingLine{1234, 1500, 150, 12, Dismissal{NotOut, 0, 0}};
    inn.runs = 1266;
    inn.legalBalls = 6001;
    inn.bowling[0] = BowlingLine{6001, 120, 1234, 10};
    const std::string report = support::reportOf(*m);
    EXPECT_NE(report.find(" 1234 (1500) 150 012 \n"), std::string::npos);
    EXPECT_NE(report.find("1266/ 3 in 1000.1 RunRate = 1.266\n"), std::string::npos);
    EXPECT_NE(report.find("Smith           1000.1 120 1234 10 \n"), std::string::npos);
}

TEST(Report, TopFourBowlersIncludeThoseWhoDidNotBowlOnlyToFillPlaces)
{
    auto m = craftedMatch();
    Innings& inn = m->innings[0];
    inn.bowling[2] = BowlingLine{6, 0, 30, 0};
    inn.bowling[4] = BowlingLine{6, 0, 3, 0};
    const auto lines = support::splitLines(support::reportOf(*m));
    auto at = std::find(lines.begin(), lines.end(), "Bowling");
    ASSERT_NE(at, lines.end());
    const std::vector<std::string> top(at + 2, at + 6);
    const std::vector<std::string> expected = {"02/008 (010.0) Brown", "02/010 (010.0) Smith", "00/005 (006.4) White",
                                               "00/003 (001.0) Black"};
    EXPECT_EQ(top, expected) << "with equal wickets the lower runs per ball ranks higher";
}

TEST(Report, BallByBallLogOfTheLongOutput)
{
    auto m = craftedMatch();
    m->options().briefOutput = 0;
    Innings& inn = m->innings[0];
    // strikerPlayer, bowlerPlayer: Smith is fielding player 6, Brown 7.
    const BallRecord log[] = {
        {Scoring, Legal, Bat, 4, 0, 0, 6, 0, 0, 0},
        {Scoring, Wide, WideRun, 1, 0, 0, 6, 0, 0, 0},
        {Scoring, NoBall, BatOffNoBall, 4, 0, 0, 6, 0, 0, 0},
        {Scoring, NoBall, NoBallRun, 1, 0, 0, 6, 0, 0, 0},
        {Wicket, Legal, Bat, 2, 0, 0, 6, 0, 0, 0},
        {DotBall, Legal, NoRun, 0, 0, 1, 6, 0, 0, 0},
        {Beaten, Legal, NoRun, 0, 0, 1, 6, 0, 0, 0},
        {Scoring, Legal, Byes, 1, 1, 1, 6, 0, 0, 0},
        {Scoring, Legal, LegByes, 2, 0, 0, 6, 0, 0, 0},
        {Scoring, Legal, Bat, 1, 1, 0, 7, 0, 0, 0},
    };
    inn.deliveries = 10;
    for (int i = 0; i < 10; ++i) inn.setBallRecord(i, log[i]);
    const std::vector<std::string> expected = {
        "(Over #  1 Ball #1) Smith to Ashdown :: Batsman scored 4 run(s) [4/0]",
        "(Over #  1 Ball #2) Smith to Ashdown :: WideBall 1 run(s) [5/0]",
        "(Over #  1 Ball #2) Smith to Ashdown :: Batsman scored 4 run(s) off the no ball [10/0]",
        "(Over #  1 Ball #2) Smith to Ashdown :: NoBall 1 run [11/0]",
        "(Over #  1 Ball #2) Smith to Ashdown :: Out [13/1]",
        "(Over #  1 Ball #3) Smith to Brightwell :: No event [13/1]",
        "(Over #  1 Ball #4) Smith to Brightwell :: No event [13/1]",
        "(Over #  1 Ball #5) Smith to Brightwell :: Byes 1 run(s) [14/1]",
        "(Over #  1 Ball #6) Smith to Ashdown :: LegByes 2 run(s) [16/1]",
        "(Over #  2 Ball #1) Brown to Ashdown :: Batsman scored 1 run(s) [17/1]",
        "************ END OF INNING ************",
        "************",
        "",
        "Home",
    };
    const auto lines = support::splitLines(support::reportOf(*m));
    ASSERT_GE(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    const auto second = std::find(lines.begin() + 14, lines.end(), "************ END OF INNING ************");
    ASSERT_NE(second, lines.end()) << "an innings without deliveries still has its banner";
    EXPECT_EQ(*(second + 3), "Away");
}

TEST(Report, OverNumberIsRightAlignedInThreePlaces)
{
    auto m = craftedMatch();
    m->options().briefOutput = 0;
    Innings& inn = m->innings[0];
    inn.deliveries = 600;
    for (int i = 0; i < 600; ++i) inn.setBallRecord(i, BallRecord{DotBall, Legal, NoRun, 0, 0, 0, 6, 0, 0, 0});
    const auto lines = support::splitLines(support::reportOf(*m));
    EXPECT_EQ(lines[59].substr(0, 20), "(Over # 10 Ball #6) ");
    EXPECT_EQ(lines[599].substr(0, 20), "(Over #100 Ball #6) ");
}

TEST(Report, UnstartedInningsAreLeftOut)
{
    auto m = craftedMatch();
    m->inningsCount = 4;
    const std::string report = support::reportOf(*m);
    std::size_t blocks = 0;
    for (std::size_t at = report.find("Outstanding performances"); at != std::string::npos;
         at = report.find("Outstanding performances", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 2u);
}
