// pelmora-soak: plays many whole matches between the sample sides and some
// deliberately awkward generated ones, in both match types with the long
// report, and checks every match's invariants. Exits non-zero at the first
// violation, naming the seed and the sides so the match can be replayed.
//
//   pelmora-soak MATCHES [FIRST_SEED]
#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "soak/match_check.h"

namespace {

struct Side {
    std::string label;
    Team team;
};

struct Ratings {
    int batTempo, batRisk, batSurvival, bowlTempo, bowlThreat, bowlStyle;
};

// A side whose keeper is player 5 and whose bowlers are the first `bowlers`
// other players; ratings(i) gives player i's ratings.
template <typename RatingsOf>
Side makeSide(const std::string& name, int bowlers, RatingsOf ratings)
{
    Side side{name, Team{}};
    Team& t = side.team;
    t.setName(name);
    const int keeper = 5;
    int list[Team::kMaxBowlers];
    int count = 0;
    for (int i = 0; i < Team::kPlayers; ++i) {
        Player& p = *t.player(i);
        const Ratings r = ratings(i);
        p.setName(name.substr(0, 12) + std::to_string(i + 1));
        p.batTempo = r.batTempo;
        p.batRisk = r.batRisk;
        p.batSurvival = r.batSurvival;
        if (i == keeper) {
            p.isKeeper = 1;
            continue;
        }
        if (count < bowlers) {
            p.isBowler = 1;
            p.bowlTempo = r.bowlTempo;
            p.bowlThreat = r.bowlThreat;
            p.bowlStyle = r.bowlStyle;
            list[count++] = i;
        }
    }
    t.setKeeper(keeper);
    t.setBowlers(list, count);
    return side;
}

std::vector<Side> generatedSides()
{
    std::vector<Side> sides;
    auto ordinary = [](int i) {
        return Ratings{430 - 15 * i, 100 + 9 * i, 620 - 40 * i, 260 + 10 * i, 80 + 5 * i, i % 3};
    };
    sides.push_back(makeSide("FiveBowlers", 5, ordinary));
    sides.push_back(makeSide("TwoBowlers", 2, ordinary));
    sides.push_back(makeSide("TenBowlers", 10, [](int i) {
        static const int styles[] = {0, 1, 2, -7, 3, INT_MAX, INT_MIN, 1, 2, 0, 1};
        return Ratings{400, 120, 500, 300 + i, 100 + (i % 4), styles[i]};
    }));
    sides.push_back(makeSide("Zero", 5, [](int) { return Ratings{0, 0, 0, 0, 0, 0}; }));
    sides.push_back(makeSide("ZeroTwo", 2, [](int) { return Ratings{0, 0, 0, 0, 0, 0}; }));
    sides.push_back(
        makeSide("IntMax", 10, [](int) { return Ratings{INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX}; }));
    sides.push_back(
        makeSide("IntMin", 5, [](int) { return Ratings{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN}; }));
    sides.push_back(makeSide("Negative", 6, [](int i) { return Ratings{-500 - i, -1, -1000, -300, -i, -2}; }));
    sides.push_back(makeSide("Alternating", 7, [](int i) {
        const int v = i % 3 == 0 ? INT_MAX : (i % 3 == 1 ? 0 : INT_MIN);
        return Ratings{v, -(v / 2), v, v, v, v};  // halved first: -INT_MIN does not exist
    }));
    // Set batsmen who are never out once in, against bowlers who beat them often.
    sides.push_back(makeSide("Survivors", 5, [](int) { return Ratings{1000, 900, 1000, 1000, 900, 0}; }));
    sides.push_back(makeSide("EqualBowlers", 9, [](int) { return Ratings{350, 150, 400, 300, 110, 2}; }));
    return sides;
}

// Every team file in the folder that loads, in name order; the malformed
// samples that are refused (no keeper, too few players) are skipped.
void loadSamples(const std::filesystem::path& folder, std::vector<Side>& sides)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().extension() == ".xi") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        Side side;
        side.label = file.string();
        if (side.team.load(side.label.c_str())) sides.push_back(std::move(side));
    }
}

// A small mixer for the settings of each match, kept apart from the match
// generator so the seeds stay plain.
std::uint32_t mix(std::uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: pelmora-soak MATCHES [FIRST_SEED]\n");
        return 2;
    }
    const long matches = std::strtol(argv[1], nullptr, 10);
    const std::uint32_t firstSeed = argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 1u;

    std::vector<Side> sides;
    const std::filesystem::path samples = std::filesystem::path(PELMORA_SOURCE_DIR) / "samples";
    loadSamples(samples, sides);
    loadSamples(samples / "malformed", sides);
    if (sides.size() < 2) {
        std::fprintf(stderr, "pelmora-soak: no sample sides found in %s\n", samples.c_str());
        return 2;
    }
    for (Side& side : generatedSides())
        sides.push_back(std::move(side));

    // Sides that can bowl an innings through, per match type.
    std::vector<const Side*> pools[2];
    for (const Side& side : sides) {
        for (int oneDay = 0; oneDay < 2; ++oneDay) {
            GameOptions type;
            type.oneDay = oneDay;
            if (side.team.bowlerCount() >= bowlersNeeded(type)) pools[oneDay].push_back(&side);
        }
    }

    const auto started = std::chrono::steady_clock::now();
    long played[2] = {0, 0};
    long long deliveries = 0;
    for (long i = 0; i < matches; ++i) {
        const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(i);
        const int oneDay = static_cast<int>(i % 2);
        const std::vector<const Side*>& pool = pools[oneDay];
        const std::uint32_t h = mix(seed);
        const Side& first = *pool[h % pool.size()];
        const Side& second = *pool[(h / 64) % pool.size()];

        Match match;
        GameOptions& options = match.options();
        options.oneDay = oneDay;
        options.briefOutput = 0;
        // Ordinary settings most of the time, the ends of each scale now and then.
        const std::uint32_t g = mix(h);
        auto setting = [&](int shift) {
            const int v = static_cast<int>((g >> shift) & 0xFF);
            return v < 16 ? 0 : (v < 32 ? 100 : v * 100 / 255);
        };
        options.pitchPace = setting(0);
        options.pitchSurface = setting(8);
        options.wicketDifficulty = setting(16);
        options.outfield = setting(24);
        match.context().applyOutfield();

        std::string problem;
        const PlayOutcome outcome = playWholeMatch(match, first.team, second.team, seed, &problem);
        if (outcome == PlayOutcome::Refused) problem = "play was refused";
        if (problem.empty()) problem = checkWholeMatch(match);
        if (problem.empty()) problem = checkReport(match);
        if (!problem.empty()) {
            std::fprintf(stderr,
                         "pelmora-soak: match %ld broke an invariant: %s\n"
                         "  seed %u, %s match, %s v %s, pitch pace %d, surface %d, difficulty %d, outfield %d\n",
                         i + 1, problem.c_str(), seed, oneDay ? "one-day" : "Test", first.label.c_str(),
                         second.label.c_str(), options.pitchPace, options.pitchSurface, options.wicketDifficulty,
                         options.outfield);
            return 1;
        }
        ++played[oneDay];
        for (int k = 0; k < match.inningsCount; ++k)
            deliveries += match.innings[k].deliveries;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "pelmora-soak: %ld matches (%ld one-day, %ld Test) among %zu sides, %lld deliveries, seeds %u..%u: "
        "every invariant held (%.1f s)\n",
        matches, played[1], played[0], sides.size(), deliveries, firstSeed,
        firstSeed + static_cast<std::uint32_t>(matches > 0 ? matches - 1 : 0), seconds);
    return 0;
}
