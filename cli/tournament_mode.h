#pragma once
#include <string>

#include "analysis/shard.h"

struct TournamentModeOptions {
    std::string file;
    int tournaments = 0;  // 0: play it once
    int threads = 0;      // 0: the number of cores
    bool json = false;
    ShardRange shard;
    std::string reportsFolder;    // once: every match's report; empty: FILE's name + "-reports"
    std::string cricsheetFolder;  // once: every match's Cricsheet file
    std::string venue;
    std::string date;  // the first match's date in Cricsheet files; empty: today
};

// Plays the tournament once (results, tables, knock-outs, reports) or
// forecasts it over many; prints on standard output. Returns the exit status.
int runTournamentMode(const std::string& commandLine, const TournamentModeOptions& options);

// A file name made of the letters, digits, '-' and '_' of the text (others
// become '_'), so a side's name can never leave the folder.
std::string safeFileName(const std::string& text);
