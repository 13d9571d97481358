#pragma once
#include "engine/game_options.h"
#include "engine/random.h"

// Everything a match is played with that is not the match itself: the
// generator, the settings, the writable run tables and the strike pair of the
// automatic bowler choice. One context per match, so independent matches can
// be played side by side; within a match there is one generator, seeded once.
struct EngineContext {
    // Cumulative per-mille thresholds T0..T5 of the runs a stroke brings:
    // row 0 strokes (Test, first fifth of a one-day innings), row 1 strokes in
    // the rest of a one-day innings, row 2 byes, row 3 leg byes.
    static constexpr int kInitialRunTables[4][6] = {
        {270, 540, 620, 970, 971, 1000},
        {320, 640, 720, 970, 971, 1000},
        {350, 700, 780, 1000, 1001, 1001},
        {400, 800, 880, 1000, 1001, 1001},
    };

    EngineContext();

    // Reshapes row 1 after the Game Options dialog is confirmed: the share of
    // twos shrinks and that of fours grows by outfield - 50, cumulatively.
    void applyOutfield();

    Random random;
    GameOptions options;
    int runTables[4][6];
    int strikePair[2] = {-1, -1};
};
