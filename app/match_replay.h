#pragma once
#include <cstddef>
#include <string>

#include "app/match_file.h"

class ChoosePlayerModel;
struct EngineContext;

// Plays a match file's events into a match as it is played again: the
// caption draws and option changes before each delivery, and the recorded
// answers to the choice questions, until the point the file was played to.
class MatchReplay {
public:
    explicit MatchReplay(const MatchFile& record) : record_(record) {}

    // Before the delivery at `at`: every caption draw and option change
    // recorded up to that point. (Neither draws nor options are read between
    // a delivery's questions, so their exact place among them does not matter.)
    void beforeDelivery(MatchPoint at, EngineContext& context);
    // Answers the question at `at` on the open dialog. False when the file
    // holds no answer for it, or one that does not fit (see error()).
    bool answer(ChoosePlayerModel& model, MatchPoint at);
    // The point the file was played to.
    MatchPoint target() const { return record_.played; }
    // What did not fit; empty while the file replays.
    const std::string& error() const { return error_; }
    // Where the replay ended (`reached`, the match over by its rules or not,
    // the score) against the file's match: empty when they agree, else why not.
    std::string mismatch(MatchPoint reached, bool playedToTheEnd, const std::vector<std::array<int, 2>>& score) const;

    // The record as replayed up to its point: what a recording continues from.
    // Answers of a delivery that was never played are dropped.
    static MatchFile upToItsPoint(const MatchFile& record);

private:
    MatchFile record_;
    std::size_t nextAnswer_ = 0;
    std::size_t nextOptions_ = 0;
    std::size_t nextDraws_ = 0;
    std::string error_;
};

// One confirmation of the Game Options dialog that leaves these ground,
// speed and output settings (the match type cannot change once play started).
void confirmOptions(EngineContext& context, const GameOptions& options);
