#include "match/unattended.h"

UnattendedResult startUnattended(Match& match, const Team& first, const Team& second, std::uint32_t seed,
                                 int* battedFirst)
{
    match.context().random.seed(seed);
    match.setTeam(0, first);
    match.setTeam(1, second);
    int batFirst = 0;
    match.tossMessage(batFirst);
    if (batFirst == 1) match.swapTeams();
    if (battedFirst) *battedFirst = batFirst;
    const int needed = bowlersNeeded(match.options());
    if (match.teams[0].bowlerCount() < needed || match.teams[1].bowlerCount() < needed)
        return UnattendedResult::CannotBowl;
    return match.startPlay() ? UnattendedResult::Played : UnattendedResult::InningsFailed;
}

UnattendedResult playUnattended(Match& match, const Team& first, const Team& second, std::uint32_t seed,
                                int* battedFirst)
{
    const UnattendedResult started = startUnattended(match, first, second, seed, battedFirst);
    return started == UnattendedResult::Played ? finishUnattended(match) : started;
}

UnattendedResult finishUnattended(Match& match)
{
    while (!match.gameOver) {
        const unsigned r = match.playBall();
        if (r == 0) return UnattendedResult::InningsFailed;
        if ((r & kInningsEnded) && match.nextInnings() == InningsChange::CannotStart)
            return UnattendedResult::InningsFailed;
    }
    return UnattendedResult::Played;
}
