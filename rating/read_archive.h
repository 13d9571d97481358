// pelmora-rate's reading of an archive: every file parsed on every thread,
// counted in file order, the filters applied and their leftovers said.
#pragma once

#include <cstddef>
#include <vector>

#include "rating/figures.h"
#include "rating/match_sources.h"
#include "rating/rate_options.h"

// What the archive's files held, as the filters took them.
struct ReadArchive {
    Archive archive;                   // to fit once
    std::vector<MatchRecord> counted;  // to fit again at each fixture day, with --forecast
    std::size_t skipped = 0, filtered = 0;
};

// Reads every match of `sources`; returns the exit status when the run
// cannot go on (a --team not found, mixed genders or match types, no match).
int readArchive(const RateOptions& options, MatchSources& sources, ReadArchive& read);
