#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/match_file.h"

// The match file of the match being played, kept up as it is played: the
// generator's draws before the toss, the caption's draws, every answer and
// change of options, and the point and score reached. A replayed match goes
// on with the record of the file it replays.
class MatchRecorder {
public:
    // The toss is about to draw; `drawsBefore` draws of the generator came first.
    void beforeToss(std::uint64_t drawsBefore);
    // The caption drew once. Before play these draws count toward the record's
    // start; once the game is over they change nothing that a replay needs.
    void captionDraw(MatchPoint at, bool playStarted, bool gameOver);
    // Play starts: the record begins with the header the caller made.
    void start(MatchFile header);
    // A replay starts: the record is the file's, up to its point.
    void continueWith(MatchFile record);
    // An answer or a change of options; a game over takes no more.
    void add(const MatchEvent& event, bool gameOver);
    void reached(MatchPoint played, bool finished, std::vector<std::array<int, 2>> score);
    // The match was ended before its end by the program.
    void stoppedShort();
    void clear() { record_.reset(); }

    // None before play.
    const MatchFile* file() const { return record_ ? &*record_ : nullptr; }

private:
    std::optional<MatchFile> record_;
    std::uint64_t drawsBeforeToss_ = 0;
    int captionDrawsSinceToss_ = 0;
};
