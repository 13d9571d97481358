#pragma once

// The records of one innings: batting and bowling cards, dismissals, the ball
// log and the fall of wickets. Plain values, copied whole.

enum DismissalKind : int {
    DidNotBat = 0,
    Bowled = 1,
    Lbw = 2,
    HitWicket = 3,
    Stumped = 4,
    Caught = 5,
    RunOut = 6,
    HandledBall = 7,
    RetiredHurt = 8,
    NotOut = 9,
};

// Kinds 1..5 credit the bowler with the wicket.
inline bool creditsBowler(int kind)
{
    return kind >= Bowled && kind <= Caught;
}

struct Dismissal {
    int kind = DidNotBat;
    int bowler = 0;   // bowler position credited, -1 for none
    int fielder = 0;  // fielder slot of the catcher or run-out fielder
};

struct BattingLine {
    int runs = 0;
    int balls = 0;
    int fours = 0;
    int sixes = 0;
    Dismissal dismissal;
};

struct BowlingLine {
    int balls = 0;  // legal balls
    int maidens = 0;
    int runs = 0;
    int wickets = 0;

    // Ranks bowlers in the report; 75000 for a bowler who has not bowled.
    int runsPer1000Balls() const
    {
        if (balls < 1) return 75000;
        return static_cast<int>(static_cast<long long>(runs) * 1000 / balls);
    }
};

enum BallEvent : int { Scoring = 1, Wicket = 2, Beaten = 3, DotBall = 4 };
enum DeliveryKind : int { Legal = 1, NoBall = 2, Wide = 3 };
enum RunKind : int { Bat = 1, BatOffNoBall = 2, Byes = 3, LegByes = 4, NoBallRun = 5, WideRun = 6, NoRun = 7 };

constexpr unsigned kInningsEnded = 0x20000000u;
constexpr unsigned kRepaintAll = 0x80000000u;

// Plain data without default values, so a ball log is obtained without being
// filled first; a record is written whole before it is read.
struct BallRecord {
    int event;
    int delivery;
    int runKind;
    int runs;  // as scored; the extra run of a hit no-ball is not included
    int crossed;
    int strikerPlayer;
    int bowlerPlayer;
    int scoreAfter;
    int wicketsAfter;
    int flags;  // kInningsEnded when this ball used up the allowance or passed the target
};

struct FallOfWicket {
    int score = 0;  // before anything of the wicket ball was added
    int outPlayer = 0;
    int partnerPlayer = 0;
    int ball = 0;  // 0-based legal ball on which it fell
};
