#include "teams/player.h"

namespace {
int compareInt(int a, int b)
{
    return a > b ? 1 : (a < b ? -1 : 0);
}
}  // namespace

int compareThreat(const Player& a, const Player& b)
{
    if (int c = compareInt(a.bowlThreat, b.bowlThreat)) return c;
    return compareInt(a.bowlTempo, b.bowlTempo);
}

int compareThreatThenStyle(const Player& a, const Player& b)
{
    if (int c = compareThreat(a, b)) return c;
    return compareInt(a.bowlStyle, b.bowlStyle);
}

int compareStyleThenThreat(const Player& a, const Player& b)
{
    if (int c = compareInt(a.bowlStyle, b.bowlStyle)) return c;
    return compareThreat(a, b);
}
