#pragma once
#include <string>

#include "engine/engine_context.h"
#include "engine/innings.h"
#include "teams/team.h"

// Bowlers a side needs to bowl an innings through in this type of match.
inline int bowlersNeeded(const GameOptions& options)
{
    return options.oneDay ? 5 : 2;
}

// What follows the end of an innings.
enum class InningsChange {
    Started,      // the next innings is open
    GameOver,     // that was the last innings
    CannotStart,  // the next innings could not start: the game ends there
};

// The result on aggregate, as the report's last line states it.
struct MatchResult {
    enum Kind { Runs, Wickets, Tie };
    Kind kind = Tie;
    int winner = -1;  // 0 the side batting first, 1 the other; -1 a tie
    int margin = 0;   // runs, or wickets in hand
};

// The four positions whose lines the scoreboard repaints after a ball.
struct RepaintHint {
    int striker = -1;
    int nonStriker = -1;
    int bowler = -1;
    int otherEndBowler = -1;
};

// The one match of a program run: both sides, the four innings and the state
// words of the innings sequence. Where its report goes and when play is held
// are its caller's business.
class Match {
public:
    static constexpr int kTestBalls = 2700;
    static constexpr int kMaxOvers = 50;
    // A one-day innings' legal balls: six per over of options.overs (1..50).
    static int oneDayBalls(const GameOptions& options);

    Match();
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    // Makes this a new match, as if just made: no sides, no innings, a fresh
    // context with the same settings and captain.
    void reset();

    Team* team(int i) { return (i == 0 || i == 1) ? &teams[i] : nullptr; }
    const Team* team(int i) const { return (i == 0 || i == 1) ? &teams[i] : nullptr; }
    bool setTeam(int i, const Team& t);
    Innings* inningsAt(int i) { return (i >= 0 && i < inningsCount && i < 4) ? &innings[i] : nullptr; }
    const Innings* inningsAt(int i) const { return (i >= 0 && i < inningsCount && i < 4) ? &innings[i] : nullptr; }

    // Sets currentInnings and, unless an argument is -1, opens that innings
    // with its target and ball allowance. Returns false when it could not start.
    bool startInnings(int index, int battingTeam, int bowlingTeam);
    // Plays one delivery: 0 when there is no open innings to bowl in, else
    // kInningsEnded | kRepaintAll when the innings closed, else 7.
    unsigned playBall();
    void repaintHint(RepaintHint& out) const;
    // Two or four innings by the match type, innings 0 started, gameStarted set.
    bool startPlay();
    // After an innings has closed: opens the next one with the sides changing
    // places, or ends the game after the last. gameOver is set when it ends.
    InningsChange nextInnings();
    MatchResult result() const;
    // Time ran out in innings k of a Test: its balls were spent with wickets
    // in hand and the target not passed, so the match is drawn there.
    bool timeRanOutIn(int k) const;

    // The toss: two draws; the second alone decides who bats first, and the
    // sides change places when it is 1. Returns the message.
    std::string toss();
    // The toss without the change of places, for a caller that shows the
    // message first; batFirst is the second draw.
    std::string tossMessage(int& batFirst);
    void swapTeams();
    std::string resultLine() const;

    EngineContext& context() { return context_; }
    const EngineContext& context() const { return context_; }
    GameOptions& options() { return context_.options; }
    const GameOptions& options() const { return context_.options; }

    Team teams[2];
    Innings innings[4];
    int playing = 0;  // an innings has been opened
    int currentInnings = -1;
    int inningsCount = 4;
    int gameOver = 0;
    int gameStarted = 0;
    // Who answers the innings' questions; none: the innings choose for themselves.
    void setCaptain(Captain* captain);
    Captain* captain() const { return captain_; }
    // Who won the toss, once the sides are in batting order: 0 the side
    // batting first, 1 the other; -1 before the toss.
    int tossWinner = -1;

private:
    EngineContext context_;
    Captain* captain_ = nullptr;
};
