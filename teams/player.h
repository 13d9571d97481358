#pragma once
#include <string_view>

#include "teams/fixed_text.h"

// One player: a name and eight integer ratings on the per-mille scale of the
// simulation's draws. No rating is range-checked anywhere.
struct Player {
    enum Style : int { Pace = 0, Spin = 1, Neutral = 2 };

    int batTempo = 0;
    int batRisk = 0;
    int batSurvival = 0;
    int isKeeper = 0;
    int isBowler = 0;
    int bowlTempo = 0;
    int bowlThreat = 0;
    int bowlStyle = 0;  // any value other than Spin and Neutral plays as Pace

    const char* name() const { return name_; }
    // At most kNameCharacters characters are kept.
    void setName(std::string_view text) { storeCharacters(name_, text, kNameCharacters); }

    static constexpr int kNameCharacters = 15;
    static constexpr int kNameBytes = kNameCharacters * 4 + 1;  // in UTF-8

private:
    char name_[kNameBytes] = {};
};

// Orderings of bowlers: 1 when a ranks above b, -1 below, 0 equal on all keys.
// Every key compares larger-is-higher.
int compareThreat(const Player& a, const Player& b);
int compareThreatThenStyle(const Player& a, const Player& b);
int compareStyleThenThreat(const Player& a, const Player& b);
