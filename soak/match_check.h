#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "match/match.h"

// Whole-match invariants, shared by the soak runner and the match fuzzer.

enum class PlayOutcome {
    Played,   // the match ran to its end
    Refused,  // a side has too few bowlers for the match type: play never starts
    Broken,   // the match did not end properly; the reason says how
};

// Seeds the match, copies the sides in, tosses and plays every innings the
// way the window does in autoplay, starting each next innings as the last one
// ends. The match type and settings come from match.options(). On Broken,
// *reason says what went wrong.
PlayOutcome playWholeMatch(Match& match, const Team& first, const Team& second, std::uint32_t seed,
                           std::string* reason);

// Checks a played match: every innings started, closed for a proper reason and
// within its ball allowance; the totals add up; the ball log agrees with the
// cards; nobody bowled two overs running. Returns an empty text when all hold,
// else the first broken invariant.
std::string checkWholeMatch(const Match& match);

// Writes the report into memory and checks that it was written whole: it ends
// with a blank line and the result line. Returns the problem or an empty text.
std::string checkReport(Match& match);
// Writes the report into `sink` and checks only that the stream took it.
std::string checkReport(Match& match, std::FILE* sink);
