// The seeds of a run: every program and mode takes them from here, so a seed
// printed by one replays with /r= in any other.
#pragma once

#include <cstdint>
#include <string>

// A run of `count` matches plays seeds first, first + 1, ..., each of which
// must be a value /r= accepts: inside the int range and never 0, which /r=
// takes to mean the clock.
struct SeedRun {
    std::int32_t first = 0;
    bool fromClock = false;
    std::string refusal;  // why the run cannot be played; empty when it can
};

// `requested` is the /r= value (0: none); `clockNanoseconds` is the
// calendar time that seeds a run without one.
SeedRun chooseSeeds(std::int32_t requested, std::int64_t count, std::int64_t clockNanoseconds);

// The calendar time in nanoseconds since the epoch.
std::int64_t clockNanoseconds();
