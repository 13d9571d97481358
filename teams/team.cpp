#include "teams/team.h"

void Team::setBowlers(const int* indices, int n)
{
    if (n < 0) n = 0;
    if (n > kMaxBowlers) n = kMaxBowlers;
    bowlerCount_ = n;
    for (int i = 0; i < kMaxBowlers; ++i)
        bowlers_[i] = i < n ? indices[i] : -1;
}

int Team::bowlerAt(int pos) const
{
    if (pos < 0 || pos >= bowlerCount_ || pos >= kMaxBowlers) return -1;
    return bowlers_[pos];
}

int Team::bowlerPosition(int playerIndex) const
{
    for (int i = 0; i < bowlerCount_ && i < kMaxBowlers; ++i)
        if (bowlers_[i] == playerIndex) return i;
    return bowlerCount_;
}
