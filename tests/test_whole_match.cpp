// Whole matches over many seeds and sides: the bookkeeping of every innings
// must agree with its ball log, and the match with its innings.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support.h"

using support::PlayedMatch;

namespace {

std::vector<Team> oneDaySides()
{
    return {support::loadData("harbour.xi"), support::loadData("upland.xi"),
            support::makeSide("Weak", "W", 5, 300, 200, 200), support::makeSide("Strong", "S", 10, 480, 80, 750)};
}

// Checks one innings against its own log; `where` names the match in failures.
void checkInnings(const Match& m, int k, bool oneDay)
{
    SCOPED_TRACE("innings " + std::to_string(k));
    const Innings& inn = m.innings[k];
    ASSERT_EQ(inn.battingTeam, &m.teams[k % 2]) << "the sides bat in strict alternation";
    ASSERT_EQ(inn.bowlingTeam, &m.teams[(k + 1) % 2]);
    const Team& bowlingTeam = *inn.bowlingTeam;

    int batRuns = 0;
    for (const BattingLine& l : inn.batting) batRuns += l.runs;
    EXPECT_EQ(inn.runs, batRuns + inn.byes + inn.legByes + inn.wides + inn.noBalls) << "batting runs + extras = total";
    int bowled = 0, credited = 0;
    for (const BowlingLine& l : inn.bowling) {
        bowled += l.balls;
        credited += l.wickets;
    }
    EXPECT_EQ(inn.legalBalls, bowled);
    EXPECT_LE(inn.legalBalls, inn.maxBalls > 0 ? inn.maxBalls : 1);
    EXPECT_LE(inn.wickets, 10);
    ASSERT_GT(inn.deliveries, 0);
    ASSERT_GE(inn.batsmenIn, 2);
    ASSERT_LE(inn.batsmenIn, 11);

    int out = 0, creditedKinds = 0;
    for (int p = 0; p < 11; ++p) {
        const int kind = inn.batting[p].dismissal.kind;
        if (p >= inn.batsmenIn) {
            EXPECT_EQ(kind, DidNotBat) << "position " << p;
            continue;
        }
        EXPECT_EQ(inn.battingOrder[p], p) << "autoplay bats in file order";
        EXPECT_NE(kind, DidNotBat);
        EXPECT_NE(kind, Stumped) << "stumpings are never drawn";
        out += kind >= Bowled && kind <= RetiredHurt;
        creditedKinds += creditsBowler(kind);
    }
    EXPECT_EQ(out, inn.wickets);
    EXPECT_EQ(creditedKinds, credited);

    const bool spent = inn.legalBalls >= inn.maxBalls;
    const bool won = inn.target != -1 && inn.runs > inn.target;
    EXPECT_TRUE(inn.closed);
    EXPECT_TRUE(inn.wickets == 10 || spent || won) << "an innings ends all out, out of balls or past its target";

    // Walk the log: who faced, the running score, the ends, the flags.
    int striker = inn.battingOrder[0], other = inn.battingOrder[1], next = 2;
    int score = 0, wickets = 0, legal = 0;
    std::vector<int> faced(11, 0), bowlerBalls(10, 0), bowlerRuns(10, 0);
    for (int i = 0; i < inn.deliveries; ++i) {
        const BallRecord& r = inn.ballRecord(i);
        ASSERT_EQ(r.strikerPlayer, striker) << "delivery " << i << ": wrong batsman on strike";
        const int booked = r.event == Scoring ? r.runs + (r.runKind == BatOffNoBall ? 1 : 0) : 0;
        ASSERT_GT(r.event == Scoring ? r.runs : 1, 0) << "delivery " << i << " booked no runs";
        score += booked;
        ASSERT_EQ(r.scoreAfter, score) << "delivery " << i;
        const int pos = bowlingTeam.bowlerPosition(r.bowlerPlayer);
        ASSERT_LT(pos, bowlingTeam.bowlerCount());
        if (r.delivery != Wide) ++faced[r.strikerPlayer];
        if (r.delivery == Legal) ++bowlerBalls[pos];
        if (r.runKind == Bat && r.event == Scoring) bowlerRuns[pos] += r.runs;
        if (r.runKind == BatOffNoBall) bowlerRuns[pos] += r.runs + 1;
        if (r.event == Wicket) {
            FallOfWicket f;
            inn.fallOfWicket(wickets, f);
            EXPECT_EQ(f.score, score) << "wicket " << wickets + 1;
            EXPECT_EQ(f.outPlayer, striker);
            EXPECT_EQ(f.partnerPlayer, other);
            EXPECT_EQ(f.ball, legal) << "0-based legal ball of wicket " << wickets + 1;
            ++wickets;
        }
        ASSERT_EQ(r.wicketsAfter, wickets);
        if (r.delivery == Legal) ++legal;
        const bool last = i + 1 == inn.deliveries;
        EXPECT_EQ(r.flags != 0, last && (spent || won)) << "delivery " << i;

        if (r.event == Wicket) {
            if (wickets < 10) striker = inn.battingOrder[next++];
        } else if (r.crossed) {
            std::swap(striker, other);
        }
        if (r.delivery == Legal && legal % 6 == 0) std::swap(striker, other);
    }
    EXPECT_EQ(score, inn.runs);
    EXPECT_EQ(wickets, inn.wickets);
    EXPECT_EQ(legal, inn.legalBalls);
    for (int p = 0; p < inn.batsmenIn; ++p) EXPECT_EQ(faced[p], inn.batting[p].balls) << "balls faced, position " << p;
    for (int b = 0; b < bowlingTeam.bowlerCount(); ++b) {
        EXPECT_EQ(bowlerBalls[b], inn.bowling[b].balls) << "bowler " << b;
        EXPECT_EQ(bowlerRuns[b], inn.bowling[b].runs) << "bowler " << b;
    }

    // Overs: at most twelve deliveries and six extras, one bowler each, never
    // the same bowler twice running. In a one-day match a bowler starts an
    // over beyond his ten only when nobody else could bowl it.
    std::vector<int> ballsSoFar(10, 0);
    const BallRecord& lastBall = inn.ballRecord(inn.deliveries - 1);
    const int overs = (inn.legalBalls - (lastBall.delivery == Legal ? 1 : 0)) / 6 + 1;
    int previousBowler = -1, maidens = 0;
    for (int o = 0; o < overs; ++o) {
        const int first = inn.overStart(o);
        const int end = o + 1 < overs ? inn.overStart(o + 1) : inn.deliveries;
        ASSERT_LT(first, end) << "over " << o;
        EXPECT_LE(end - first, 12) << "over " << o;
        int extras = 0, legalInOver = 0;
        const int bowler = inn.ballRecord(first).bowlerPlayer;
        EXPECT_NE(bowler, previousBowler) << "over " << o << " bowled by the bowler of the over before";
        const int position = bowlingTeam.bowlerPosition(bowler);
        if (oneDay && ballsSoFar[position] >= 60) {
            for (int b = 0; b < bowlingTeam.bowlerCount(); ++b) {
                if (bowlingTeam.bowlerAt(b) != previousBowler) {
                    EXPECT_GE(ballsSoFar[b], 60)
                        << "over " << o << ": bowler " << position << " went beyond his ten overs while bowler " << b
                        << " had overs left";
                }
            }
        }
        for (int i = first; i < end; ++i) {
            const BallRecord& r = inn.ballRecord(i);
            EXPECT_EQ(r.bowlerPlayer, bowler) << "delivery " << i << " changed bowler within over " << o;
            extras += r.delivery != Legal;
            legalInOver += r.delivery == Legal;
        }
        ballsSoFar[position] += legalInOver;
        EXPECT_LE(extras, 6) << "over " << o;
        if (o + 1 < overs) {
            EXPECT_EQ(legalInOver, 6) << "over " << o;
        }
        previousBowler = bowler;
    }
    for (const BowlingLine& l : inn.bowling) maidens += l.maidens;
    EXPECT_LE(maidens, inn.legalBalls / 6);
}

std::string expectedResult(const Match& m)
{
    const bool four = m.inningsCount == 4;
    const int a = m.innings[0].runs + (four ? m.innings[2].runs : 0);
    const int b = m.innings[1].runs + (four ? m.innings[3].runs : 0);
    const std::string first = m.teams[0].name(), second = m.teams[1].name();
    if (a < b)
        return second + " defeated " + first + " by " + std::to_string(10 - m.innings[four ? 3 : 1].wickets) +
               " wickets";
    if (a > b) return first + " defeated " + second + " by " + std::to_string(a - b) + " Run(s)";
    return first + " and " + second + " tied the match";
}

void checkMatch(const PlayedMatch& played, bool oneDay)
{
    const Match& m = *played.match;
    ASSERT_EQ(m.gameOver, 1);
    ASSERT_EQ(m.inningsCount, oneDay ? 2 : 4);
    int usedBalls = 0;
    for (int k = 0; k < m.inningsCount; ++k) {
        const Innings& inn = m.innings[k];
        EXPECT_EQ(inn.maxBalls, oneDay ? 300 : 2700 - usedBalls) << "allowance of innings " << k;
        usedBalls += inn.legalBalls;
        checkInnings(m, k, oneDay);
    }
    if (oneDay) {
        EXPECT_EQ(m.innings[0].target, -1);
        EXPECT_EQ(m.innings[1].target, m.innings[0].runs);
    } else {
        EXPECT_LE(usedBalls, 2703);
        EXPECT_EQ(m.innings[3].target, m.innings[0].runs - m.innings[1].runs + m.innings[2].runs);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(m.innings[k].target, -1);
    }

    const auto lines = support::splitLines(played.report);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), expectedResult(m));
    EXPECT_EQ(lines.back(), m.resultLine());
    EXPECT_EQ(lines[lines.size() - 2], "");
    int blocks = 0;
    for (const std::string& l : lines) blocks += l == "Outstanding performances in the inning";
    EXPECT_EQ(blocks, m.inningsCount);
    int commentaryLines = 0, deliveries = 0;
    for (char c : played.commentary) commentaryLines += c == '\n';
    for (int k = 0; k < m.inningsCount; ++k) deliveries += m.innings[k].deliveries;
    EXPECT_EQ(commentaryLines, deliveries);
}

}  // namespace

TEST(WholeMatch, OneDayMatchesKeepTheirBooksOverManySeedsAndSides)
{
    const std::vector<Team> sides = oneDaySides();
    const std::pair<int, int> pairings[] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {1, 3}};
    for (auto [a, b] : pairings) {
        for (std::uint32_t seed = 1; seed <= 50; ++seed) {
            SCOPED_TRACE(std::string(sides[a].name()) + " v " + sides[b].name() + ", seed " + std::to_string(seed));
            auto played = support::playWholeMatch(sides[a], sides[b], seed, true);
            checkMatch(*played, true);
            if (::testing::Test::HasFailure()) return;
        }
    }
}

TEST(WholeMatch, TestMatchesKeepTheirBooksOverManySeedsAndSides)
{
    const std::vector<Team> sides = {support::loadData("harbour.xi"), support::loadData("upland.xi"),
                                     support::loadData("twin.xi"), support::makeSide("Weak", "W", 3, 300, 200, 200),
                                     support::makeSide("Strong", "S", 10, 480, 80, 750)};
    const std::pair<int, int> pairings[] = {{0, 1}, {2, 3}, {4, 2}, {3, 0}};
    for (auto [a, b] : pairings) {
        for (std::uint32_t seed = 1; seed <= 25; ++seed) {
            SCOPED_TRACE(std::string(sides[a].name()) + " v " + sides[b].name() + ", seed " + std::to_string(seed));
            auto played = support::playWholeMatch(sides[a], sides[b], seed * 7919, false);
            checkMatch(*played, false);
            if (::testing::Test::HasFailure()) return;
        }
    }
}

TEST(WholeMatch, ShortTestBudgetStillGivesEveryInningsItsDelivery)
{
    // Sides that bat for ever use the whole budget in the first innings; the
    // later innings each get their single delivery.
    const Team wall = support::uniformSide("Wall", "W", 400, -1000000, 0, 300, 100, 0, 5);
    auto played = support::playWholeMatch(wall, support::uniformSide("Rock", "R", 400, -1000000, 0), 5, false);
    const Match& m = *played->match;
    ASSERT_EQ(m.gameOver, 1);
    EXPECT_EQ(m.innings[0].legalBalls, 2700);
    for (int k = 1; k < 4; ++k) {
        EXPECT_LE(m.innings[k].maxBalls, 0) << "innings " << k;
        EXPECT_EQ(m.innings[k].deliveries, 1) << "innings " << k;
    }
    checkMatch(*played, false);
}

TEST(WholeMatch, SameSeedReplaysExactlyAndOtherSeedsDiffer)
{
    const Team a = support::loadData("harbour.xi"), b = support::loadData("upland.xi");
    for (bool oneDay : {true, false}) {
        auto first = support::playWholeMatch(a, b, 31337, oneDay, true);
        auto again = support::playWholeMatch(a, b, 31337, oneDay, true);
        auto other = support::playWholeMatch(a, b, 31338, oneDay, true);
        EXPECT_EQ(first->report, again->report);
        EXPECT_EQ(first->commentary, again->commentary);
        EXPECT_NE(first->report, other->report);
        EXPECT_NE(first->commentary, other->commentary);
    }
}
