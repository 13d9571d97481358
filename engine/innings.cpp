#include "engine/innings.h"

#include <new>

int Innings::start(const Team& batting_, const Team& bowling_, int target_, int maxBalls_)
{
    int n = maxBalls_ / 6 + 1;
    if (n < 1) n = 1;
    overs_.reset(new (std::nothrow) OverEntry[n]());
    if (!overs_) return 0;
    // Room for twelve deliveries an over; only what is played is ever written.
    ballLog_.reset(new (std::nothrow) BallRecord[static_cast<std::size_t>(n) * kCommentaryLines]);
    if (!ballLog_) return 0;
    overCount_ = n;

    battingTeam = &batting_;
    bowlingTeam = &bowling_;
    batsmenIn = 0;
    // Slot 0 is the wicket-keeper; the other ten follow in team order.
    const int keeper = bowling_.keeper();
    int next = 1;
    for (int i = 0; i < 11; ++i) {
        battingOrder[i] = -1;
        if (i == keeper)
            fielders[0] = i;
        else if (next < 11)
            fielders[next++] = i;
    }
    target = target_;
    maxBalls = maxBalls_;
    return 1;
}

int Innings::eligibleToBowl(int position) const
{
    if (!bowlingTeam || position < 0 || position >= bowlingTeam->bowlerCount()) return 0;
    for (int b = 0; b < bowlingTeam->bowlerCount(); ++b)
        if (mayBowl(b)) return mayBowl(position);
    return position != bowler;
}

int Innings::firstEligibleBowler() const
{
    if (!bowlingTeam) return -1;
    for (int b = 0; b < bowlingTeam->bowlerCount(); ++b)
        if (eligibleToBowl(b)) return b;
    return -1;
}

int Innings::positionOf(int playerIndex) const
{
    for (int p = 0; p < 11; ++p)
        if (battingOrder[p] == playerIndex) return p;
    return kNotBatting;
}

void Innings::swapEnds()
{
    int s = striker;
    striker = nonStriker;
    nonStriker = s;
}

void Innings::clearCommentary()
{
    for (CommentaryPieces& line : commentary_)
        line.batsman = -1;
}
