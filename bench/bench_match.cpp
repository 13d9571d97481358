// Matches and deliveries per second on one core, with and without the report.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "analysis/batch.h"
#include "match/match.h"
#include "match/unattended.h"
#include "presentation/scorecard_writer.h"

namespace {

Team loadSide(const char* file)
{
    Team team;
    const std::string path = std::string(PELMORA_SOURCE_DIR) + "/samples/" + file;
    if (!team.load(path.c_str())) std::fprintf(stderr, "cannot load %s\n", path.c_str());
    return team;
}

const Team& north()
{
    static const Team team = loadSide("northshire.xi");
    return team;
}
const Team& south()
{
    static const Team team = loadSide("southmoor.xi");
    return team;
}

void runMatches(benchmark::State& state, int oneDay, bool report, bool longReport = false)
{
    std::FILE* sink = report ? std::fopen("/dev/null", "w") : nullptr;
    unsigned seed = 1;
    long deliveries = 0;
    for (auto _ : state) {
        Match match;
        match.options().oneDay = oneDay;
        match.options().briefOutput = longReport ? 0 : 1;
        playUnattended(match, north(), south(), seed++);
        for (const Innings& inn : match.innings)
            deliveries += inn.deliveries;
        if (report) {
            ScorecardWriter::writeReport(match, sink);
        }
        benchmark::DoNotOptimize(match.innings[0].runs);
    }
    state.counters["matches/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["deliveries/s"] = benchmark::Counter(static_cast<double>(deliveries), benchmark::Counter::kIsRate);
    if (sink) std::fclose(sink);
}

void OneDayMatch(benchmark::State& state)
{
    runMatches(state, 1, false);
}
void OneDayMatchWithReport(benchmark::State& state)
{
    runMatches(state, 1, true);
}
void OneDayMatchWithLongReport(benchmark::State& state)
{
    runMatches(state, 1, true, true);
}
void TestMatch(benchmark::State& state)
{
    runMatches(state, 0, false);
}

// Batch play: one-day matches a second on 1 and 2 threads, wall clock.
void Batch(benchmark::State& state)
{
    BatchSettings settings;
    settings.matches = 20000;
    settings.threads = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(runBatch(settings, north(), south()).totals.played);
    state.counters["matches/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * settings.matches, benchmark::Counter::kIsRate);
}
void TestMatchWithReport(benchmark::State& state)
{
    runMatches(state, 0, true);
}

}  // namespace

BENCHMARK(OneDayMatch)->Unit(benchmark::kMicrosecond);
BENCHMARK(OneDayMatchWithReport)->Unit(benchmark::kMicrosecond);
BENCHMARK(OneDayMatchWithLongReport)->Unit(benchmark::kMicrosecond);
BENCHMARK(TestMatch)->Unit(benchmark::kMicrosecond);
BENCHMARK(TestMatchWithReport)->Unit(benchmark::kMicrosecond);
BENCHMARK(Batch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
