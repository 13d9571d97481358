#pragma once
#include <cstdint>
#include <memory>

#include "engine/captain.h"
#include "engine/engine_context.h"
#include "engine/records.h"
#include "teams/team.h"

// The complete state of one innings. The delivery simulation (deliver) and the
// automatic bowler choice are its only writers while it is played; the
// scoreboard, the report and the choice dialog read it.
//
// Three index spaces, never mixed: batting position (battingOrder -> player
// index of the batting side), bowler position (bowlingTeam->bowlerAt -> player
// index of the fielding side) and fielder slot (fielders -> player index of the
// fielding side, slot 0 the wicket-keeper).
class Innings {
public:
    static constexpr int kCommentaryLines = 12;
    static constexpr int kHowOutBytes = 160;                           // "c <fielder> b <bowler>" with two UTF-8 names
    static constexpr int kCommentaryChars = 71;                        // a longer line is cut
    static constexpr int kCommentaryBytes = kCommentaryChars * 4 + 1;  // in UTF-8, and the terminator

    Innings() = default;
    Innings(const Innings&) = delete;
    Innings& operator=(const Innings&) = delete;
    Innings& operator=(Innings&&) = default;  // a new match starts from fresh innings

    // Obtains the per-over table and the ball log and opens the innings.
    // Returns 0 when the tables cannot be obtained.
    int start(const Team& battingTeam, const Team& bowlingTeam, int target, int maxBalls);

    // Plays one delivery, with whatever choice of batsman or bowler comes first.
    void deliver();
    // The bowler position for the over about to start (autoplay).
    int autoBowler();
    void rankBowlers();
    int pairAllows(int position) const;
    // Who may bowl the next over; evaluated before `bowler` is replaced.
    // Here rather than in innings.cpp: the bowler choice asks it several times an over.
    int mayBowl(int position) const
    {
        if (!bowlingTeam || position < 0 || position >= bowlingTeam->bowlerCount()) return 0;
        if (bowler == -1) return 1;
        if (position == bowler) return 0;  // nobody bowls two overs running
        if (!context().options.oneDay) return 1;
        return maxBalls / 5 > bowling[position].balls;  // a fifth of the allowance each
    }
    // mayBowl, with the one-day quota waived when nobody passes it: then every
    // bowler but the one of the previous over is eligible.
    int eligibleToBowl(int position) const;

    const BattingLine* battingLine(int position) const { return validBatting(position) ? &batting[position] : nullptr; }
    const BowlingLine* bowlingLine(int position) const { return validBowling(position) ? &bowling[position] : nullptr; }

    // The batting position of a player, or kNotBatting for one who has not batted.
    static constexpr int kNotBatting = 11;
    int positionOf(int playerIndex) const;
    void swapEnds();

    // The commentary line of the over's delivery i, put together now; the
    // empty text outside 0..11 or before that delivery. Valid until the next call.
    const char* commentaryLine(int i) const;
    void clearCommentary();

    void fallOfWicket(int i, FallOfWicket& out) const { out = fallOfWickets[i]; }
    int overStart(int k) const { return overs_[k].start; }
    const BallRecord& ballRecord(int i) const { return ballLog_[i]; }
    // Rewrites a logged ball; one of the over being bowled changes that over's tally too.
    void setBallRecord(int i, const BallRecord& record);
    // Capacity of the tables obtained by start (0 before).
    int overCapacity() const { return overCount_; }

    // The how-out text of a batting position, at most 35 characters.
    void dismissalText(int position, char (&out)[kHowOutBytes]) const;
    // Draws the commentary of a delivery and keeps it as line overBall - 1.
    void commentate(const BallRecord& record);

    // What the innings is played with: the match's generator and settings, and
    // who answers its questions (none: it chooses for itself).
    void attach(EngineContext& context, Captain* captain)
    {
        context_ = &context;
        captain_ = captain;
    }
    EngineContext& context() const { return *context_; }

    // Fields of the record. Counters start at 0, positions at -1.
    BattingLine batting[11];
    BowlingLine bowling[10];
    int runs = 0;
    int legalBalls = 0;
    int overBall = -1;
    int overExtras = -1;
    int deliveries = 0;
    int wickets = 0;
    int noBalls = 0;
    int wides = 0;
    int byes = 0;
    int legByes = 0;
    int batsmenIn = 0;
    int battingOrder[11] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    int fielders[11] = {};
    int threatRanking[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    int styleRanking[10] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    int target = 0;
    int maxBalls = 0;
    int striker = -1;
    int nonStriker = -1;
    int bowler = -1;
    int otherEndBowler = -1;
    int lastWasExtra = 0;
    int needBatsman = 0;
    int closed = 0;
    const Team* battingTeam = nullptr;
    const Team* bowlingTeam = nullptr;
    int overRuns = -1;
    FallOfWicket fallOfWickets[10];

private:
    // Per over: where its deliveries begin in the ball log, and the spell it
    // completes (overs, runs, chances from this end) so the bowler choice
    // judges a spell without walking back through the log.
    // A commentary line as drawn: the striker and up to three texts, each
    // after a number of blanks, then the runs.
    struct CommentaryPieces {
        std::int16_t batsman = -1;  // player index; -1 for an empty line
        std::int16_t runs = 0;
        std::int16_t text[3] = {-1, -1, -1};
        std::uint8_t spaces[3] = {};
    };

    struct OverEntry {
        int start = 0;
        int spellOvers = 0;
        int spellRuns = 0;
        int spellChances = 0;
    };

    static bool validBatting(int p) { return p >= 0 && p < 11; }
    static bool validBowling(int p) { return p >= 0 && p < 10; }

    int autoplay() const { return captain_ ? captain_->autoplay() : 1; }
    bool batsmanStep();
    bool overStep();
    void summariseOver(int k);
    // What one logged ball adds to its over's spell: runs charged to the
    // bowler, and a chance (a wicket credited to him or a ball that beat the bat).
    int spellRunsOf(const BallRecord& r) const;
    int spellChanceOf(const BallRecord& r) const;
    void ballOutcome(BallRecord& record);
    int drawRuns(int row);
    void drawDismissal(Dismissal& dismissal);
    void bookWicket();
    void bookScoring(BallRecord& record);
    int firstEligibleBowler() const;
    int searchCandidates(const int* list, int start, int notPosition) const;
    int randomBowler();

    EngineContext* context_ = nullptr;
    Captain* captain_ = nullptr;
    std::unique_ptr<OverEntry[]> overs_;
    std::unique_ptr<BallRecord[]> ballLog_;
    int overCount_ = 0;
    // The over being bowled, tallied ball by ball so summariseOver need not
    // walk back through the log.
    int overSpellRuns_ = 0;
    int overSpellChances_ = 0;
    CommentaryPieces commentary_[kCommentaryLines];
    mutable char formatted_[kCommentaryBytes] = {};
};
