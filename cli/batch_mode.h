#pragma once
#include <string>

#include "app/answers.h"

struct BatchModeOptions {
    int matches = 0;
    int threads = 0;  // 0: the number of cores
    bool json = false;
    std::string cricsheetFolder;  // when set, every match is written there as <seed>.json
    GroundSettings ground;  // confirmed before each match
    std::string answersPath;  // when set, every match is captained from these answers
    std::vector<Answer> answers;
};

// Plays the batch that the command line describes and prints its summary on
// standard output. Returns the process exit status.
int runBatchMode(const std::string& commandLine, const BatchModeOptions& options);
