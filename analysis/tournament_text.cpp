// One tournament as text: results, tables and knock-outs.
#include <algorithm>

#include "analysis/formatted.h"
#include "analysis/tournament.h"
#include "analysis/tournament_detail.h"
#include "match/match.h"

namespace tournament_detail {

std::string padded(const std::string& text, std::size_t width)
{
    std::string out;
    appendPadded(out, text, width);
    return out;
}

std::string seedRange(std::int32_t firstSeed, std::int64_t matches)
{
    return formatted("seeds %d..%lld", firstSeed,
                     static_cast<long long>(firstSeed) + std::max<std::int64_t>(matches, 1) - 1);
}

}  // namespace tournament_detail

namespace {

using tournament_detail::groupName;
using tournament_detail::padded;
using tournament_detail::seedRange;

std::string signedRate(const NetRunRateFigures& f)
{
    return formatted("%+.3f", f.value());
}

std::string fixtureLine(const TournamentPlan& plan, const MatchOutcome& m)
{
    return padded(plan.sides[static_cast<std::size_t>(m.home)].name(), 15) + " " + padded(m.score[0], 22) + " v " +
           padded(plan.sides[static_cast<std::size_t>(m.away)].name(), 15) + " " + padded(m.score[1], 22) + " " +
           m.resultLine + formatted("  (/r=%d)", static_cast<std::int32_t>(m.seed));
}

std::string heading(const TournamentPlan& plan, const TournamentRun& run, std::int32_t firstSeed)
{
    const std::int64_t played = static_cast<std::int64_t>(run.results.size() + run.knockouts.size());
    return plan.name + ": " + plan.describe() + "; " + seedRange(firstSeed, played) + "\n";
}

std::string resultsText(const TournamentPlan& plan, const TournamentRun& run)
{
    std::string out = "\nResults\n";
    for (const MatchOutcome& m : run.results) {
        out += "  ";
        out += fixtureLine(plan, m);
        out += '\n';
    }
    return out;
}

std::string tablesText(const TournamentPlan& plan, const TournamentRun& run)
{
    std::string out;
    for (int g = 0; g < plan.groups && g < static_cast<int>(run.tables.size()); ++g) {
        out += '\n';
        out += plan.groups > 1 ? groupName(g) : std::string("Table");
        out += "\n   #  ";
        out += padded("side", 15);
        out += "   P   W   L   T  Pts      NRR\n";
        int pos = 0;
        for (const TableRow& r : run.tables[static_cast<std::size_t>(g)])
            out += formatted("  %2d  ", ++pos) + padded(plan.sides[static_cast<std::size_t>(r.side)].name(), 15) +
                   formatted(" %3d %3d %3d %3d %4d %8s\n", r.played, r.won, r.lost, r.tied, r.points,
                             signedRate(r.figures).c_str());
    }
    return out;
}

std::string knockoutsText(const TournamentPlan& plan, const TournamentRun& run)
{
    if (run.knockouts.empty()) return {};
    std::string out = "\nKnock-outs\n";
    for (const KnockoutMatch& k : run.knockouts) {
        out += "  " + padded(k.round, 14) + " " + fixtureLine(plan, k.outcome) + "\n";
        if (k.outcome.winner != k.through)
            out += "  " + padded("", 14) + " " + plan.sides[static_cast<std::size_t>(k.through)].name() +
                   " go through, placed higher\n";
    }
    return out;
}

}  // namespace

std::string formatTournamentRun(const TournamentPlan& plan, const TournamentRun& run, std::int32_t firstSeed)
{
    return heading(plan, run, firstSeed) + resultsText(plan, run) + tablesText(plan, run) + knockoutsText(plan, run) +
           "\nWinner: " + plan.sides[static_cast<std::size_t>(run.finishing[0])].name() + "\n";
}

std::string formatTournamentProgress(const TournamentProgress& progress)
{
    const TournamentPlan& plan = progress.plan();
    if (progress.finished()) return formatTournamentRun(plan, progress.run(), progress.firstSeed());
    // Part-way the match on the board and the table come first; until the
    // group stage ends the tables are drawn from the results so far.
    TournamentRun run = progress.run();
    if (run.tables.empty())
        for (int g = 0; g < plan.groups; ++g)
            run.tables.push_back(groupTable(plan, g, run.results, static_cast<std::uint32_t>(progress.firstSeed())));
    const TournamentProgress::Fixture& next = progress.next();
    return heading(plan, run, progress.firstSeed()) + "\nNow: " + next.label + ", " +
           plan.sides[static_cast<std::size_t>(next.home)].name() + " v " +
           plan.sides[static_cast<std::size_t>(next.away)].name() +
           formatted("  (/r=%d)\n", static_cast<std::int32_t>(next.seed)) + tablesText(plan, run) +
           knockoutsText(plan, run) + resultsText(plan, run);
}
