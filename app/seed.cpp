#include "app/seed.h"

#include <chrono>
#include <climits>

#include "engine/random.h"

SeedRun chooseSeeds(std::int32_t requested, std::int64_t count, std::int64_t clockNanoseconds)
{
    SeedRun run;
    const std::int64_t walk = count > 0 ? count - 1 : 0;
    if (requested == 0) {
        // A clock seed is positive and leaves room for the whole walk.
        run.fromClock = true;
        if (walk < INT32_MAX) {
            const std::uint64_t choices = static_cast<std::uint64_t>(INT32_MAX - walk);
            run.first = static_cast<std::int32_t>(1 + mixBits(static_cast<std::uint64_t>(clockNanoseconds)) % choices);
            return run;
        }
        run.first = 1;
    } else {
        run.first = requested;
    }
    const std::int64_t last = std::int64_t(run.first) + walk;
    const char* const why = last > INT32_MAX             ? "go past 2147483647"
                            : run.first < 0 && last >= 0 ? "reach 0, which means the clock"
                                                         : nullptr;
    if (why)
        run.refusal =
            "the " + std::to_string(count) + " matches from seed " + std::to_string(run.first) + " would " + why;
    return run;
}

std::int64_t clockNanoseconds()
{
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
}
