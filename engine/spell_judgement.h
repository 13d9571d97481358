#pragma once

// Whether the bowler who bowled this end's previous over keeps the ball: the
// automatic captain's judgement of a spell, a pure function of the figures.
struct SpellJudgement {
    int spellOvers = 0;    // overs of the spell from this end
    int spellRuns = 0;     // runs conceded in them
    int spellChances = 0;  // wickets credited to the bowler and balls that beat the bat
    int inningsRuns = 0;
    int oversBowled = 0;               // completed overs of the innings, at least 2
    int phase = 0;                     // tenths of the allowance bowled, 0..9
    bool amongLeadingThreats = false;  // in the first two thirds of the attack by threat
    int bowlerRuns = 0;                // the bowler's whole figures in the innings
    int bowlerBalls = 0;
};

bool keepsSpell(const SpellJudgement& j);
