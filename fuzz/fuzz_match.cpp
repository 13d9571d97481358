// A whole match between two sides built from the input: any ratings
// (negative, zero, INT_MAX), any bowling style, 0..10 bowlers, always exactly
// one keeper; any seed, match type and pitch. A side with too few bowlers for
// the match type is refused before play, which is the rule, so such an input
// ends there. Every other match must end, keep its invariants and report.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "analysis/batch.h"
#include "analysis/batch_summary.h"
#include "analysis/cricsheet.h"
#include "soak/match_check.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

int rating(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0: return in.ConsumeIntegralInRange(0, 1000);
    case 1: return 0;
    case 2: return INT_MAX;
    case 3: return INT_MIN;
    case 4: return -1;
    case 5: return in.ConsumeIntegralInRange(-3000, 3000);
    default: return in.ConsumeIntegral<int>();
    }
}

Team side(FuzzedDataProvider& in)
{
    Team team;
    team.setName(in.ConsumeRandomLengthString(20));
    const int keeper = in.ConsumeIntegralInRange(0, Team::kPlayers - 1);
    const unsigned bowlerFlags = in.ConsumeIntegral<std::uint16_t>();
    int bowlers[Team::kMaxBowlers];
    int count = 0;
    for (int i = 0; i < Team::kPlayers; ++i) {
        Player& p = *team.player(i);
        p.setName(in.ConsumeRandomLengthString(20));
        p.batTempo = rating(in);
        p.batRisk = rating(in);
        p.batSurvival = rating(in);
        if (i == keeper) {
            p.isKeeper = in.ConsumeBool() ? 1 : rating(in) | 1;
            continue;
        }
        if (bowlerFlags & (1u << i)) {
            p.isBowler = in.ConsumeBool() ? 1 : rating(in) | 1;
            p.bowlTempo = rating(in);
            p.bowlThreat = rating(in);
            p.bowlStyle = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 2) : rating(in);
            bowlers[count++] = i;
        }
    }
    team.setKeeper(keeper);
    team.setBowlers(bowlers, count);
    return team;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    Match match;
    GameOptions& options = match.options();
    const std::uint32_t seed = in.ConsumeIntegral<std::uint32_t>();
    options.oneDay = in.ConsumeBool() ? 1 : 0;
    options.briefOutput = in.ConsumeBool() ? 1 : 0;
    options.pitchPace = in.ConsumeIntegralInRange(0, 100);
    options.pitchSurface = in.ConsumeIntegralInRange(0, 100);
    options.wicketDifficulty = in.ConsumeIntegralInRange(0, 100);
    options.outfield = in.ConsumeIntegralInRange(0, 100);
    match.context().applyOutfield();
    const Team first = side(in);
    const Team second = side(in);

    std::string problem;
    const PlayOutcome outcome = playWholeMatch(match, first, second, seed, &problem);
    if (outcome == PlayOutcome::Refused) return 0;
    require(outcome == PlayOutcome::Played);
    require(checkWholeMatch(match).empty());
    // The whole report, ball-by-ball log included when asked, into a sink
    // that keeps nothing: writing it is what is under test.
    static std::FILE* const sink = std::fopen("/dev/null", "w");
    require(sink != nullptr);
    require(checkReport(match, sink).empty());

    // Every JSON output of the match is built too: names may be any bytes.
    const std::string cricsheet = cricsheetJson(match, "2026-01-01");
    require(!cricsheet.empty());
    BatchSettings batch;
    batch.matches = 1;
    batch.firstSeed = static_cast<std::int32_t>(seed | 1);
    batch.options = match.options();
    require(!formatBatchJson(runBatch(batch, first, second), batch).empty());
    return 0;
}
