// The report's cases that ordinary play does not reach, on innings whose
// cards are filled in by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/text_buffer.h"
#include "support.h"

namespace {

// Home bat first and make 27 for 1 off 160 balls; Away never bat. Bowler
// positions 0..4 are players 6..10 of each side (AG..AK for Away).
std::unique_ptr<Match> craftedMatch()
{
    auto m = std::make_unique<Match>();
    m->setTeam(0, support::makeSide("Home", "H", 5));
    m->setTeam(1, support::makeSide("Away", "A", 5));
    m->inningsCount = 2;
    EXPECT_TRUE(m->startInnings(0, 0, 1));
    EXPECT_TRUE(m->startInnings(1, 1, 0));
    Innings& inn = m->innings[0];
    inn.batsmenIn = 2;
    inn.battingOrder[0] = 0;
    inn.battingOrder[1] = 1;
    inn.batting[0] = BattingLine{5, 40, 1, 0, Dismissal{Caught, 0, 3}};
    inn.batting[1] = BattingLine{18, 120, 1, 0, Dismissal{NotOut, 0, 0}};
    inn.legByes = inn.byes = inn.wides = inn.noBalls = 1;
    inn.runs = 27;
    inn.wickets = 1;
    inn.legalBalls = 160;
    inn.bowling[0] = BowlingLine{120, 1, 22, 1};
    inn.bowling[3] = BowlingLine{40, 0, 5, 0};
    inn.fallOfWickets[0] = FallOfWicket{12, 0, 1, 8};
    return m;
}

std::vector<std::string> after(const std::vector<std::string>& lines, const std::string& heading, int skip, int n)
{
    auto at = std::find(lines.begin(), lines.end(), heading);
    if (at == lines.end() || lines.end() - at < skip + n) return {"<no " + heading + ">"};
    return std::vector<std::string>(at + skip, at + skip + n);
}

}  // namespace

TEST(Report, RateInDoublePrecisionTopFourFilledAndAnInningsNobodyBatted)
{
    auto m = craftedMatch();
    const auto lines = support::splitLines(support::reportOf(*m));
    const std::string dnb = "Did Not Bat" + std::string(23, ' ');
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::string(52, ' ') + " 27/ 1 in  26.4 RunRate = 1.012"),
              lines.end())
        << "27 runs in 160 balls is 1.012 in double precision (float gives 1.013)";
    const std::vector<std::string> topFour = {"01/022 (020.0) AG", "00/005 (006.4) AJ", "00/000 (000.0) AH",
                                              "00/000 (000.0) AI"};
    EXPECT_EQ(after(lines, "Bowling", 2, 4), topFour) << "bowlers who did not bowl fill the places left";

    // The second block: Away, all eleven did not bat, no wickets.
    const auto away = std::find(lines.begin(), lines.end(), "Away");
    ASSERT_NE(away, lines.end());
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(*(away + 2 + i), std::string("A") + std::string(1, 'A' + i) + std::string(15, ' ') + dnb);
    EXPECT_EQ(*(away + 14), std::string(52, ' ') + "  0/ 0 in   0.0 RunRate = 0.000");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Fall of Wickets"), 1);
    EXPECT_EQ(lines.back(), "Home defeated Away by 27 Run(s)");

    m->inningsCount = 4;
    EXPECT_EQ(support::splitLines(support::reportOf(*m)).size(), lines.size()) << "unstarted innings are left out";

    // Top batsmen: more runs first; on equal runs fewer balls; on both equal the earlier batsman.
    Innings& inn = m->innings[0];
    inn.batsmenIn = 4;
    inn.battingOrder[2] = 2;
    inn.battingOrder[3] = 3;
    inn.batting[2] = BattingLine{18, 60, 0, 0, Dismissal{NotOut, 0, 0}};
    inn.batting[3] = BattingLine{18, 60, 0, 0, Dismissal{NotOut, 0, 0}};
    const std::vector<std::string> topBatsmen = {"018 (060) HC", "018 (060) HD", "018 (120) HB", "005 (040) HA"};
    EXPECT_EQ(after(support::splitLines(support::reportOf(*m)), "Batting", 2, 4), topBatsmen);
}

TEST(Report, BallLogCountsTheRunsOfAWicketBallAndTheExtraRunOfAHitNoBall)
{
    auto m = craftedMatch();
    m->options().briefOutput = 0;
    Innings& inn = m->innings[0];
    const BallRecord log[] = {
        {Scoring, NoBall, BatOffNoBall, 4, 0, 0, 6, 0, 0, 0},
        {Wicket, Legal, Bat, 2, 0, 0, 6, 0, 0, 0},
        {Scoring, Legal, Bat, 1, 1, 1, 6, 0, 0, 0},
    };
    inn.deliveries = 3;
    for (int i = 0; i < 3; ++i)
        inn.setBallRecord(i, log[i]);
    const std::vector<std::string> expected = {
        "(Over #  1 Ball #1) AG to HA :: Batsman scored 4 run(s) off the no ball [5/0]",
        "(Over #  1 Ball #1) AG to HA :: Out [7/1]",
        "(Over #  1 Ball #2) AG to HB :: Batsman scored 1 run(s) [8/1]",
        "************ END OF INNING ************",
    };
    const auto lines = support::splitLines(support::reportOf(*m));
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4), expected);
}

// Report columns are built without printf: numbers and padding must match it.
TEST(Report, LineBuilderWritesNumbersAndPaddingAsPrintfDoes)
{
    for (int value : {0, 7, -7, 42, -42, 999, 1000, -1000, 2147483647, -2147483647 - 1})
        for (int width : {0, 1, 3, 5, 12})
            for (char fill : {' ', '0'}) {
                TextBuffer<64> line;
                line.number(value, width, fill);
                char expected[64];
                std::snprintf(expected, sizeof expected, fill == '0' ? "%0*d" : "%*d", width, value);
                EXPECT_EQ(line.view(), expected) << value << " " << width << " '" << fill << "'";
            }
    TextBuffer<64> line;
    line << "Bj\xc3\xb8rn";
    line.padTo(0, 8) << "|";
    EXPECT_EQ(line.view(), "Bj\xc3\xb8rn   |") << "padding counts characters, not bytes";
    TextBuffer<8> full;
    full.repeat('x', 100).number(5, 3);
    EXPECT_EQ(full.view(), "xxxxxxx") << "appends past the capacity are cut";
}
