#pragma once

struct EngineContext;
struct GameOptions;

// The logic of the Game Options dialog: the control states it opens with and
// what confirming it writes back. Cancelling writes nothing.
class OptionsModel {
public:
    static constexpr int kMin = 0;
    static constexpr int kMax = 100;

    // The dialog's controls from the options (OnInitDialog).
    void load(const GameOptions& options);
    // Writes the controls back and reshapes the run table by the outfield (OnOK).
    void apply(EngineContext& context) const;

    int gameTypeEnabled = 1;  // the match type may still be changed
    int oneDayChecked = 0;
    int testChecked = 0;
    int overs = 50;             // a one-day innings' overs, 1..50, set with the match type
    int ballByBall = 0;
    int pitchSurface = 50;      // trackbar 1009
    int pitchPace = 50;         // trackbar 1011
    int outfield = 50;          // trackbar 1013
    int wicketDifficulty = 50;  // trackbar 1015
    int gameSpeed = 50;         // trackbar 1014, "Fast" at the top
};
