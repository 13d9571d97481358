// The command line of pelmora-rate: its options, read from one table that
// also writes their --help lines, and the rules on which go together.
#pragma once

#include <string>
#include <thread>
#include <vector>

#include "rating/figures.h"

struct RateOptions {
    MatchFilter filter;
    bool formatGiven = false;
    std::vector<std::string> inputs;             // the files, folders and archives to read
    std::vector<std::string> sides, shortNames;  // --side=NAME[=SHORT], in order
    std::string keeper, stylesPath, outFolder = ".";
    long long simulations = 0, tolerance = 0, threads = 0, seed = 1;
    std::string forecastDir;
    long long playsPerFixture = 0;
    bool backtest = false, help = false, version = false;
};

// Reads the arguments; returns why the command line is refused, empty when
// it can be run (or asks for --help or --version).
std::string readRateArguments(int argc, char** argv, RateOptions& options);

// The --help text.
std::string rateUsage();

// Whether the text is written YYYY-MM-DD in digits, as the filters and
// fixtures give dates.
bool isDateText(const std::string& s);
