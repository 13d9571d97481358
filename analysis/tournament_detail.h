// Helpers the tournament's files share; not part of its interface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/tournament.h"

namespace tournament_detail {

// The text padded with spaces to `width` characters (UTF-8 aware).
std::string padded(const std::string& text, std::size_t width);
// "Group A", "Group B", ...
std::string groupName(int g);
// The sides of group g, in the order of the plan.
std::vector<int> membersOf(const TournamentPlan& plan, int group);
// "seeds F..L" of a run of `matches` from `firstSeed`.
std::string seedRange(std::int32_t firstSeed, std::int64_t matches);

}  // namespace tournament_detail
