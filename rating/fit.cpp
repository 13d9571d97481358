#include "rating/fit.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "analysis/on_threads.h"
#include "match/unattended.h"
#include "rating/match_record.h"

namespace {

constexpr int kLabBowlers = 5;  // bowling slots 6..10 of a lab side
constexpr int kFirstBowlingSlot = 6;
constexpr int kKeeperSlot = 5;

// The rates a fit aims at: runs per ball, outs per ball before and after a
// batsman is in; for a bowler runs per ball and wickets per ball.
struct BattingTarget {
    double runsPerBall = 0, earlyHazard = 0, lateHazard = 0;
};
struct BowlingTarget {
    double runsPerBall = 0, wicketsPerBall = 0;
};

double shrunk(std::int64_t count, std::int64_t balls, double average, int k)
{
    return (double(count) + k * average) / (double(balls) + k);
}

double rate(std::int64_t count, std::int64_t balls)
{
    return balls > 0 ? double(count) / double(balls) : 0;
}

std::uint32_t mix(std::uint32_t a, std::uint32_t b)
{
    std::uint64_t z = (std::uint64_t(a) << 32 | b) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

int clampRound(double v, int low, int high)
{
    if (!std::isfinite(v)) return low;
    return static_cast<int>(std::lround(std::clamp(v, double(low), double(high))));
}

struct Fitter {
    const std::vector<Figures>& real;
    const FitSettings& settings;
    std::vector<Ratings> ratings;
    std::vector<BattingTarget> batTargets;
    std::vector<BowlingTarget> bowlTargets;
    std::vector<std::vector<int>> buckets;  // players by usual position
    std::vector<int> bowlers;
    int labSides = 1;
    Ratings averageAt[11];  // the average batsman at each position
    double averageTempo = 450, averageRisk = 100;
    double tempoScale = 1;  // a Test damps every activity level

    Fitter(const std::vector<Figures>& r, const std::vector<int>& styles, const FitSettings& s)
        : real(r), settings(s), ratings(r.size()), batTargets(r.size()), bowlTargets(r.size()), buckets(11)
    {
        tempoScale = settings.oneDay ? 1.0 : 0.57;
        Figures pooled[11], all;
        for (std::size_t i = 0; i < real.size(); ++i) {
            const int p = real[i].usualPosition() - 1;
            buckets[static_cast<std::size_t>(p)].push_back(static_cast<int>(i));
            pooled[p].add(real[i]);
            all.add(real[i]);
            if (real[i].bowlBalls > 0) bowlers.push_back(static_cast<int>(i));
            if (i < styles.size()) ratings[i].bowlStyle = styles[i];
        }
        const int k = settings.shrinkBalls;
        for (std::size_t i = 0; i < real.size(); ++i) {
            const Figures& f = real[i];
            const Figures& pool = pooled[f.usualPosition() - 1].balls > 0 ? pooled[f.usualPosition() - 1] : all;
            const std::int64_t balls = f.earlyBalls + f.lateBalls, poolBalls = pool.earlyBalls + pool.lateBalls;
            batTargets[i] = {shrunk(f.ratedRuns, balls, rate(pool.ratedRuns, poolBalls), k),
                             shrunk(f.earlyOuts, f.earlyBalls, rate(pool.earlyOuts, pool.earlyBalls), k),
                             shrunk(f.lateOuts, f.lateBalls, rate(pool.lateOuts, pool.lateBalls), k)};
            bowlTargets[i] = {shrunk(f.ratedConceded, f.ratedBowlBalls, rate(all.ratedConceded, all.ratedBowlBalls), k),
                              shrunk(f.ratedWickets, f.ratedBowlBalls, rate(all.ratedWickets, all.ratedBowlBalls), k)};
        }
        std::size_t widest = 1;
        for (const auto& b : buckets)
            widest = std::max(widest, b.size());
        labSides = static_cast<int>(std::max<std::size_t>(widest, (bowlers.size() + kLabBowlers - 1) / kLabBowlers));
        updateAverages();
    }

    // The average opponents' batting, position by position, weighted by the
    // balls each batsman really faced.
    void updateAverages()
    {
        double sumT = 0, sumR = 0, sumW = 0;
        for (int p = 0; p < 11; ++p) {
            double t = 0, r = 0, s = 0, w = 0;
            for (int i : buckets[static_cast<std::size_t>(p)]) {
                const double weight = double(real[static_cast<std::size_t>(i)].balls) + 1;
                t += weight * ratings[static_cast<std::size_t>(i)].batTempo;
                r += weight * ratings[static_cast<std::size_t>(i)].batRisk;
                s += weight * ratings[static_cast<std::size_t>(i)].batSurvival;
                w += weight;
            }
            Ratings& a = averageAt[p];
            if (w > 0) {
                a.batTempo = clampRound(t / w, 0, 1500);
                a.batRisk = clampRound(r / w, 0, 1000);
                a.batSurvival = clampRound(s / w, 0, 999);
            }
            sumT += t;
            sumR += r;
            sumW += w;
        }
        if (sumW > 0) {
            averageTempo = sumT / sumW;
            averageRisk = sumR / sumW;
        }
    }

    Team labSide(int j) const
    {
        Team team;
        team.setName("Lab");
        int bowlerList[kLabBowlers];
        for (int k = 0; k < 11; ++k) {
            const auto& bucket = buckets[static_cast<std::size_t>(k)];
            const Ratings& bat = static_cast<std::size_t>(j) < bucket.size()
                                     ? ratings[static_cast<std::size_t>(bucket[static_cast<std::size_t>(j)])]
                                     : averageAt[k];
            Player& p = *team.player(k);
            p.setName("P" + std::to_string(k));
            p.batTempo = bat.batTempo;
            p.batRisk = bat.batRisk;
            p.batSurvival = bat.batSurvival;
            p.isKeeper = k == kKeeperSlot;
            if (k >= kFirstBowlingSlot) {
                const std::size_t b = static_cast<std::size_t>(j * kLabBowlers + k - kFirstBowlingSlot);
                Ratings reference;
                reference.bowlTempo = kReferenceBowlTempo;
                reference.bowlThreat = kReferenceBowlThreat;
                const Ratings& bowl = b < bowlers.size() ? ratings[static_cast<std::size_t>(bowlers[b])] : reference;
                p.isBowler = 1;
                p.bowlTempo = bowl.bowlTempo;
                p.bowlThreat = bowl.bowlThreat;
                p.bowlStyle = bowl.bowlStyle;
                bowlerList[k - kFirstBowlingSlot] = k;
            }
        }
        team.setKeeper(kKeeperSlot);
        team.setBowlers(bowlerList, kLabBowlers);
        return team;
    }

    Team averageSide() const
    {
        Team team;
        team.setName("Average");
        int bowlerList[kLabBowlers];
        for (int k = 0; k < 11; ++k) {
            Player& p = *team.player(k);
            p.setName("A" + std::to_string(k));
            p.batTempo = averageAt[k].batTempo;
            p.batRisk = averageAt[k].batRisk;
            p.batSurvival = averageAt[k].batSurvival;
            p.isKeeper = k == kKeeperSlot;
            if (k >= kFirstBowlingSlot) {
                p.isBowler = 1;
                p.bowlTempo = kReferenceBowlTempo;
                p.bowlThreat = kReferenceBowlThreat;
                p.bowlStyle = Player::Neutral;
                bowlerList[k - kFirstBowlingSlot] = k;
            }
        }
        team.setKeeper(kKeeperSlot);
        team.setBowlers(bowlerList, kLabBowlers);
        return team;
    }

    // Plays `perSide` matches for every lab side; returns each lab side's
    // figures, 11 batting slots then 5 bowling slots per side.
    std::vector<Figures> play(int round, int perSide)
    {
        std::vector<Team> labs;
        for (int j = 0; j < labSides; ++j)
            labs.push_back(labSide(j));
        const Team opponents = averageSide();
        const int total = labSides * perSide;
        const int threads = std::max(1, std::min(settings.threads, total / 16 + 1));
        std::vector<std::vector<Figures>> partial(static_cast<std::size_t>(threads),
                                                  std::vector<Figures>(static_cast<std::size_t>(labSides) * 16));
        std::atomic<int> next{0};
        auto work = [&](int t) {
            std::vector<Figures>& out = partial[static_cast<std::size_t>(t)];
            MatchRecord record;
            for (;;) {
                const int begin = next.fetch_add(8);
                if (begin >= total) break;
                for (int m = begin; m < std::min(total, begin + 8); ++m) {
                    const int j = m / perSide;
                    const std::uint32_t seed =
                        mix(mix(settings.seed, static_cast<std::uint32_t>(round)), static_cast<std::uint32_t>(m));
                    Match match;
                    match.options().oneDay = settings.oneDay ? 1 : 0;
                    int battedFirst = 0;
                    if (playUnattended(match, labs[static_cast<std::size_t>(j)], opponents, seed, &battedFirst) !=
                        UnattendedResult::Played)
                        continue;
                    recordOfMatch(match, record);
                    Figures* batting[22] = {};
                    Figures* bowling[22] = {};
                    const int base = battedFirst == 0 ? 0 : 11;
                    Figures* slots = &out[static_cast<std::size_t>(j) * 16];
                    for (int k = 0; k < 11; ++k)
                        batting[base + k] = &slots[k];
                    for (int k = kFirstBowlingSlot; k < 11; ++k)
                        bowling[base + k] = &slots[11 + k - kFirstBowlingSlot];
                    addMatchFigures(record, batting, bowling);
                }
            }
        };
        runOnThreads(threads, work);
        std::vector<Figures> sum(static_cast<std::size_t>(labSides) * 16);
        for (const auto& p : partial)
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i].add(p[i]);
        return sum;
    }

    // The lab figures of each player, batting and bowling merged.
    std::vector<Figures> byPlayer(const std::vector<Figures>& lab) const
    {
        std::vector<Figures> out(real.size());
        for (int k = 0; k < 11; ++k) {
            const auto& bucket = buckets[static_cast<std::size_t>(k)];
            for (std::size_t j = 0; j < bucket.size(); ++j) {
                const Figures& f = lab[j * 16 + static_cast<std::size_t>(k)];
                Figures& o = out[static_cast<std::size_t>(bucket[j])];
                o.matches = f.matches;
                o.innings = f.innings;
                o.balls = f.balls;
                o.runs = f.runs;
                o.outs = f.outs;
                o.fours = f.fours;
                o.sixes = f.sixes;
                o.ratedRuns = f.ratedRuns;
                o.earlyBalls = f.earlyBalls;
                o.earlyOuts = f.earlyOuts;
                o.lateBalls = f.lateBalls;
                o.lateOuts = f.lateOuts;
            }
        }
        for (std::size_t b = 0; b < bowlers.size(); ++b) {
            const Figures& f = lab[(b / kLabBowlers) * 16 + 11 + b % kLabBowlers];
            Figures& o = out[static_cast<std::size_t>(bowlers[b])];
            o.bowlBalls = f.bowlBalls;
            o.conceded = f.conceded;
            o.wickets = f.wickets;
            o.wides = f.wides;
            o.noBalls = f.noBalls;
            o.matchesBowled = f.matchesBowled;
            o.ratedBowlBalls = f.ratedBowlBalls;
            o.ratedConceded = f.ratedConceded;
            o.ratedWickets = f.ratedWickets;
        }
        return out;
    }

    // One step: the engine's rates at the current ratings calibrate the
    // per-ball model (activity times chance), which is then solved for the
    // real rates. At the fixed point the simulated rates equal the real ones.
    void adjust(const std::vector<Figures>& sim)
    {
        const double m = tempoScale;
        for (std::size_t i = 0; i < real.size(); ++i) {
            Ratings& r = ratings[i];
            const Figures& s = sim[i];
            const BattingTarget& t = batTargets[i];
            const double a = std::clamp((r.batTempo + kReferenceBowlTempo) * m / 2000.0, 0.02, 0.98);
            const double c = std::clamp((r.batRisk + kReferenceBowlThreat + 1) / 2000.0, 0.002, 0.9);
            const double rs = rate(s.ratedRuns, s.earlyBalls + s.lateBalls), hs = rate(s.earlyOuts, s.earlyBalls);
            if (s.ratedRuns > 0 && s.earlyOuts > 0) {
                const double kE = rs / (a * (1 - c)), kH = hs / (a * c);
                const double a2 = t.runsPerBall / kE + t.earlyHazard / kH;
                const double c2 = (t.earlyHazard / kH) / a2;
                r.batTempo = clampRound(a2 * 2000.0 / m - kReferenceBowlTempo, 0, 1500);
                r.batRisk = clampRound(c2 * 2000.0 - kReferenceBowlThreat - 1, 0, 1000);
            }
            if (s.lateOuts > 0 && s.earlyOuts > 0 && t.earlyHazard > 0) {
                const double kept = 1 - (r.batSurvival + 1) / 1000.0;
                const double kS = rate(s.lateOuts, s.lateBalls) / hs / std::max(kept, 0.001);
                const double kept2 = t.lateHazard / t.earlyHazard / kS;
                r.batSurvival = clampRound((1 - kept2) * 1000.0 - 1, 0, 999);
            }
        }
        const double activityBase = averageTempo, chanceBase = averageRisk + 1;
        for (int b : bowlers) {
            Ratings& r = ratings[static_cast<std::size_t>(b)];
            const Figures& s = sim[static_cast<std::size_t>(b)];
            const BowlingTarget& t = bowlTargets[static_cast<std::size_t>(b)];
            if (s.ratedConceded <= 0 || s.ratedWickets <= 0) continue;
            const double a = std::clamp((r.bowlTempo + activityBase) * m / 2000.0, 0.02, 0.98);
            const double c = std::clamp((r.bowlThreat + chanceBase) / 2000.0, 0.002, 0.9);
            const double kE = rate(s.ratedConceded, s.ratedBowlBalls) / (a * (1 - c));
            const double kW = rate(s.ratedWickets, s.ratedBowlBalls) / (a * c);
            const double a2 = t.runsPerBall / kE + t.wicketsPerBall / kW;
            const double c2 = (t.wicketsPerBall / kW) / a2;
            r.bowlTempo = clampRound(a2 * 2000.0 / m - activityBase, 0, 1500);
            r.bowlThreat = clampRound(c2 * 2000.0 - chanceBase, 0, 1000);
        }
        updateAverages();
    }
};

}  // namespace

FitResult fitRatings(const std::vector<Figures>& real, const std::vector<int>& styles, const FitSettings& settings)
{
    FitResult result;
    if (real.empty()) return result;
    Fitter fitter(real, styles, settings);
    // Rounds grow: early ones only need the direction, the last ones precision.
    constexpr int kWeights[] = {1, 1, 1, 2, 2, 3, 4};
    constexpr int kMeasureWeight = 4;
    int weightSum = kMeasureWeight;
    for (int w : kWeights)
        weightSum += w;
    auto perSide = [&](int w) {
        const std::int64_t n = settings.simulations * w / (std::int64_t(weightSum) * fitter.labSides);
        return static_cast<int>(std::clamp<std::int64_t>(n, 8, 1000000));
    };
    int round = 0;
    for (int w : kWeights) {
        const int n = perSide(w);
        fitter.adjust(fitter.byPlayer(fitter.play(round++, n)));
        result.matchesPlayed += std::int64_t(n) * fitter.labSides;
    }
    const int n = perSide(kMeasureWeight);
    result.simulated = fitter.byPlayer(fitter.play(round, n));
    result.matchesPlayed += std::int64_t(n) * fitter.labSides;
    result.ratings = fitter.ratings;
    return result;
}
