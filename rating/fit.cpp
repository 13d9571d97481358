#include "rating/fit.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "analysis/on_threads.h"
#include "match/unattended.h"
#include "rating/match_record.h"

namespace {

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

// Batsmen and bowlers are adjusted in the same round, each as if the other
// side stayed put; a shortfall both see would be corrected twice, so each
// takes half its step.
constexpr double kStep = 0.5;

struct Fitter {
    const std::vector<Figures>& real;
    const std::vector<Fixture>& fixtures;
    const FitSettings& settings;
    std::vector<Ratings> ratings;
    std::vector<BattingTarget> batTargets;
    std::vector<BowlingTarget> bowlTargets;
    double averageTempo = 450, averageRisk = 100;  // of the batsmen, by balls faced
    double tempoScale = 1;                         // a Test damps every activity level

    Fitter(const std::vector<Figures>& r, const std::vector<Fixture>& f, const std::vector<int>& styles,
           const FitSettings& s)
        : real(r), fixtures(f), settings(s), ratings(r.size()), batTargets(r.size()), bowlTargets(r.size())
    {
        tempoScale = settings.oneDay ? 1.0 : 0.57;
        Figures pooled[11], all;
        for (std::size_t i = 0; i < real.size(); ++i) {
            pooled[real[i].usualPosition() - 1].add(real[i]);
            all.add(real[i]);
            if (i < styles.size()) ratings[i].bowlStyle = styles[i];
        }
        const int k = settings.shrinkBalls;
        for (std::size_t i = 0; i < real.size(); ++i) {
            const Figures& f = real[i];
            const Figures& pool = pooled[f.usualPosition() - 1].balls > 0 ? pooled[f.usualPosition() - 1] : all;
            batTargets[i] = {shrunk(f.runs, f.balls, rate(pool.runs, pool.balls), k),
                             shrunk(f.earlyOuts, f.earlyBalls, rate(pool.earlyOuts, pool.earlyBalls), k),
                             shrunk(f.lateOuts, f.lateBalls, rate(pool.lateOuts, pool.lateBalls), k)};
            bowlTargets[i] = {shrunk(f.conceded, f.bowlBalls, rate(all.conceded, all.bowlBalls), k),
                              shrunk(f.wickets, f.bowlBalls, rate(all.wickets, all.bowlBalls), k)};
        }
        updateAverages();
    }

    // The means of two ratings over all players, each player weighted by one of his counts.
    bool weightedMeans(std::int64_t Figures::*weight, int Ratings::*a, int Ratings::*b, double& meanA,
                       double& meanB) const
    {
        double sumA = 0, sumB = 0, sum = 0;
        for (std::size_t i = 0; i < real.size(); ++i) {
            const double w = double(real[i].*weight);
            sumA += w * (ratings[i].*a);
            sumB += w * (ratings[i].*b);
            sum += w;
        }
        if (sum <= 0) return false;
        meanA = sumA / sum;
        meanB = sumB / sum;
        return true;
    }

    void updateAverages()
    {
        weightedMeans(&Figures::balls, &Ratings::batTempo, &Ratings::batRisk, averageTempo, averageRisk);
    }

    Team side(const Eleven& eleven) const { return ratedSide(eleven, ratings, real, settings.oneDay); }

    // Plays every fixture `perFixture` times with the current ratings and
    // returns each player's figures in them.
    std::vector<Figures> play(int round, int perFixture)
    {
        std::vector<Team> teams;
        teams.reserve(fixtures.size() * 2);
        for (const Fixture& f : fixtures) {
            teams.push_back(side(f.sides[0]));
            teams.push_back(side(f.sides[1]));
        }
        const int total = static_cast<int>(fixtures.size()) * perFixture;
        const int threads = std::max(1, std::min(settings.threads, total / 16 + 1));
        std::vector<std::vector<Figures>> partial(static_cast<std::size_t>(threads), std::vector<Figures>(real.size()));
        std::atomic<int> next{0};
        auto work = [&](int t) {
            std::vector<Figures>& out = partial[static_cast<std::size_t>(t)];
            MatchRecord record;
            for (;;) {
                const int begin = next.fetch_add(8);
                if (begin >= total) break;
                for (int m = begin; m < std::min(total, begin + 8); ++m) {
                    const std::size_t f = static_cast<std::size_t>(m / perFixture);
                    const std::uint32_t seed =
                        mix(mix(settings.seed, static_cast<std::uint32_t>(round)), static_cast<std::uint32_t>(m));
                    Match match;
                    match.options().oneDay = settings.oneDay ? 1 : 0;
                    // A Twenty20 archive is played again as twenty-over matches.
                    if (fixtures[f].overs > 0) match.options().overs = std::min(fixtures[f].overs, Match::kMaxOvers);
                    int battedFirst = 0;
                    if (playUnattended(match, teams[2 * f], teams[2 * f + 1], seed, &battedFirst) !=
                        UnattendedResult::Played)
                        continue;
                    recordOfMatch(match, record);
                    // Person k of the record is player k of the side that batted first.
                    Figures* figures[22] = {};
                    for (int s = 0; s < 2; ++s) {
                        const Eleven& eleven = fixtures[f].sides[s == battedFirst ? 0 : 1];
                        for (int k = 0; k < 11; ++k)
                            figures[11 * s + k] =
                                &out[static_cast<std::size_t>(eleven.players[static_cast<std::size_t>(k)])];
                    }
                    addMatchFigures(record, figures, figures);
                }
            }
        };
        runOnThreads(threads, work);
        std::vector<Figures> sum(real.size());
        for (const auto& p : partial)
            for (std::size_t i = 0; i < sum.size(); ++i)
                sum[i].add(p[i]);
        return sum;
    }

    // One step: the engine's rates at the current ratings calibrate the
    // per-ball model (activity times chance), which is then solved for the
    // real rates. At the fixed point the simulated rates equal the real ones.
    // Returns how far the step moved the ratings (movementFrom), the shift of
    // the convention aside, since that changes no ball.
    double adjust(const std::vector<Figures>& sim)
    {
        const std::vector<Ratings> before = ratings;
        const double m = tempoScale;
        for (std::size_t i = 0; i < real.size(); ++i) {
            Ratings& r = ratings[i];
            const Figures& s = sim[i];
            const BattingTarget& t = batTargets[i];
            const double a = std::clamp((r.batTempo + kReferenceBowlTempo) * m / 2000.0, 0.02, 0.98);
            const double c = std::clamp((r.batRisk + kReferenceBowlThreat + 1) / 2000.0, 0.002, 0.9);
            const double rs = rate(s.runs, s.balls), hs = rate(s.earlyOuts, s.earlyBalls);
            if (s.runs > 0 && s.earlyOuts > 0) {
                const double kE = rs / (a * (1 - c)), kH = hs / (a * c);
                const double a2 = t.runsPerBall / kE + t.earlyHazard / kH;
                const double c2 = (t.earlyHazard / kH) / a2;
                r.batTempo =
                    clampRound(r.batTempo + kStep * (a2 * 2000.0 / m - kReferenceBowlTempo - r.batTempo), 0, 1500);
                r.batRisk =
                    clampRound(r.batRisk + kStep * (c2 * 2000.0 - kReferenceBowlThreat - 1 - r.batRisk), 0, 1000);
            }
            if (s.lateOuts > 0 && s.earlyOuts > 0 && t.earlyHazard > 0) {
                const double kept = 1 - (r.batSurvival + 1) / 1000.0;
                const double kS = rate(s.lateOuts, s.lateBalls) / hs / std::max(kept, 0.001);
                const double kept2 = t.lateHazard / t.earlyHazard / kS;
                r.batSurvival = clampRound((1 - kept2) * 1000.0 - 1, 0, 999);
            }
        }
        const double activityBase = averageTempo, chanceBase = averageRisk + 1;
        for (std::size_t b = 0; b < real.size(); ++b) {
            Ratings& r = ratings[b];
            const Figures& s = sim[b];
            const BowlingTarget& t = bowlTargets[b];
            if (real[b].bowlBalls <= 0 || s.conceded <= 0 || s.wickets <= 0) continue;
            const double a = std::clamp((r.bowlTempo + activityBase) * m / 2000.0, 0.02, 0.98);
            const double c = std::clamp((r.bowlThreat + chanceBase) / 2000.0, 0.002, 0.9);
            const double kE = rate(s.conceded, s.bowlBalls) / (a * (1 - c));
            const double kW = rate(s.wickets, s.bowlBalls) / (a * c);
            const double a2 = t.runsPerBall / kE + t.wicketsPerBall / kW;
            const double c2 = (t.wicketsPerBall / kW) / a2;
            r.bowlTempo = clampRound(r.bowlTempo + kStep * (a2 * 2000.0 / m - activityBase - r.bowlTempo), 0, 1500);
            r.bowlThreat = clampRound(r.bowlThreat + kStep * (c2 * 2000.0 - chanceBase - r.bowlThreat), 0, 1000);
        }
        const double movement = movementFrom(before);
        pin();
        updateAverages();
        return movement;
    }

    // How far the ratings moved from `before`: of each of batTempo, batRisk,
    // bowlTempo and bowlThreat, the mean absolute change over the players
    // rated on their own balls, weighted by those balls; the largest of the
    // four. batSurvival rests on the ratio of two small counts of outs and
    // would take many times the matches to settle as well; it follows them.
    double movementFrom(const std::vector<Ratings>& before) const
    {
        double bat[2] = {}, bowl[2] = {}, batBalls = 0, bowlBalls = 0;
        for (std::size_t i = 0; i < real.size(); ++i) {
            const Ratings &now = ratings[i], &was = before[i];
            if (real[i].balls >= kFewestBallsRated) {
                const double w = double(real[i].balls);
                bat[0] += w * std::abs(now.batTempo - was.batTempo);
                bat[1] += w * std::abs(now.batRisk - was.batRisk);
                batBalls += w;
            }
            if (real[i].bowlBalls >= kFewestBallsRated) {
                const double w = double(real[i].bowlBalls);
                bowl[0] += w * std::abs(now.bowlTempo - was.bowlTempo);
                bowl[1] += w * std::abs(now.bowlThreat - was.bowlThreat);
                bowlBalls += w;
            }
        }
        double largest = 0;
        for (double sum : bat)
            largest = std::max(largest, batBalls > 0 ? sum / batBalls : 0);
        for (double sum : bowl)
            largest = std::max(largest, bowlBalls > 0 ? sum / bowlBalls : 0);
        return largest;
    }

    // The prior for ratings resting on too few balls: the ball-weighted
    // average of those of his batting position (of all, if none there) and of
    // all bowlers who rest on enough.
    void applyPriors()
    {
        double bat[12][4] = {}, bowl[3] = {};  // per position, [11] all: sums of w*tempo, w*risk, w*survival, w
        for (std::size_t i = 0; i < real.size(); ++i) {
            const Ratings& r = ratings[i];
            const double w = double(real[i].balls), wb = double(real[i].bowlBalls);
            if (real[i].balls >= kFewestBallsRated)
                for (int at : {real[i].usualPosition() - 1, 11}) {
                    bat[at][0] += w * r.batTempo;
                    bat[at][1] += w * r.batRisk;
                    bat[at][2] += w * r.batSurvival;
                    bat[at][3] += w;
                }
            if (real[i].bowlBalls >= kFewestBallsRated) {
                bowl[0] += wb * r.bowlTempo;
                bowl[1] += wb * r.bowlThreat;
                bowl[2] += wb;
            }
        }
        for (std::size_t i = 0; i < real.size(); ++i) {
            Ratings& r = ratings[i];
            if (real[i].balls < kFewestBallsRated) {
                const int at = bat[real[i].usualPosition() - 1][3] > 0 ? real[i].usualPosition() - 1 : 11;
                if (bat[at][3] > 0) {
                    r.batTempo = clampRound(bat[at][0] / bat[at][3], 0, 1500);
                    r.batRisk = clampRound(bat[at][1] / bat[at][3], 0, 1000);
                    r.batSurvival = clampRound(bat[at][2] / bat[at][3], 0, 999);
                }
            }
            if (real[i].bowlBalls < kFewestBallsRated) {
                r.bowlTempo = bowl[2] > 0 ? clampRound(bowl[0] / bowl[2], 0, 1500) : kReferenceBowlTempo;
                r.bowlThreat = bowl[2] > 0 ? clampRound(bowl[1] / bowl[2], 0, 1000) : kReferenceBowlThreat;
            }
        }
    }

    // The convention: shifts bowling terms one way and batting terms the
    // other, which leaves every ball's activity and chance as they were,
    // until the ball-weighted average bowler is at the reference values.
    void pin()
    {
        double tempo = 0, threat = 0;
        if (!weightedMeans(&Figures::bowlBalls, &Ratings::bowlTempo, &Ratings::bowlThreat, tempo, threat)) return;
        const int dt = clampRound(kReferenceBowlTempo - tempo, -1500, 1500);
        const int dh = clampRound(kReferenceBowlThreat - threat, -1000, 1000);
        for (Ratings& r : ratings) {
            r.bowlTempo = std::clamp(r.bowlTempo + dt, 0, 1500);
            r.bowlThreat = std::clamp(r.bowlThreat + dh, 0, 1000);
            r.batTempo = std::clamp(r.batTempo - dt, 0, 1500);
            r.batRisk = std::clamp(r.batRisk - dh, 0, 1000);
        }
    }
};

}  // namespace

Team ratedSide(const Eleven& eleven, const std::vector<Ratings>& ratings, const std::vector<Figures>& real, bool oneDay)
{
    const auto figures = [&](int k) -> const Figures& {
        return real[static_cast<std::size_t>(eleven.players[static_cast<std::size_t>(k)])];
    };
    bool bowls[11];
    int keeper = -1;
    for (int k = 0; k < 11; ++k) {
        bowls[k] = eleven.bowled[static_cast<std::size_t>(k)];
        if (!bowls[k] && (keeper < 0 || figures(k).stumpings > figures(keeper).stumpings)) keeper = k;
    }
    GameOptions kind;
    kind.oneDay = oneDay ? 1 : 0;
    for (int have = static_cast<int>(std::count(bowls, bowls + 11, true)); have < bowlersNeeded(kind); ++have) {
        int best = -1;
        for (int k = 0; k < 11; ++k)
            if (k != keeper && !bowls[k] && (best < 0 || figures(k).bowlBalls > figures(best).bowlBalls)) best = k;
        if (best < 0) break;
        bowls[best] = true;
    }
    Team team;
    int list[Team::kMaxBowlers];
    int count = 0;
    for (int k = 0; k < 11; ++k) {
        const Ratings& r = ratings[static_cast<std::size_t>(eleven.players[static_cast<std::size_t>(k)])];
        Player& p = *team.player(k);
        p.batTempo = r.batTempo;
        p.batRisk = r.batRisk;
        p.batSurvival = r.batSurvival;
        p.isKeeper = k == keeper;
        if (bowls[k] && k != keeper && count < Team::kMaxBowlers) {
            p.isBowler = 1;
            p.bowlTempo = r.bowlTempo;
            p.bowlThreat = r.bowlThreat;
            p.bowlStyle = r.bowlStyle;
            list[count++] = k;
        }
    }
    team.setKeeper(std::max(keeper, 0));
    team.setBowlers(list, count);
    return team;
}

FitResult fitRatings(const std::vector<Figures>& real, const std::vector<Fixture>& fixtures,
                     const std::vector<int>& styles, const FitSettings& settings)
{
    FitResult result;
    if (real.empty()) return result;
    Fitter fitter(real, fixtures, styles, settings);
    result.simulated.resize(real.size());
    if (fixtures.empty()) {
        fitter.applyPriors();
        result.ratings = fitter.ratings;
        return result;
    }
    // Rounds grow: early ones only need the direction, the last ones
    // precision. Every round's ratings are measured before they are
    // adjusted, so the last round's ratings are kept with its figures.
    const std::int64_t fixtureCount = static_cast<std::int64_t>(fixtures.size());
    const std::int64_t budget = std::max(settings.simulations, fixtureCount);
    const int maxRounds = std::max(settings.maxRounds, 1);
    std::int64_t plays = 1;
    for (int round = 1;; ++round) {
        const std::int64_t n = std::clamp<std::int64_t>((budget - result.matchesPlayed) / fixtureCount, 1, plays);
        std::vector<Figures> sim = fitter.play(round - 1, static_cast<int>(n));
        result.matchesPlayed += n * fixtureCount;
        std::vector<Ratings> measured = fitter.ratings;
        const double movement = fitter.adjust(sim);
        if (settings.onRound) settings.onRound(FitRound{round, static_cast<int>(n), movement});
        if (movement <= settings.tolerance || round >= maxRounds || budget - result.matchesPlayed < fixtureCount) {
            fitter.ratings = std::move(measured);
            result.simulated = std::move(sim);
            result.rounds = round;
            result.movement = movement;
            break;
        }
        plays = std::min<std::int64_t>(plays * 2, 1 << 20);
    }
    fitter.applyPriors();
    result.ratings = fitter.ratings;
    return result;
}
