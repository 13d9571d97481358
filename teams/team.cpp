#include "teams/team.h"

void Team::setBowlers(const int* indices, int n)
{
    if (n < 0) n = 0;
    if (n > kMaxBowlers) n = kMaxBowlers;
    bowlerCount_ = n;
    for (int i = 0; i < kMaxBowlers; ++i)
        bowlers_[i] = i < n ? indices[i] : -1;
}
