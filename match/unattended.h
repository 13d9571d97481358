#pragma once
#include <cstdint>

#include "match/match.h"

enum class UnattendedResult {
    Played,         // the whole match was played
    CannotBowl,     // a side has too few bowlers for the match type
    InningsFailed,  // an innings could not be started; play ended there
};

// Plays a whole match without a window, making exactly the draws the main
// window makes in autoplay with /nta: seed, toss, then ball after ball,
// starting each next innings as the last one ends. The match type and
// settings come from match.options(); the sides are copied in.
// battedFirst, when given, receives which of the two (0 first, 1 second) won
// the right to bat first at the toss.
// Such a match in two steps, for a caller that shows it as it goes: the
// start (seed, sides, toss, first innings open) and the rest of the balls.
UnattendedResult startUnattended(Match& match, const Team& first, const Team& second, std::uint32_t seed,
                                 int* battedFirst = nullptr);
UnattendedResult finishUnattended(Match& match);
UnattendedResult playUnattended(Match& match, const Team& first, const Team& second, std::uint32_t seed,
                                int* battedFirst = nullptr);
