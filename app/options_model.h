#pragma once

struct EngineContext;
struct GameOptions;

// The logic of the Game Options dialog: the control states it opens with and
// what confirming it writes back. Cancelling writes nothing.
class OptionsModel {
public:
    static constexpr int kMin = 0;
    static constexpr int kMax = 100;

    // The dialog's controls from the options, as the dialog opens.
    void load(const GameOptions& options);
    // Writes the controls back and reshapes the run table by the outfield, on OK.
    void apply(EngineContext& context) const;

    int gameTypeEnabled = 1;  // the match type may still be changed
    int oneDayChecked = 0;
    int testChecked = 0;
    int overs = 50;  // a one-day innings' overs, 1..50, set with the match type
    int ballByBall = 0;
    // The sliders, kMin..kMax.
    int pitchSurface = 50;
    int pitchPace = 50;
    int outfield = 50;
    int wicketDifficulty = 50;
    int gameSpeed = 50;  // upright, "Fast" at the top
};
