#pragma once
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/engine_context.h"
#include "engine/innings.h"
#include "teams/team.h"

// The answer of a choice of batsman or bowler.
struct ChoiceResult {
    int choice = -1;  // player index (batsman) or bowler position (bowler); -1 none
    int declared = 0;
};

// What the match needs from whoever drives it: the autoplay setting and the
// modal choice of a batsman or bowler.
class MatchOwner {
public:
    virtual ~MatchOwner() = default;
    virtual int autoplay() const = 0;
    virtual ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int allowDeclare) = 0;
};

// The four positions whose lines the scoreboard repaints after a ball.
struct RepaintHint {
    int striker = -1;
    int nonStriker = -1;
    int bowler = -1;
    int otherEndBowler = -1;
};

// The one match of a program run: both sides, the four innings, the state
// words of the innings sequence and the report file.
class Match {
public:
    static constexpr int kOneDayBalls = 300;
    static constexpr int kTestBalls = 2700;
    static constexpr int kMaxOvers = 50;
    // A one-day innings' legal balls: six per over of options.overs (1..50).
    static int oneDayBalls(const GameOptions& options);

    Match();
    ~Match();
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    Team* team(int i) { return (i == 0 || i == 1) ? &teams[i] : nullptr; }
    const Team* team(int i) const { return (i == 0 || i == 1) ? &teams[i] : nullptr; }
    bool setTeam(int i, const Team& t);
    Innings* inningsAt(int i) { return (i >= 0 && i < inningsCount && i < 4) ? &innings[i] : nullptr; }
    const Innings* inningsAt(int i) const { return (i >= 0 && i < inningsCount && i < 4) ? &innings[i] : nullptr; }

    // Sets currentInnings and, unless an argument is -1, opens that innings
    // with its target and ball allowance. Returns false when it could not start.
    bool startInnings(int index, int battingTeam, int bowlingTeam);
    // Plays one delivery: 0 when a delivery is already in progress, else
    // kInningsEnded | kRepaintAll when the innings closed, else 7.
    unsigned playBall();
    void repaintHint(RepaintHint& out) const;
    // Two or four innings by the match type, innings 0 started, gameStarted set.
    bool startPlay();

    void writeLine(std::string_view text);
    void writeBlankLine() { writeLine({}); }

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
    int playing = 0;
    int deliveryInProgress = 0;
    int currentInnings = -1;
    int inningsCount = 4;
    int gameOver = 0;
    int gameStarted = 0;
    int hold = 0;
    std::FILE* outputFile = nullptr;
    MatchOwner* owner = nullptr;
    // Who won the toss, once the sides are in batting order: 0 the side
    // batting first, 1 the other; -1 before the toss.
    int tossWinner = -1;

private:
    EngineContext context_;
};
