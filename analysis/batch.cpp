#include "analysis/batch.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "analysis/on_threads.h"
#include "match/match.h"
#include "match/unattended.h"

void BatchTotals::add(const BatchTotals& o)
{
    played += o.played;
    refused += o.refused;
    wins[0] += o.wins[0];
    wins[1] += o.wins[1];
    ties += o.ties;
    timeRanOut += o.timeRanOut;
    battedFirstWins += o.battedFirstWins;
    for (int k = 0; k < 4; ++k) {
        allOut[k] += o.allOut[k];
        extras[k] += o.extras[k];
        inningsPlayed[k] += o.inningsPlayed[k];
    }
    for (int i = 0; i < 10; ++i)
        dismissals[i] += o.dismissals[i];
    for (int k = 0; k < 4; ++k)
        innings[k].add(o.innings[k]);
    for (int s = 0; s < 2; ++s) {
        for (int p = 0; p < 11; ++p) {
            PlayerTotals& a = players[s][p];
            const PlayerTotals& b = o.players[s][p];
            a.battingInnings += b.battingInnings;
            a.runs += b.runs;
            a.outs += b.outs;
            a.ballsFaced += b.ballsFaced;
            a.ballsBowled += b.ballsBowled;
            a.runsConceded += b.runsConceded;
            a.wickets += b.wickets;
        }
    }
}

namespace {

// Adds `count` at `index`, growing the table to reach it.
void countAt(std::vector<std::int64_t>& table, std::size_t index, std::int64_t count)
{
    if (table.size() <= index) table.resize(index + 1, 0);
    table[index] += count;
}

void addTable(std::vector<std::int64_t>& into, const std::vector<std::int64_t>& from)
{
    if (into.size() < from.size()) into.resize(from.size(), 0);
    for (std::size_t i = 0; i < from.size(); ++i)
        into[i] += from[i];
}

}  // namespace

int rateHundredths(std::int64_t runs, std::int64_t legalBalls)
{
    if (legalBalls <= 0 || runs <= 0) return 0;
    // runs * 6 / balls overs, in hundredths, rounded half up.
    const std::int64_t h = (runs * 1200 + legalBalls) / (2 * legalBalls);
    return static_cast<int>(std::min<std::int64_t>(h, InningsCounts::kMostRateHundredths));
}

void InningsCounts::add(int runs, int wicketCount, int legalBalls)
{
    ++wickets[std::clamp(wicketCount, 0, 10)];
    const int r = std::max(runs, 0), b = std::max(legalBalls, 0);
    countAt(byRuns, static_cast<std::size_t>(r), 1);
    countAt(byRateHundredths, static_cast<std::size_t>(rateHundredths(r, b)), 1);
    countAt(byBalls, static_cast<std::size_t>(b), 1);
    countAt(runsByBalls, static_cast<std::size_t>(b), r);
}

void InningsCounts::add(const InningsCounts& o)
{
    for (int w = 0; w <= 10; ++w)
        wickets[w] += o.wickets[w];
    addTable(byRuns, o.byRuns);
    addTable(byRateHundredths, o.byRateHundredths);
    addTable(byBalls, o.byBalls);
    addTable(runsByBalls, o.runsByBalls);
}

double InningsCounts::meanRunRate() const
{
    std::int64_t innings = 0;
    double sum = 0;
    for (std::size_t b = 0; b < byBalls.size(); ++b) {
        innings += byBalls[b];
        if (b > 0 && b < runsByBalls.size() && runsByBalls[b] > 0)
            sum += static_cast<double>(runsByBalls[b]) * 6.0 / static_cast<double>(b);
    }
    return innings ? sum / static_cast<double>(innings) : 0.0;
}

namespace {

// Plays one match and adds it to the totals; its innings go to `figures`.
void playOne(const BatchSettings& settings, const Team& first, const Team& second, std::uint32_t seed,
             BatchTotals& totals)
{
    Match match;
    match.options() = settings.options;
    const std::shared_ptr<void> keep = settings.beforePlay ? settings.beforePlay(match, seed) : nullptr;
    int battedFirst = 0;
    const UnattendedResult result = playUnattended(match, first, second, seed, &battedFirst);
    if (result == UnattendedResult::CannotBowl) {
        ++totals.refused;
        return;
    }
    ++totals.played;
    if (settings.eachMatch && result == UnattendedResult::Played) settings.eachMatch(match, seed);
    // teams[0] of the match is whichever side won the right to bat first.
    const int slotOf[2] = {battedFirst, 1 - battedFirst};

    const int n = match.inningsCount;
    const MatchResult outcome = match.result();
    if (outcome.kind == MatchResult::Tie) {
        ++totals.ties;
    } else {
        ++totals.wins[slotOf[outcome.winner]];
        if (outcome.winner == 0) ++totals.battedFirstWins;
    }
    if (match.timeRanOutIn(n - 1)) ++totals.timeRanOut;

    for (int k = 0; k < n; ++k) {
        const Innings& inn = match.innings[k];
        if (!inn.battingTeam) continue;
        const int battingSlot = slotOf[k % 2];
        const int fieldingSlot = slotOf[1 - k % 2];
        ++totals.inningsPlayed[k];
        if (inn.wickets >= 10) ++totals.allOut[k];
        totals.extras[k] += inn.byes + inn.legByes + inn.wides + inn.noBalls;
        totals.innings[k].add(inn.runs, inn.wickets, inn.legalBalls);
        for (int p = 0; p < inn.batsmenIn && p < 11; ++p) {
            const BattingLine& line = inn.batting[p];
            const int player = inn.battingOrder[p];
            if (player < 0 || player > 10) continue;
            PlayerTotals& t = totals.players[battingSlot][player];
            ++t.battingInnings;
            t.runs += line.runs;
            t.ballsFaced += line.balls;
            const int kind = line.dismissal.kind;
            if (kind >= Bowled && kind <= RetiredHurt) ++totals.dismissals[kind];
            if (kind >= Bowled && kind <= HandledBall) ++t.outs;  // retired hurt is not out
        }
        const Team& bowling = *inn.bowlingTeam;
        for (int pos = 0; pos < bowling.bowlerCount(); ++pos) {
            const int player = bowling.bowlerAt(pos);
            PlayerTotals& t = totals.players[fieldingSlot][player];
            t.ballsBowled += inn.bowling[pos].balls;
            t.runsConceded += inn.bowling[pos].runs;
            t.wickets += inn.bowling[pos].wickets;
        }
    }
}

}  // namespace

BatchResult runBatch(const BatchSettings& settings, const Team& first, const Team& second, std::atomic<int>* progress)
{
    BatchResult result;
    const int matches = settings.matches > 0 ? settings.matches : 0;
    result.inningsPerMatch = settings.options.oneDay ? 2 : 4;
    result.names[0] = first.name();
    result.names[1] = second.name();
    for (int p = 0; p < 11; ++p) {
        result.playerNames[0][p] = first.player(p)->name();
        result.playerNames[1][p] = second.player(p)->name();
    }

    // Matches are handed out in small blocks; each thread sums integers only,
    // so the totals do not depend on who played which match.
    constexpr int kBlock = 32;
    std::atomic<std::int64_t> next{0};
    const int threads = std::max(1, std::min(settings.threads, std::max(1, matches / kBlock + 1)));
    std::vector<BatchTotals> partial(static_cast<std::size_t>(threads));
    auto work = [&](int t) {
        for (;;) {
            const std::int64_t begin = next.fetch_add(kBlock);
            if (begin >= matches) break;
            const std::int64_t end = std::min<std::int64_t>(matches, begin + kBlock);
            for (std::int64_t i = begin; i < end; ++i) {
                const std::int64_t seed = settings.firstSeed + i;
                playOne(settings, first, second, static_cast<std::uint32_t>(seed), partial[t]);
                if (progress) progress->fetch_add(1, std::memory_order_relaxed);
            }
        }
    };
    runOnThreads(threads, work);
    for (const BatchTotals& p : partial)
        result.totals.add(p);
    return result;
}

Proportion wilsonInterval(std::int64_t successes, std::int64_t trials)
{
    Proportion p;
    if (trials <= 0) return p;
    const double n = static_cast<double>(trials);
    const double share = static_cast<double>(successes) / n;
    const double z = 1.959963984540054;
    const double z2 = z * z;
    const double centre = (share + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z * std::sqrt(share * (1 - share) / n + z2 / (4 * n * n)) / (1 + z2 / n);
    p.share = share;
    p.low = std::max(0.0, centre - half);
    p.high = std::min(1.0, centre + half);
    return p;
}

Distribution distribution(std::vector<std::pair<double, std::int64_t>>& counted)
{
    Distribution d;
    std::sort(counted.begin(), counted.end());
    std::int64_t n = 0;
    double sum = 0;
    for (const auto& [value, count] : counted) {
        n += count;
        sum += value * static_cast<double>(count);
    }
    if (n == 0) return d;
    auto rank = [&](double q) {
        std::int64_t r = static_cast<std::int64_t>(std::ceil(q * static_cast<double>(n)));
        r = std::clamp<std::int64_t>(r, 1, n);
        for (const auto& [value, count] : counted) {
            if (r <= count) return value;
            r -= count;
        }
        return counted.back().first;
    };
    d.mean = sum / static_cast<double>(n);
    d.median = rank(0.5);
    d.p10 = rank(0.1);
    d.p90 = rank(0.9);
    return d;
}

Distribution distribution(std::vector<double>& values)
{
    Distribution d;
    if (values.empty()) return d;
    std::sort(values.begin(), values.end());
    double sum = 0;
    for (double v : values)
        sum += v;
    const std::size_t n = values.size();
    auto rank = [&](double q) {
        std::size_t r = static_cast<std::size_t>(std::ceil(q * static_cast<double>(n)));
        if (r < 1) r = 1;
        if (r > n) r = n;
        return values[r - 1];
    };
    d.mean = sum / static_cast<double>(n);
    d.median = rank(0.5);
    d.p10 = rank(0.1);
    d.p90 = rank(0.9);
    return d;
}
