// A tournament played: each fixture's outcome, the group tables and the
// knock-out bracket as the results come in.
#include "analysis/tournament.h"

#include <algorithm>

#include "analysis/formatted.h"
#include "analysis/tournament_detail.h"
#include "match/match.h"
#include "match/unattended.h"

namespace {

// The bracket's order of seeds so that the best two can meet only in the final.
std::vector<int> bracket(int size)
{
    std::vector<int> order{0};
    while (static_cast<int>(order.size()) < size) {
        const int n = static_cast<int>(order.size()) * 2;
        std::vector<int> next;
        for (int s : order) {
            next.push_back(s);
            next.push_back(n - 1 - s);
        }
        order = next;
    }
    return order;
}

std::string roundName(int sidesLeft, int k, int count)
{
    if (sidesLeft == 2) return "Final";
    const char* base = sidesLeft == 4 ? "Semi-final" : (sidesLeft == 8 ? "Quarter-final" : "Round of 16 match");
    return count > 1 ? formatted("%s %d", base, k + 1) : base;
}

std::string inningsScore(const Innings& inn)
{
    std::string s = std::to_string(inn.runs);
    if (inn.wickets < 10) s += "/" + std::to_string(inn.wickets);
    return s;
}

}  // namespace

using tournament_detail::groupName;
using tournament_detail::membersOf;

MatchOutcome outcomeOf(const Match& match, int home, int away, std::uint32_t seed, int battedFirst, bool withText)
{
    MatchOutcome o;
    o.home = home;
    o.away = away;
    o.seed = seed;
    o.battedFirst = battedFirst;
    NetRunRateFigures bySlot[2];
    netRunRateFigures(match, bySlot);
    o.figures[battedFirst] = bySlot[0];
    o.figures[1 - battedFirst] = bySlot[1];
    const int n = match.inningsCount;
    std::string text[2];
    for (int k = 0; withText && k < n; ++k) {
        const Innings& inn = match.innings[k];
        if (!inn.battingTeam) continue;
        std::string& t = text[k % 2];
        if (!t.empty()) t += " & ";
        t += inningsScore(inn);
        if (n == 2) t += formatted(" (%d.%d)", inn.legalBalls / 6, inn.legalBalls % 6);
    }
    o.score[battedFirst] = text[0];
    o.score[1 - battedFirst] = text[1];
    if (const MatchResult r = match.result(); r.kind != MatchResult::Tie)
        o.winner = (r.winner == 0) == (battedFirst == 0) ? home : away;
    o.timeRanOut = match.timeRanOutIn(n - 1);
    if (withText) o.resultLine = match.resultLine();
    return o;
}

TournamentProgress::TournamentProgress(const TournamentPlan& plan, std::int32_t firstSeed)
    : plan_(&plan), firstSeed_(firstSeed), seed_(static_cast<std::uint32_t>(firstSeed))
{
    for (int round = 0; round < plan.rounds; ++round)
        for (int g = 0; g < plan.groups; ++g) {
            const std::vector<int> m = membersOf(plan, g);
            for (std::size_t a = 0; a < m.size(); ++a)
                for (std::size_t b = a + 1; b < m.size(); ++b)
                    groupFixtures_.push_back(round == 0 ? GroupFixture{m[a], m[b], g} : GroupFixture{m[b], m[a], g});
        }
    prepareNext();
}

void TournamentProgress::prepareNext()
{
    next_.seed = seed_;
    if (run_.results.size() < groupFixtures_.size()) {
        const GroupFixture& f = groupFixtures_[run_.results.size()];
        next_.home = f.home;
        next_.away = f.away;
        next_.label = plan_->groups > 1 ? groupName(f.group) : "Round robin";
        return;
    }
    if (run_.tables.empty()) closeGroupStage();
    if (alive_.size() < 2) {
        finish();
        return;
    }
    const int count = static_cast<int>(alive_.size()) / 2, k = static_cast<int>(winners_.size());
    const int hi = std::min(alive_[2 * k], alive_[2 * k + 1]), lo = std::max(alive_[2 * k], alive_[2 * k + 1]);
    next_.home = seeds_[static_cast<std::size_t>(hi)];
    next_.away = seeds_[static_cast<std::size_t>(lo)];
    next_.label = roundName(static_cast<int>(alive_.size()), k, count);
}

// The tables are final: the knock-outs' seeds follow from them.
void TournamentProgress::closeGroupStage()
{
    const TournamentPlan& plan = *plan_;
    const int n = static_cast<int>(plan.sides.size());
    const std::uint64_t drawSeed = static_cast<std::uint32_t>(firstSeed_);
    std::vector<int> place(static_cast<std::size_t>(n), 0);
    for (int g = 0; g < plan.groups; ++g) {
        run_.tables.push_back(groupTable(plan, g, run_.results, drawSeed));
        const auto& t = run_.tables.back();
        for (std::size_t i = 0; i < t.size(); ++i)
            place[static_cast<std::size_t>(t[i].side)] = static_cast<int>(i);
    }

    // Everybody outside the knock-outs: by group place, then points and net run rate.
    for (const auto& t : run_.tables)
        standing_.insert(standing_.end(), t.begin(), t.end());
    std::stable_sort(standing_.begin(), standing_.end(), [&](const TableRow& a, const TableRow& b) {
        const int pa = place[static_cast<std::size_t>(a.side)], pb = place[static_cast<std::size_t>(b.side)];
        if (pa != pb) return pa < pb;
        if (a.points != b.points) return a.points > b.points;
        return compareNetRunRate(a.figures, b.figures) > 0;
    });

    run_.reached.assign(static_cast<std::size_t>(n), Stage::GroupStage);
    if (plan.playoff <= 1) return;
    for (int i = 0; i < plan.playoff && i < n; ++i)
        seeds_.push_back(standing_[static_cast<std::size_t>(i)].side);
    for (int s : seeds_)
        run_.reached[static_cast<std::size_t>(s)] = Stage::Knockouts;
    alive_ = bracket(plan.playoff);
    markFinalists();
}

void TournamentProgress::markFinalists()
{
    if (alive_.size() == 2)
        for (int s : alive_)
            run_.reached[static_cast<std::size_t>(seeds_[static_cast<std::size_t>(s)])] = Stage::Final;
}

void TournamentProgress::record(const MatchOutcome& outcome)
{
    if (finished_) return;
    ++seed_;
    if (run_.results.size() < groupFixtures_.size()) {
        run_.results.push_back(outcome);
    } else {
        const int k = static_cast<int>(winners_.size());
        const int hi = std::min(alive_[2 * k], alive_[2 * k + 1]), lo = std::max(alive_[2 * k], alive_[2 * k + 1]);
        KnockoutMatch km;
        km.round = next_.label;
        km.outcome = outcome;
        // A tie, or a Test whose time ran out, sends the side placed higher through.
        const bool higherThrough =
            outcome.winner == -1 || outcome.timeRanOut || outcome.winner == seeds_[static_cast<std::size_t>(hi)];
        km.through = seeds_[static_cast<std::size_t>(higherThrough ? hi : lo)];
        winners_.push_back(higherThrough ? hi : lo);
        roundLosers_.push_back(higherThrough ? lo : hi);
        run_.knockouts.push_back(std::move(km));
        if (2 * winners_.size() == alive_.size()) {
            std::sort(roundLosers_.begin(), roundLosers_.end());
            losers_.push_back(std::move(roundLosers_));
            roundLosers_.clear();
            alive_ = std::move(winners_);
            winners_.clear();
            markFinalists();
        }
    }
    prepareNext();
}

void TournamentProgress::finish()
{
    finished_ = true;
    next_ = Fixture{};
    if (plan_->playoff > 1) {
        run_.finishing.push_back(seeds_[static_cast<std::size_t>(alive_[0])]);
        run_.reached[static_cast<std::size_t>(run_.finishing[0])] = Stage::Won;
        for (auto it = losers_.rbegin(); it != losers_.rend(); ++it)
            for (int s : *it)
                run_.finishing.push_back(seeds_[static_cast<std::size_t>(s)]);
        for (const TableRow& r : standing_)
            if (run_.reached[static_cast<std::size_t>(r.side)] == Stage::GroupStage) run_.finishing.push_back(r.side);
    } else {
        for (const TableRow& r : standing_)
            run_.finishing.push_back(r.side);
        run_.reached[static_cast<std::size_t>(run_.finishing[0])] = Stage::Won;
    }
}

MatchOutcome playFixture(const TournamentPlan& plan, const TournamentProgress::Fixture& fixture, Match& match,
                         bool withText)
{
    match.options() = plan.options;
    int battedFirst = 0;
    playUnattended(match, plan.sides[static_cast<std::size_t>(fixture.home)],
                   plan.sides[static_cast<std::size_t>(fixture.away)], fixture.seed, &battedFirst);
    return outcomeOf(match, fixture.home, fixture.away, fixture.seed, battedFirst, withText);
}

TournamentRun playTournament(const TournamentPlan& plan, std::int32_t firstSeed, const TournamentMatchHook& hook)
{
    TournamentProgress progress(plan, firstSeed);
    while (!progress.finished()) {
        Match match;
        // Forecasts look at no text: only a watched tournament builds its lines.
        const MatchOutcome o = playFixture(plan, progress.next(), match, static_cast<bool>(hook));
        if (hook) hook(match, o, progress.next().label);
        progress.record(o);
    }
    return progress.run();
}
