// Many tournaments played: how often each side won, reached the final and
// the knock-outs, and where it finished, as a table or JSON.
#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "analysis/batch.h"
#include "analysis/formatted.h"
#include "analysis/on_threads.h"
#include "analysis/tournament.h"
#include "analysis/tournament_detail.h"

namespace {

using tournament_detail::padded;
using tournament_detail::seedRange;

struct SideForecast {
    int side;
    Proportion title, final, knockouts;
    double mean, low, high;
};

std::vector<SideForecast> summarise(const ForecastTotals& t)
{
    const std::size_t n = t.titles.size();
    std::vector<SideForecast> out;
    for (std::size_t s = 0; s < n; ++s) {
        SideForecast f{static_cast<int>(s),
                       wilsonInterval(t.titles[s], t.tournaments),
                       wilsonInterval(t.finals[s], t.tournaments),
                       wilsonInterval(t.knockouts[s], t.tournaments),
                       0,
                       0,
                       0};
        double sum = 0, squares = 0;
        for (std::size_t p = 0; p < n; ++p) {
            const double c = static_cast<double>(t.positions[s * n + p]), place = static_cast<double>(p + 1);
            sum += c * place;
            squares += c * place * place;
        }
        const double count = static_cast<double>(t.tournaments);
        if (count > 0) {
            f.mean = sum / count;
            const double variance = count > 1 ? std::max(0.0, (squares - sum * sum / count) / (count - 1)) : 0.0;
            const double half = 1.959963984540054 * std::sqrt(variance / count);
            f.low = f.mean - half;
            f.high = f.mean + half;
        }
        out.push_back(f);
    }
    std::stable_sort(out.begin(), out.end(), [&](const SideForecast& a, const SideForecast& b) {
        const std::size_t x = static_cast<std::size_t>(a.side), y = static_cast<std::size_t>(b.side);
        if (t.titles[x] != t.titles[y]) return t.titles[x] > t.titles[y];
        return a.mean < b.mean;
    });
    return out;
}

std::string share(const Proportion& p)
{
    return formatted("%5.1f%% (%4.1f-%5.1f)", p.share * 100, p.low * 100, p.high * 100);
}

nlohmann::json toJson(const Proportion& p, std::int64_t count)
{
    return {{"count", count}, {"share", p.share}, {"low", p.low}, {"high", p.high}};
}

}  // namespace

ForecastTotals::ForecastTotals(int sides)
    : titles(static_cast<std::size_t>(sides)),
      finals(static_cast<std::size_t>(sides)),
      knockouts(static_cast<std::size_t>(sides)),
      positions(static_cast<std::size_t>(sides) * static_cast<std::size_t>(sides))
{
}

void ForecastTotals::add(const TournamentRun& run)
{
    ++tournaments;
    const std::size_t n = titles.size();
    for (std::size_t s = 0; s < n && s < run.reached.size(); ++s) {
        const Stage r = run.reached[s];
        if (r >= Stage::Won) ++titles[s];
        if (r >= Stage::Final) ++finals[s];
        if (r >= Stage::Knockouts) ++knockouts[s];
    }
    for (std::size_t p = 0; p < run.finishing.size() && p < n; ++p)
        ++positions[static_cast<std::size_t>(run.finishing[p]) * n + p];
}

void ForecastTotals::add(const ForecastTotals& o)
{
    tournaments += o.tournaments;
    for (std::size_t s = 0; s < titles.size() && s < o.titles.size(); ++s) {
        titles[s] += o.titles[s];
        finals[s] += o.finals[s];
        knockouts[s] += o.knockouts[s];
    }
    for (std::size_t i = 0; i < positions.size() && i < o.positions.size(); ++i)
        positions[i] += o.positions[i];
}

ForecastTotals runForecast(const TournamentPlan& plan, std::int32_t firstSeed, std::int64_t begin, std::int64_t end,
                           int threads, std::atomic<int>* progress)
{
    const int sides = static_cast<int>(plan.sides.size());
    const std::int64_t perTournament = plan.matchesPerTournament();
    constexpr std::int64_t kBlock = 4;
    const std::int64_t count = std::max<std::int64_t>(0, end - begin);
    threads = static_cast<int>(std::max<std::int64_t>(1, std::min<std::int64_t>(threads, count / kBlock + 1)));
    std::atomic<std::int64_t> next{begin};
    std::vector<ForecastTotals> partial(static_cast<std::size_t>(threads), ForecastTotals(sides));
    auto work = [&](int t) {
        for (;;) {
            const std::int64_t from = next.fetch_add(kBlock);
            if (from >= end) break;
            for (std::int64_t i = from; i < std::min(end, from + kBlock); ++i) {
                const std::int64_t seed = firstSeed + i * perTournament;
                partial[static_cast<std::size_t>(t)].add(playTournament(plan, static_cast<std::int32_t>(seed)));
                if (progress) progress->fetch_add(1, std::memory_order_relaxed);
            }
        }
    };
    runOnThreads(threads, work);
    ForecastTotals totals(sides);
    for (const ForecastTotals& p : partial)
        totals.add(p);
    return totals;
}

std::string formatForecastTable(const TournamentPlan& plan, const ForecastTotals& t, std::int32_t firstSeed)
{
    std::string out = plan.name + formatted(": %lld tournaments, ", static_cast<long long>(t.tournaments)) +
                      plan.describe() + "; " + seedRange(firstSeed, t.tournaments * plan.matchesPerTournament()) +
                      "\n\n";
    out += padded("side", 15) + formatted("  %-22s", "winner (95% CI)");
    if (plan.playoff > 1) out += formatted("%-22s%-22s", "final", "knock-outs");
    out += "position\n";
    for (const SideForecast& f : summarise(t)) {
        out += padded(plan.sides[static_cast<std::size_t>(f.side)].name(), 15) + "  " + share(f.title) + "  ";
        if (plan.playoff > 1) out += share(f.final) + "  " + share(f.knockouts) + "  ";
        out += formatted("%5.2f (%.2f-%.2f)\n", f.mean, f.low, f.high);
    }
    return out;
}

std::string formatForecastJson(const TournamentPlan& plan, const ForecastTotals& t, std::int32_t firstSeed)
{
    nlohmann::json j;
    j["tournament"] = plan.name;
    j["format"] = plan.describe();
    j["tournaments"] = t.tournaments;
    j["firstSeed"] = firstSeed;
    j["matchesPerTournament"] = plan.matchesPerTournament();
    nlohmann::json sides = nlohmann::json::array();
    const std::size_t n = t.titles.size();
    for (const SideForecast& f : summarise(t)) {
        const std::size_t s = static_cast<std::size_t>(f.side);
        nlohmann::json places = nlohmann::json::array();
        for (std::size_t p = 0; p < n; ++p)
            places.push_back(t.positions[s * n + p]);
        sides.push_back({{"team", plan.sides[s].name()},
                         {"file", plan.sidePaths[s]},
                         {"winner", toJson(f.title, t.titles[s])},
                         {"final", toJson(f.final, t.finals[s])},
                         {"knockouts", toJson(f.knockouts, t.knockouts[s])},
                         {"position", {{"mean", f.mean}, {"low", f.low}, {"high", f.high}, {"counts", places}}}});
    }
    j["sides"] = sides;
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
