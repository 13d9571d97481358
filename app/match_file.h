#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/game_options.h"

class Team;
struct LoadDiagnosis;

// Where in a match something happened: before delivery `delivery` (0-based)
// of innings `innings`.
struct MatchPoint {
    int innings = 0;
    int delivery = 0;
    bool operator<=(const MatchPoint& o) const
    {
        return innings < o.innings || (innings == o.innings && delivery <= o.delivery);
    }
    bool operator==(const MatchPoint&) const = default;
};

// Something that changed the course of play: an answer to a choice, a
// declaration, or a confirmed Game Options dialog.
struct MatchEvent {
    enum Kind { Batsman, Bowler, Declare, Options };
    Kind kind = Batsman;
    MatchPoint at;
    static constexpr int kAutomatic = -2;  // a bowler chosen by the automatic choice
    int value = -1;                        // player index (Batsman) or bowler position (Bowler), or kAutomatic
    GameOptions options;                   // Options: the fields after the confirmation
};

// The caption animation's draws from the match generator made before a delivery.
struct CaptionDraws {
    MatchPoint at;
    int count = 0;
};

// Everything needed to play a match again: the sides as their files read,
// the seed and every draw made before the toss, the settings at the start of
// play, and what happened since, up to the point it was played.
struct MatchFile {
    // 2 added the overs of a one-day match; a file of format 1 was played at 50.
    static constexpr int kFormatVersion = 2;
    // Far beyond any match played: a larger file is refused before it is parsed.
    static constexpr std::size_t kMaxBytes = std::size_t{16} << 20;
    // A match asks a few thousand questions at most; Options events need a person
    // confirming the dialog, so even a long session stays far below this.
    static constexpr std::size_t kMaxEvents = 100000;
    // One caption draw per turn of the title animation (4.9 s) while a delivery
    // waits: a million is eight weeks of one match held paused.
    static constexpr long long kMaxCaptionDraws = 1000000;

    std::string program;
    std::int32_t seed = 1;
    std::uint64_t drawsBeforeToss = 0;
    bool autoplay = false;     // the engine made every choice
    GameOptions settings;      // when play started (the match type and overs included)
    int runTable1[6] = {};     // row 1 of the run tables when play started (the outfield's work)
    std::string teamFiles[2];  // the files named for /t1= and /t2=, as read
    std::string teamPaths[2];
    std::vector<MatchEvent> events;
    std::vector<CaptionDraws> captionDraws;
    MatchPoint played;      // the point reached
    bool finished = false;  // the match was played to its end
    // Runs and wickets of every innings begun, at that point: a replay that
    // reaches it otherwise did not play the same match. Empty in format 1.
    std::vector<std::array<int, 2>> score;

    void addCaptionDraw(MatchPoint at);
};

// The match file's JSON text.
std::string matchFileJson(const MatchFile& record);
// Reads and checks a match file's text; false with the reason (a damaged,
// truncated or foreign file) when it cannot be replayed.
bool parseMatchFile(const std::string& text, MatchFile& out, std::string& error);

// Reads a match file's text (at most kMaxBytes); false with the reason.
bool readMatchFileText(const std::string& path, std::string& text, std::string& error);
// Team::read and Team::load, keeping a copy of the bytes read (for the match file).
int readTeamCopying(Team& team, std::FILE* file, std::string& copy, LoadDiagnosis* why);
int loadTeamCopying(Team& team, const std::string& path, std::string& copy, LoadDiagnosis* why);
// Loads a side from a team file's text, as Team::read would from the file.
bool loadTeamText(Team& team, const std::string& text, const std::string& path, LoadDiagnosis* why);
