#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "analysis/batch.h"
#include "analysis/batch_summary.h"
#include "match/match.h"
#include "match/unattended.h"
#include "support.h"

namespace {

BatchSettings settings(int matches, int threads, int oneDay)
{
    BatchSettings s;
    s.matches = matches;
    s.threads = threads;
    s.firstSeed = 1000;
    s.options.oneDay = oneDay;
    return s;
}

// The runs of innings k over the batch, from its count table.
Distribution inningsRuns(const BatchResult& r, int k)
{
    std::vector<std::pair<double, std::int64_t>> values;
    const std::vector<std::int64_t>& byRuns = r.totals.innings[k].byRuns;
    for (std::size_t runs = 0; runs < byRuns.size(); ++runs)
        if (byRuns[runs]) values.emplace_back(static_cast<double>(runs), byRuns[runs]);
    return distribution(values);
}

}  // namespace

TEST(Batch, SummaryIsTheSameWhateverTheThreadCount)
{
    const Team north = support::loadSample("northshire.xi"), south = support::loadSample("southmoor.xi");
    for (int oneDay : {1, 0}) {
        const BatchSettings one = settings(150, 1, oneDay), two = settings(150, 2, oneDay),
                            five = settings(150, 5, oneDay);
        const std::string a = formatBatchJson(runBatch(one, north, south), one);
        EXPECT_EQ(a, formatBatchJson(runBatch(two, north, south), two)) << "oneDay=" << oneDay;
        EXPECT_EQ(a, formatBatchJson(runBatch(five, north, south), five)) << "oneDay=" << oneDay;
    }
}

// The tables hold each match's innings; the run rate's percentiles read from
// them are the exact ones to the hundredth, its mean the exact mean.
TEST(Batch, EachMatchIsTheUnattendedMatchOfItsSeed)
{
    const Team north = support::loadSample("northshire.xi"), south = support::loadSample("southmoor.xi");
    const BatchSettings s = settings(3, 2, 1);
    const BatchResult result = runBatch(s, north, south);
    InningsCounts expected[2];
    std::vector<double> rates;
    for (int m = 0; m < 3; ++m) {
        Match match;
        match.options().oneDay = 1;
        ASSERT_EQ(playUnattended(match, north, south, s.firstSeed + m), UnattendedResult::Played);
        for (int k = 0; k < 2; ++k) {
            const Innings& in = match.innings[k];
            expected[k].add(in.runs, in.wickets, in.legalBalls);
            if (k == 0) rates.push_back(in.runs * 6.0 / in.legalBalls);
        }
    }
    for (int k = 0; k < 2; ++k)
        EXPECT_EQ(result.totals.innings[k], expected[k]) << "innings " << k;
    const Distribution exact = distribution(rates);
    EXPECT_NEAR(result.totals.innings[0].meanRunRate(), exact.mean, 1e-12);
    std::vector<std::pair<double, std::int64_t>> binned;
    const std::vector<std::int64_t>& byRate = result.totals.innings[0].byRateHundredths;
    for (std::size_t h = 0; h < byRate.size(); ++h)
        if (byRate[h]) binned.emplace_back(h / 100.0, byRate[h]);
    const Distribution read = distribution(binned);
    EXPECT_NEAR(read.median, exact.median, 0.005);
    EXPECT_NEAR(read.p90, exact.p90, 0.005);
    EXPECT_EQ(result.totals.played, 3);
    EXPECT_EQ(result.totals.wins[0] + result.totals.wins[1] + result.totals.ties, 3);
}

TEST(Batch, SidesThatCannotBowlThroughAreRefusedNotPlayed)
{
    Team north = support::loadSample("northshire.xi");
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
    // Counted values give exactly what the values one by one give.
    std::vector<std::pair<double, std::int64_t>> counted = {{7, 1}, {1, 2}, {9, 3}, {4, 4}};
    std::vector<double> spelled = {7, 1, 1, 9, 9, 9, 4, 4, 4, 4};
    const Distribution a = distribution(counted), b = distribution(spelled);
    EXPECT_DOUBLE_EQ(a.mean, b.mean);
    EXPECT_EQ(a.median, b.median);
    EXPECT_EQ(a.p10, b.p10);
    EXPECT_EQ(a.p90, b.p90);
}

// The shipped sides are tuned to look like international cricket; these
// bounds are generous, but a change to the engine that makes play unrealistic
// falls outside them.
TEST(BatchRealism, SampleSidesPlayPlausibleOneDayCricket)
{
    const Team north = support::loadSample("northshire.xi"), south = support::loadSample("southmoor.xi");
    const BatchSettings s = settings(600, 2, 1);
    const BatchResult r = runBatch(s, north, south);
    ASSERT_EQ(r.totals.played, 600);
    std::vector<std::pair<double, std::int64_t>> wickets;
    for (int w = 0; w <= 10; ++w)
        wickets.emplace_back(w, r.totals.innings[0].wickets[w]);
    const Distribution dr = inningsRuns(r, 0), dw = distribution(wickets);
    const double rate = r.totals.innings[0].meanRunRate();
    EXPECT_GT(dr.mean, 225);
    EXPECT_LT(dr.mean, 300);
    EXPECT_GE(dw.median, 5);
    EXPECT_LE(dw.median, 9);
    EXPECT_GT(rate, 4.5);
    EXPECT_LT(rate, 6.5);
    const double extras = static_cast<double>(r.totals.extras[0]) / r.totals.inningsPlayed[0];
    EXPECT_GT(extras, 8);
    EXPECT_LT(extras, 22);
    const double battedFirst = static_cast<double>(r.totals.battedFirstWins) / r.totals.played;
    EXPECT_GT(battedFirst, 0.35);
    EXPECT_LT(battedFirst, 0.65);
}

TEST(BatchRealism, SampleSidesPlayPlausibleTestCricket)
{
    const BatchSettings s = settings(150, 2, 0);
    const BatchResult r = runBatch(s, support::loadSample("northshire.xi"), support::loadSample("southmoor.xi"));
    const Distribution d = inningsRuns(r, 0);
    EXPECT_GT(d.median, 200);
    EXPECT_LT(d.median, 500);
    const double draws = static_cast<double>(r.totals.timeRanOut) / r.totals.played;
    EXPECT_GT(draws, 0.1);
    EXPECT_LT(draws, 0.8);
}

TEST(BatchRealism, TheStrongSideWinsMostMatches)
{
    const BatchSettings s = settings(300, 2, 1);
    const BatchResult r = runBatch(s, support::loadSample("invicta.xi"), support::loadSample("harrowby.xi"));
    EXPECT_GT(static_cast<double>(r.totals.wins[0]) / r.totals.played, 0.75);
}
