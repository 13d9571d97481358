// Tournaments on the board: one match after another on the one Match of the
// window, each set up as the console runner sets up a fixture, so its draws
// and its result are the same.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/match_controller.h"
#include "app/seed.h"
#include "match/unattended.h"
#include "resources/strings.h"

bool MatchController::beginTournament(const TournamentPlan& plan)
{
    if (destroyed_) return false;
    const bool matchInPlay = match_.gameStarted && !match_.gameOver && !tournament_;
    if (matchInPlay || replay_) {
        tell(str::TournamentWhilePlaying);
        return false;
    }
    // The /r= value replays a tournament of the console runner, match for match.
    const SeedRun seeds = chooseSeeds(randomSeed_, plan.matchesPerTournament(), platform_.now());
    if (!seeds.refusal.empty()) {
        tell(std::string(loadString(str::TournamentSeedsRefused)) + seeds.refusal + "; give another /r=");
        return false;
    }
    // The finished match's report is complete; the board now belongs to the tournament.
    discardReport();
    recorder_.clear();
    tournament_ = std::make_unique<TournamentPlay>(plan, seeds.first);
    platform_.enableMenuItem(cmd::PlayGame, false);
    platform_.enableMenuItem(cmd::ChooseTeams, false);
    platform_.showPauseButton(true);
    if (tournamentFullSpeed_) restartMainTimer();
    startFixture();
    platform_.tournamentChanged();
    return true;
}

void MatchController::setTournamentFullSpeed(bool on)
{
    if (on == tournamentFullSpeed_) return;
    tournamentFullSpeed_ = on;
    if (on) ticksBetweenMatches_ = 0;
    if (tournament_ && !destroyed_) restartMainTimer();
}

const TournamentProgress* MatchController::tournament() const
{
    return tournament_ ? &tournament_->progress : nullptr;
}

// The fixture's sides come on, toss and first innings as in a match of its own.
void MatchController::startFixture()
{
    const TournamentProgress& progress = tournament_->progress;
    const TournamentProgress::Fixture& fixture = progress.next();
    const TournamentPlan& plan = tournament_->plan;
    GameOptions options = plan.options;
    options.gameSpeed = match_.options().gameSpeed;
    options.briefOutput = match_.options().briefOutput;
    match_.reset();
    match_.options() = options;
    // A side that cannot bowl, or an innings that cannot start, ends the
    // fixture where it stands, as it does in the console runner.
    if (startUnattended(match_, plan.sides[static_cast<std::size_t>(fixture.home)],
                        plan.sides[static_cast<std::size_t>(fixture.away)], fixture.seed,
                        &tournament_->battedFirst) != UnattendedResult::Played)
        match_.gameOver = 1;
    platform_.setStatus(fixture.label + ": " + match_.teams[0].name() + " v " + match_.teams[1].name());
    platform_.invalidate();
    if (match_.gameOver) fixturePlayed();
}

void MatchController::playFixtureThrough()
{
    if (finishUnattended(match_) != UnattendedResult::Played) match_.gameOver = 1;
    fixturePlayed();
    platform_.invalidate();
}

void MatchController::fixturePlayed()
{
    TournamentPlay& t = *tournament_;
    const TournamentProgress::Fixture& fixture = t.progress.next();
    t.progress.record(outcomeOf(match_, fixture.home, fixture.away, fixture.seed, t.battedFirst));
    if (t.progress.finished()) {
        platform_.setStatus(std::string("Winner: ") +
                            t.plan.sides[static_cast<std::size_t>(t.progress.run().finishing[0])].name());
        platform_.showPauseButton(false);
    }
    ticksBetweenMatches_ = tournamentFullSpeed_
                               ? 0
                               : kPauseBetweenMatchesMs / std::max(kShortestPeriodMs, match_.options().gameSpeed * 10);
    platform_.tournamentChanged();
}
