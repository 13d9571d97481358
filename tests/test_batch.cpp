#include <gtest/gtest.h>

#include <string>

#include "analysis/batch.h"
#include "analysis/batch_summary.h"
#include "match/match.h"
#include "match/unattended.h"

namespace {

Team sample(const char* file)
{
    Team team;
    const std::string path = std::string(PELMORA_SOURCE_DIR) + "/samples/" + file;
    EXPECT_EQ(team.load(path.c_str()), 1) << path;
    return team;
}

BatchSettings settings(int matches, int threads, int oneDay)
{
    BatchSettings s;
    s.matches = matches;
    s.threads = threads;
    s.firstSeed = 1000;
    s.options.oneDay = oneDay;
    return s;
}

}  // namespace

TEST(Batch, SummaryIsTheSameWhateverTheThreadCount)
{
    const Team north = sample("northshire.xi"), south = sample("southmoor.xi");
    for (int oneDay : {1, 0}) {
        const BatchSettings one = settings(150, 1, oneDay), two = settings(150, 2, oneDay),
                            five = settings(150, 5, oneDay);
        const std::string a = formatBatchJson(runBatch(one, north, south), one);
        EXPECT_EQ(a, formatBatchJson(runBatch(two, north, south), two)) << "oneDay=" << oneDay;
        EXPECT_EQ(a, formatBatchJson(runBatch(five, north, south), five)) << "oneDay=" << oneDay;
    }
}

TEST(Batch, EachMatchIsTheUnattendedMatchOfItsSeed)
{
    const Team north = sample("northshire.xi"), south = sample("southmoor.xi");
    const BatchSettings s = settings(3, 2, 1);
    const BatchResult result = runBatch(s, north, south);
    for (int m = 0; m < 3; ++m) {
        Match match;
        match.options().oneDay = 1;
        ASSERT_EQ(playUnattended(match, north, south, s.firstSeed + m), UnattendedResult::Played);
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(result.innings[m * 4 + k].runs, match.innings[k].runs) << "match " << m << " innings " << k;
            EXPECT_EQ(result.innings[m * 4 + k].wickets, match.innings[k].wickets);
        }
    }
    EXPECT_EQ(result.totals.played, 3);
    EXPECT_EQ(result.totals.wins[0] + result.totals.wins[1] + result.totals.ties, 3);
}

TEST(Batch, SidesThatCannotBowlThroughAreRefusedNotPlayed)
{
    Team north = sample("northshire.xi");
    Team fourBowlers;
    ASSERT_EQ(fourBowlers.load((std::string(PELMORA_SOURCE_DIR) + "/samples/malformed/four_bowlers.xi").c_str()), 1);
    const BatchSettings oneDay = settings(10, 2, 1);
    EXPECT_EQ(runBatch(oneDay, north, fourBowlers).totals.refused, 10);
    const BatchSettings test = settings(4, 2, 0);
    EXPECT_EQ(runBatch(test, north, fourBowlers).totals.played, 4);
}

TEST(BatchStatistics, WilsonIntervalOfAKnownCase)
{
    // 50 successes in 100 trials: 0.5 with 95% interval 0.4038..0.5962.
    const Proportion p = wilsonInterval(50, 100);
    EXPECT_DOUBLE_EQ(p.share, 0.5);
    EXPECT_NEAR(p.low, 0.4038, 1e-4);
    EXPECT_NEAR(p.high, 0.5962, 1e-4);
    // No successes: the interval still has width, and starts at zero.
    const Proportion none = wilsonInterval(0, 20);
    EXPECT_EQ(none.low, 0.0);
    EXPECT_NEAR(none.high, 0.1611, 1e-4);
    EXPECT_EQ(wilsonInterval(0, 0).share, 0.0);
}

TEST(BatchStatistics, NearestRankPercentiles)
{
    std::vector<double> v = {10, 1, 9, 2, 8, 3, 7, 4, 6, 5};
    const Distribution d = distribution(v);
    EXPECT_DOUBLE_EQ(d.mean, 5.5);
    EXPECT_DOUBLE_EQ(d.median, 5);
    EXPECT_DOUBLE_EQ(d.p10, 1);
    EXPECT_DOUBLE_EQ(d.p90, 9);
    std::vector<double> empty;
    EXPECT_DOUBLE_EQ(distribution(empty).mean, 0);
}
