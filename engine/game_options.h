#pragma once

// The match settings: set by the command line, edited by the Game Options
// dialog, read directly wherever needed so a change applies from its next use.
struct GameOptions {
    int outfield = 50;          // 0 "Slow" .. 100 "Fast"; acts through applyOutfield
    int pitchPace = 50;         // 0 "Dull" .. 100 "Lively"
    int pitchSurface = 50;      // 0 "Bare" .. 100 "GreenTop"
    int wicketDifficulty = 50;  // 0 "Batting Easy" .. 100 "Batting Tricky"
    int gameSpeed = 50;         // main timer period = gameSpeed * 10 ms when re-created
    int briefOutput = 1;        // 0: the report carries the ball-by-ball log
    int oneDay = 1;             // 1 one-day match, 0 Test match
    int overs = 50;             // a one-day innings' allowance in six-ball overs, 1..50
    int speedChanged = 0;       // asks the main timer to be re-created at its next tick
};
