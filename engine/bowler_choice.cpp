// The engine's own captaincy in autoplay: two strike bowlers kept for the end
// of a one-day innings, a bowler doing well keeps his spell from his end, an
// expensive one comes off, and the rest of the attack is worked through in an
// order that depends on how far the innings has got.
#include "engine/engine_context.h"
#include "engine/innings.h"
#include "engine/spell_judgement.h"

void Innings::rankBowlers()
{
    const int n = bowlingTeam->bowlerCount();
    auto rank = [&](int* ranking, int (*compare)(const Player&, const Player&)) {
        for (int i = 0; i < n; ++i)
            ranking[i] = i;
        // Exchange sort of neighbours: equal bowlers keep their team order.
        int m = n - 1;
        bool exchanged = true;
        while (exchanged && m > 0) {
            exchanged = false;
            for (int j = 0; j < m; ++j) {
                const Player& a = *bowlingTeam->player(bowlingTeam->bowlerAt(ranking[j]));
                const Player& b = *bowlingTeam->player(bowlingTeam->bowlerAt(ranking[j + 1]));
                if (compare(a, b) < 0) {
                    int t = ranking[j];
                    ranking[j] = ranking[j + 1];
                    ranking[j + 1] = t;
                    exchanged = true;
                }
            }
            --m;
        }
    };
    rank(threatRanking, compareThreatThenStyle);
    rank(styleRanking, compareStyleThenThreat);
}

int Innings::pairAllows(int position) const
{
    const int* pair = context().strikePair;
    if (position != pair[0] && position != pair[1]) return 1;
    // Strike bowlers keep the last fifth of their quota for the end.
    const int reserve = (maxBalls / 5 * 4) / 5;
    return (position >= 0 && position < 10 && reserve > bowling[position].balls) ? 1 : 0;
}

// Records the spell that over k completes from its end: its own runs and
// chances, as tallied while it was bowled, added to the spell of over k - 2
// when the same man bowled it.
void Innings::summariseOver(int k)
{
    if (k < 0 || k >= overCount_) return;
    OverEntry& over = overs_[k];
    const int first = over.start;
    over.spellOvers = 1;
    over.spellRuns = overSpellRuns_;
    over.spellChances = overSpellChances_;
    if (k >= 2 && first < deliveries) {
        const OverEntry& before = overs_[k - 2];
        if (ballLog_[before.start].bowlerPlayer == ballLog_[first].bowlerPlayer) {
            over.spellOvers += before.spellOvers;
            over.spellRuns += before.spellRuns;
            over.spellChances += before.spellChances;
        }
    }
}

int Innings::searchCandidates(const int* list, int start, int notPosition) const
{
    const int n = bowlingTeam->bowlerCount();
    for (int i = 0; i < n; ++i) {
        const int candidate = list[(start + i) % n];
        if (candidate != notPosition && mayBowl(candidate) && pairAllows(candidate)) return candidate;
    }
    return -1;
}

// The last resort: a random start, then the next bowler who may bowl. When
// nobody may (one-day quotas used up), the quota is waived for this over.
int Innings::randomBowler()
{
    const int n = bowlingTeam->bowlerCount();
    if (n <= 0) return -1;
    const int first = context().random.below(n);
    int r = first;
    for (int tries = 0; tries < n; ++tries, r = (r + 1) % n)
        if (mayBowl(r)) return r;
    r = first;
    for (int tries = 0; tries < n; ++tries, r = (r + 1) % n)
        if (r != bowler) return r;
    return first;
}

bool keepsSpell(const SpellJudgement& j)
{
    const int s = j.spellOvers, h = j.spellChances;
    // Single precision, each operation rounded to float: the replay of every
    // recorded match depends on these exact expressions.
    const float spellAverage = static_cast<float>(j.spellRuns) / static_cast<float>(s);
    const float inningsAverage = static_cast<float>(j.inningsRuns) / static_cast<float>(j.oversBowled);
    if ((spellAverage > 2.0f * inningsAverage || spellAverage > 8.0f) && h < 2 * s)
        return false;                                                               // expensive, harmless
    if (spellAverage < inningsAverage * 2.0f / 3.0f) return true;                   // far cheaper than the innings
    if (spellAverage < 2.0f) return true;                                           // cheap
    if (spellAverage < inningsAverage && s <= (j.phase <= 3 ? 3 : 2)) return true;  // a short, tidy spell
    if (h >= s) return true;                                                        // making chances
    if (s > 2) return false;                                                        // long enough
    if (j.amongLeadingThreats) return true;
    const float economy = static_cast<float>(j.bowlerRuns) * 6.0f / static_cast<float>(j.bowlerBalls);
    return !(economy > inningsAverage);
}

int Innings::autoBowler()
{
    EngineContext& ctx = context();
    const int n = bowlingTeam->bowlerCount();
    const bool late = 50LL * legalBalls >= 46LL * maxBalls;

    // Death overs, first chance; never before this innings' rankings exist.
    bool deathOvers = false;
    if (late && threatRanking[0] != -1) deathOvers = ctx.random.below(1000) < 250;

    int c = -1;  // the bowler of this end's previous over, once judged
    if (!deathOvers) {
        if (threatRanking[0] == -1) {
            rankBowlers();
            const bool byThreat = ctx.random.below(1000) < 500;
            const int* source = byThreat ? threatRanking : styleRanking;
            ctx.strikePair[0] = source[0];
            ctx.strikePair[1] = source[1];
        }
        // The opening overs go to the first two by style, without any test.
        if (deliveries == 0) return styleRanking[0];
        if (legalBalls == 6) return styleRanking[1];

        const int o = legalBalls / 6;
        if (o >= 2 && o - 2 < overCount_) c = bowlingTeam->bowlerPosition(ballLog_[overs_[o - 2].start].bowlerPlayer);
        if (c != -1 && mayBowl(c)) {
            const OverEntry& spell = overs_[o - 2];
            SpellJudgement judgement;
            judgement.spellOvers = spell.spellOvers;
            judgement.spellRuns = spell.spellRuns;
            judgement.spellChances = spell.spellChances;
            judgement.inningsRuns = runs;
            judgement.oversBowled = o;
            judgement.phase = maxBalls > 0 ? legalBalls * 10 / maxBalls : 0;
            int leading = 0;
            while (3 * leading < 2 * n)
                ++leading;  // about two thirds of the attack
            for (int i = 0; i < leading && i < 10; ++i)
                judgement.amongLeadingThreats = judgement.amongLeadingThreats || threatRanking[i] == c;
            judgement.bowlerRuns = bowling[c].runs;
            judgement.bowlerBalls = bowling[c].balls;
            const bool keep = keepsSpell(judgement);
            if (keep && mayBowl(c) && pairAllows(c)) return c;
        }
    }

    const int phase = maxBalls > 0 ? legalBalls * 10 / maxBalls : 0;
    const int* list = threatRanking;
    int start = 0;
    if (phase <= 1)
        list = styleRanking;
    else if (phase >= 5 && phase <= 7)
        start = 2;

    if (late) {
        // Death overs: a strike bowler, if either may bowl.
        const int* pair = ctx.strikePair;
        if (mayBowl(pair[1])) return pair[1];
        if (mayBowl(pair[0])) return pair[0];
    }
    const int candidate = searchCandidates(list, start, c);
    if (candidate != -1) return candidate;
    return randomBowler();
}
