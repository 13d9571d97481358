// The earlier engine (pelmora-earlier-engine.so, built from git) and the
// current one playing the same matches in one process: BM_Earlier/KIND and
// BM_Current/KIND. Run with random interleaving and repetitions, a loaded
// machine slows both alike, so their medians compare where figures of
// separate runs cannot. Before the first of them runs, both engines write the
// reports of a few matches, which must be byte for byte the same.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <malloc.h>

#include <cstdio>
#include <string>

#include "current_engine.h"
#include "engine_entry_points.h"

namespace {

struct Engine {
    EngineLoadSides loadSides = nullptr;
    EnginePlay play = nullptr;
    EngineReport report = nullptr;
};

struct EnginePair {
    Engine earlier;
    Engine current{currentEngine::loadSides, currentEngine::play, currentEngine::report};
    std::string fault;  // empty when both are ready and agree
};

constexpr const char* kKindNames[kEngineMatchKinds] = {"OneDay", "OneDayWithReport", "OneDayWithLongReport", "Test"};
constexpr int kMatchesPerIteration = 32;
constexpr unsigned kCheckedSeeds = 4;

std::string reportOf(const Engine& engine, int kind, unsigned seed)
{
    std::string text(1 << 16, '\0');
    long size = engine.report(kind, seed, text.data(), static_cast<long>(text.size()));
    if (size > static_cast<long>(text.size())) {
        text.resize(static_cast<std::size_t>(size));
        size = engine.report(kind, seed, text.data(), size);
    }
    text.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
    return text;
}

// Where two reports first differ, or "" when they are the same.
std::string firstDifference(const std::string& earlier, const std::string& current)
{
    if (earlier == current) return {};
    std::size_t at = 0;
    while (at < earlier.size() && at < current.size() && earlier[at] == current[at])
        ++at;
    return "first difference at byte " + std::to_string(at) + " (earlier " + std::to_string(earlier.size()) +
           " bytes, current " + std::to_string(current.size()) + ")";
}

std::string compareEngines(const EnginePair& pair)
{
    for (int kind = kOneDayWithReport; kind < kEngineMatchKinds; ++kind) {
        for (unsigned seed = 1; seed <= kCheckedSeeds; ++seed) {
            const std::string difference =
                firstDifference(reportOf(pair.earlier, kind, seed), reportOf(pair.current, kind, seed));
            if (!difference.empty())
                return std::string("the engines' reports differ (") + kKindNames[kind] + ", seed " +
                       std::to_string(seed) + "): " + difference;
        }
        if (pair.earlier.play(kind, 1, kMatchesPerIteration) != pair.current.play(kind, 1, kMatchesPerIteration))
            return std::string("the engines' scores differ (") + kKindNames[kind] + ", seeds 1-" +
                   std::to_string(kMatchesPerIteration) + ")";
    }
    return {};
}

EnginePair loadEngines()
{
    // A Test match's tables come from the heap and go back to it. With the
    // allocator's own thresholds, what came before decides whether each
    // match also pays for the heap shrinking and growing again (three times
    // the engine's time, seen here); fixed, every match starts from a warm
    // heap. Benchmarks that run after these in the same process keep them.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    EnginePair pair;
    void* module = dlopen(PELMORA_EARLIER_ENGINE, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        pair.fault = std::string(
                         "cannot load the earlier engine (build it first: cmake --build build --target "
                         "pelmora_earlier_engine): ") +
                     dlerror();
        return pair;
    }
    pair.earlier.loadSides = reinterpret_cast<EngineLoadSides>(dlsym(module, PELMORA_EARLIER_LOAD_SIDES));
    pair.earlier.play = reinterpret_cast<EnginePlay>(dlsym(module, PELMORA_EARLIER_PLAY));
    pair.earlier.report = reinterpret_cast<EngineReport>(dlsym(module, PELMORA_EARLIER_REPORT));
    if (!pair.earlier.loadSides || !pair.earlier.play || !pair.earlier.report) {
        pair.fault = PELMORA_EARLIER_ENGINE ": an entry point is missing";
        return pair;
    }
    const std::string first = std::string(PELMORA_SOURCE_DIR) + "/samples/northshire.xi";
    const std::string second = std::string(PELMORA_SOURCE_DIR) + "/samples/southmoor.xi";
    if (!pair.earlier.loadSides(first.c_str(), second.c_str()) ||
        !pair.current.loadSides(first.c_str(), second.c_str())) {
        pair.fault = "cannot load the sample sides " + first + " and " + second;
        return pair;
    }
    pair.fault = compareEngines(pair);
    if (pair.fault.empty())
        std::fprintf(stderr,
                     "pelmora-bench: the earlier and current engines wrote the same reports (%u seeds a kind)\n",
                     kCheckedSeeds);
    else
        std::fprintf(stderr, "pelmora-bench: %s\n", pair.fault.c_str());
    return pair;
}

const EnginePair& engines()
{
    static const EnginePair pair = loadEngines();
    return pair;
}

// Every iteration plays the same matches (seeds 1-32) on either engine.
void playMatches(benchmark::State& state, bool earlier, int kind)
{
    const EnginePair& pair = engines();
    if (!pair.fault.empty()) {
        state.SkipWithError(pair.fault.c_str());
        return;
    }
    const Engine& engine = earlier ? pair.earlier : pair.current;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.play(kind, 1, kMatchesPerIteration));
    state.counters["per_match"] = benchmark::Counter(static_cast<double>(state.iterations()) * kMatchesPerIteration,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

const bool registered = [] {
    for (int kind = 0; kind < kEngineMatchKinds; ++kind) {
        for (const bool earlier : {true, false}) {
            const std::string name = std::string(earlier ? "BM_Earlier/" : "BM_Current/") + kKindNames[kind];
            benchmark::RegisterBenchmark(name.c_str(), playMatches, earlier, kind)->Unit(benchmark::kMicrosecond);
        }
    }
    return true;
}();

}  // namespace
