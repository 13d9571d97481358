// The command line of pelmora-cli: its own "--" options, read from one table
// that also writes their --help text, and the rules on which go together.
#pragma once

#include <string>
#include <vector>

#include "analysis/cricsheet.h"
#include "analysis/shard.h"
#include "app/answers.h"
#include "app/command_line.h"

struct CliOptions {
    std::string commentaryPath, cricsheetPath, chartsFolder, answersPath, recordPath, replayPath;
    std::string venue = kDefaultVenue;
    std::string date;  // the first Cricsheet date; empty: today
    std::string tournamentFile, reportsFolder;
    GroundSettings ground;
    int matches = 0, threads = 0, overs = 0;
    bool json = false;
    ShardRange shard;
    bool help = false, version = false, merge = false;
    bool formatGiven = false, venueGiven = false, reportsGiven = false;
    // Every argument not starting "--": the match's command line, or the parts of --merge.
    std::vector<std::string> arguments;

    // The match's command line: the arguments joined by spaces.
    std::string commandLine() const;
};

// Reads the arguments; returns why the command line is refused, empty when
// every "--" option was read.
std::string readCliArguments(int argc, char** argv, CliOptions& options);

// The --help lines of the "--" options.
std::string cliOptionsHelp();

// Why the options cannot go together (with the match's own settings read from
// its command line), empty when they can.
std::string refusedCombination(const CliOptions& options, const CommandLineSettings& settings, const GameOptions& game);
