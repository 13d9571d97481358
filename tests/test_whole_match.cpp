// Whole matches over many seeds and sides: every innings' cards must agree
// with its ball log walked from the first delivery (who faced, who bowled,
// where each wicket fell). The bookkeeping sums, over lengths, allowances and
// targets are checked on many more matches by the quick soak run, the result
// line by test_match.cpp, the commentary by the golden files.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "match/unattended.h"
#include "support.h"

namespace {

void checkInnings(const Innings& inn)
{
    const Team& fielding = *inn.bowlingTeam;
    int striker = inn.battingOrder[0], other = inn.battingOrder[1], next = 2, score = 0, wickets = 0, legal = 0;
    std::vector<int> faced(11, 0), bowlerBalls(10, 0), bowlerRuns(10, 0), maidens(10, 0);
    int overRuns = 0;  // runs of the over that count against a maiden: those off the bat
    for (int i = 0; i < inn.deliveries; ++i) {
        const BallRecord& r = inn.ballRecord(i);
        ASSERT_EQ(r.strikerPlayer, striker) << "delivery " << i << ": wrong batsman on strike";
        const int pos = fielding.bowlerPosition(r.bowlerPlayer);
        ASSERT_LT(pos, fielding.bowlerCount());
        score += r.event == Scoring ? r.runs + (r.runKind == BatOffNoBall ? 1 : 0) : 0;
        faced[r.strikerPlayer] += r.delivery != Wide;
        bowlerBalls[pos] += r.delivery == Legal;
        const int offTheBat =
            r.runKind == BatOffNoBall ? r.runs + 1 : (r.runKind == Bat && r.event == Scoring ? r.runs : 0);
        bowlerRuns[pos] += offTheBat;
        overRuns += offTheBat;
        if (r.event == Wicket) {
            const FallOfWicket& f = inn.fallOfWickets[wickets++];
            EXPECT_EQ(f.score, score) << "wicket " << wickets;
            EXPECT_EQ(f.outPlayer, striker) << "wicket " << wickets << ": the striker is the batsman dismissed";
            EXPECT_EQ(f.partnerPlayer, other) << "wicket " << wickets;
            EXPECT_EQ(f.ball, legal) << "0-based legal ball of wicket " << wickets;
            if (wickets < 10) striker = inn.battingOrder[next++];
        } else if (r.crossed) {
            std::swap(striker, other);
        }
        if (r.delivery == Legal && ++legal % 6 == 0) {
            std::swap(striker, other);
            // A single off the bat spoils a maiden; byes, leg byes and wides do not.
            maidens[pos] += overRuns == 0;
            overRuns = 0;
        }
    }
    EXPECT_EQ(score, inn.runs);
    for (int p = 0; p < inn.batsmenIn; ++p)
        EXPECT_EQ(faced[p], inn.batting[p].balls) << "balls faced, position " << p;
    for (int b = 0; b < fielding.bowlerCount(); ++b) {
        EXPECT_EQ(bowlerBalls[b], inn.bowling[b].balls) << "bowler " << b;
        EXPECT_EQ(bowlerRuns[b], inn.bowling[b].runs) << "bowler " << b;
        EXPECT_EQ(maidens[b], inn.bowling[b].maidens) << "maidens of bowler " << b;
    }
}

// A whole unattended match with the report it writes, long or brief.
std::string play(Match& m, const Team& first, const Team& second, std::uint32_t seed, bool oneDay,
                 bool longOutput = false)
{
    m.options().oneDay = oneDay ? 1 : 0;
    m.options().briefOutput = longOutput ? 0 : 1;
    EXPECT_EQ(playUnattended(m, first, second, seed), UnattendedResult::Played);
    for (int k = 0; k < m.inningsCount; ++k) {
        SCOPED_TRACE("innings " + std::to_string(k));
        checkInnings(m.innings[k]);
    }
    return support::reportOf(m);
}

}  // namespace

TEST(WholeMatch, CardsAgreeWithTheBallLogOverManySeedsAndSides)
{
    const std::vector<Team> sides = {support::loadData("harbour.xi"),
                                     support::loadData("upland.xi"),
                                     support::loadData("twin.xi"),
                                     support::makeSide("Weak", "W", 5, 300, 200, 200),
                                     support::makeSide("Strong", "S", 10, 480, 80, 750),
                                     support::makeSide("Thin", "T", 3, 300, 200, 200)};
    struct Series {
        bool oneDay;
        std::vector<std::pair<int, int>> pairings;
        std::uint32_t seeds, step;
    } series[] = {{true, {{0, 1}, {1, 3}, {3, 4}, {4, 0}}, 40, 1}, {false, {{0, 1}, {2, 5}, {4, 2}, {5, 0}}, 20, 7919}};
    for (const Series& s : series)
        for (auto [a, b] : s.pairings)
            for (std::uint32_t seed = s.step; seed <= s.seeds * s.step; seed += s.step) {
                SCOPED_TRACE(std::string(sides[a].name()) + " v " + sides[b].name() + ", seed " + std::to_string(seed));
                Match m;
                play(m, sides[a], sides[b], seed, s.oneDay);
                if (::testing::Test::HasFailure()) return;
            }
}

TEST(WholeMatch, ShortTestBudgetStillGivesEveryInningsItsDelivery)
{
    // Sides that bat for ever use the whole budget in the first innings.
    Match m;
    play(m, support::makeSide("Wall", "W", 5, 400, -1000000, 0, 100),
         support::makeSide("Rock", "R", 5, 400, -1000000, 0, 100), 5, false);
    EXPECT_EQ(m.innings[0].legalBalls, 2700);
    for (int k = 1; k < 4; ++k)
        EXPECT_EQ(m.innings[k].deliveries, 1) << "innings " << k;
}

TEST(WholeMatch, SameSeedReplaysExactlyAndOtherSeedsDiffer)
{
    const Team a = support::loadData("harbour.xi"), b = support::loadData("upland.xi");
    for (bool oneDay : {true, false}) {
        Match first, again, other;
        const std::string report = play(first, a, b, 31337, oneDay, true);
        EXPECT_EQ(play(again, a, b, 31337, oneDay, true), report);
        EXPECT_NE(play(other, a, b, 31338, oneDay, true), report);
    }
}
