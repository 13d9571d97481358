// A tournament forecast at scale: 10,000 tournaments of a 10-side single
// round robin with semi-finals and a final (480,000 twenty-over matches) on
// two threads, and one tournament on one thread.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "analysis/tournament.h"

namespace {

// Ten sides: the two Twenty20 samples, each five times under other names.
const TournamentPlan& tenSides()
{
    static const TournamentPlan plan = [] {
        TournamentPlan s;
        s.name = "Bench Cup";
        s.options.overs = 20;
        s.playoff = 4;
        for (int i = 0; i < 10; ++i) {
            const std::string path =
                std::string(PELMORA_SOURCE_DIR) + "/samples/" + (i % 2 ? "harriers.xi" : "kestrels.xi");
            Team team;
            if (!team.load(path.c_str())) std::fprintf(stderr, "cannot load %s\n", path.c_str());
            team.setName(std::string(i % 2 ? "Harriers" : "Kestrels") + std::to_string(i / 2));
            s.sides.push_back(team);
            s.sidePaths.push_back(path);
        }
        return s;
    }();
    return plan;
}

void BM_Tournament(benchmark::State& state)
{
    std::int32_t seed = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(playTournament(tenSides(), seed));
        seed += tenSides().matchesPerTournament();
    }
    state.counters["matches/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * tenSides().matchesPerTournament(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Tournament)->Unit(benchmark::kMillisecond);

void BM_Forecast10000(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(runForecast(tenSides(), 1, 0, 10000, 2).tournaments);
}
BENCHMARK(BM_Forecast10000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
