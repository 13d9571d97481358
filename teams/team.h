#pragma once
#include <cstdio>
#include <string>
#include <string_view>

#include "teams/player.h"

// Why a team file was refused; filled by Team::load for the console runner and
// tests. The load result itself stays a plain 1/0.
struct LoadDiagnosis {
    std::string reason;  // empty when the file loaded
};

// A side of eleven as read from a team file: a plain value record, copied whole.
class Team {
public:
    static constexpr int kPlayers = 11;
    static constexpr int kMaxBowlers = 10;

    Player* player(int i) { return (i >= 0 && i < kPlayers) ? &players_[i] : nullptr; }
    const Player* player(int i) const { return (i >= 0 && i < kPlayers) ? &players_[i] : nullptr; }

    const char* name() const { return name_; }
    void setName(std::string_view text) { storeCharacters(name_, text, Player::kNameCharacters); }
    const char* filePath() const { return filePath_; }
    void setFilePath(std::string_view text) { storeText(filePath_, text); }

    int keeper() const { return keeper_; }
    void setKeeper(int k) { keeper_ = k; }

    int bowlerCount() const { return bowlerCount_; }
    const int* bowlers() const { return bowlers_; }
    // Sets the list to the n player indices given (n at most 10); the rest become -1.
    void setBowlers(const int* indices, int n);
    // Player index at a bowler position, -1 outside 0..bowlerCount-1. Here
    // rather than in team.cpp: the engine asks for it on every ball.
    int bowlerAt(int pos) const
    {
        if (pos < 0 || pos >= bowlerCount_ || pos >= kMaxBowlers) return -1;
        return bowlers_[pos];
    }
    // First position holding the player; bowlerCount when absent (0 for an empty list).
    int bowlerPosition(int playerIndex) const
    {
        for (int i = 0; i < bowlerCount_ && i < kMaxBowlers; ++i)
            if (bowlers_[i] == playerIndex) return i;
        return bowlerCount_;
    }

    // Reads a team file into this record; 1 loaded, 0 refused. A refusal leaves
    // behind what was read so far, as the file format describes.
    int load(const char* path, LoadDiagnosis* why = nullptr);
    // The same from a stream that is already open (a pipe works: it is read
    // once, front to back, and only as far as the eleventh player).
    int read(std::FILE* file, LoadDiagnosis* why = nullptr);

private:
    Player players_[kPlayers];
    char name_[Player::kNameBytes] = {};
    char filePath_[260] = {};
    int keeper_ = -1;
    int bowlers_[kMaxBowlers] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    int bowlerCount_ = 0;
};
