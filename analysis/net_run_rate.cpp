#include "analysis/net_run_rate.h"

#include "match/match.h"

double NetRunRateFigures::value() const
{
    const double scored = ballsFaced ? static_cast<double>(runsFor) * 6.0 / static_cast<double>(ballsFaced) : 0.0;
    const double conceded =
        ballsBowled ? static_cast<double>(runsAgainst) * 6.0 / static_cast<double>(ballsBowled) : 0.0;
    return scored - conceded;
}

namespace {

// The rate rf/bf - ra/ba as one fraction num/den with den > 0 (0/1 with no balls).
void asFraction(const NetRunRateFigures& f, __int128& num, __int128& den)
{
    const __int128 bf = f.ballsFaced > 0 ? f.ballsFaced : 1, ba = f.ballsBowled > 0 ? f.ballsBowled : 1;
    const __int128 rf = f.ballsFaced > 0 ? f.runsFor : 0, ra = f.ballsBowled > 0 ? f.runsAgainst : 0;
    num = rf * ba - ra * bf;
    den = bf * ba;
}

}  // namespace

int compareNetRunRate(const NetRunRateFigures& a, const NetRunRateFigures& b)
{
    __int128 na, da, nb, db;
    asFraction(a, na, da);
    asFraction(b, nb, db);
    const __int128 l = na * db, r = nb * da;
    return l < r ? -1 : (l > r ? 1 : 0);
}

void netRunRateFigures(const Match& match, NetRunRateFigures out[2])
{
    out[0] = NetRunRateFigures{};
    out[1] = NetRunRateFigures{};
    const bool oneDay = match.inningsCount == 2;
    for (int k = 0; k < match.inningsCount && k < 4; ++k) {
        const Innings& inn = match.innings[k];
        if (!inn.battingTeam) continue;
        const std::int64_t balls = (oneDay && inn.wickets >= 10) ? inn.maxBalls : inn.legalBalls;
        NetRunRateFigures& batting = out[k % 2];
        NetRunRateFigures& fielding = out[1 - k % 2];
        batting.runsFor += inn.runs;
        batting.ballsFaced += balls;
        fielding.runsAgainst += inn.runs;
        fielding.ballsBowled += balls;
    }
}
