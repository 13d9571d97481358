#include "app/match_controller.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/choose_player_model.h"
#include "app/match_file.h"
#include "app/options_model.h"
#include "app/output_files.h"
#include "app/seed.h"
#include "presentation/scorecard_writer.h"
#include "resources/strings.h"

namespace {

// Opens and reads a named team file once: a pipe or FIFO has no second reading.
void readPreset(const std::optional<std::string>& name, MatchController::PresetTeam& preset)
{
    if (!name) return;
    preset.team.setFilePath(*name);
    std::FILE* f = std::fopen(name->c_str(), "r");
    if (!f) {
        preset.why.reason = std::string("cannot be opened: ") + std::strerror(errno);
        return;
    }
    preset.opened = true;
    preset.loaded = readTeamCopying(preset.team, f, preset.text, &preset.why) == 1;
    std::fclose(f);
}

}  // namespace

MatchController::MatchController(WindowPlatform& platform, const CommandLineSettings& settings,
                                 const GameOptions& options)
    : platform_(platform)
{
    match_.options() = options;
    titleAnimation_ = settings.titleAnimation;
    autoplay_ = settings.autoplay;
    randomSeed_ = settings.randomSeed;
    outputFileName_ = settings.outputFileName;
    team1File_ = settings.team1File;
    team2File_ = settings.team2File;
    readPreset(team1File_, preset_[0]);
    readPreset(team2File_, preset_[1]);
    teamsPreset_ = (preset_[0].opened && preset_[1].opened) ? 1 : 0;
}

const MatchController::PresetTeam* MatchController::presetTeam(int slot) const
{
    const std::optional<std::string>& name = slot == 0 ? team1File_ : team2File_;
    return (slot == 0 || slot == 1) && name ? &preset_[slot] : nullptr;
}

MatchController::~MatchController()
{
    close();
}

void MatchController::start()
{
    platform_.enableMenuItem(cmd::PlayGame, teamsPreset_ == 1);
    platform_.enableMenuItem(cmd::ChooseTeams, teamsPreset_ != 1);

    seed_ = static_cast<std::uint32_t>(chooseSeeds(randomSeed_, 1, platform_.now()).first);
    match_.context().random.seed(seed_);

    mainTimerId_ = platform_.startTicking(kMainTimer, kFirstMainPeriodMs) ? kMainTimer : 0;
    if (!mainTimerId_) tell(str::CannotCreateMainTimer);
    if (titleAnimation_) {
        titleTimerId_ = platform_.startTicking(kTitleTimer, kTitlePeriodMs) ? kTitleTimer : 0;
        if (!titleTimerId_) tell(str::CannotCreateTitleTimer);
    }
    platform_.showPauseButton(false);
    match_.setCaptain(this);
    if (teamsPreset_ && autoplay_) playGame();
}

void MatchController::tick(int id)
{
    if (destroyed_) return;
    if (titleAnimation_ && titleTimerId_ && id == titleTimerId_)
        titleStep();
    else if (mainTimerId_ && id == mainTimerId_)
        mainStep();
}

// A ball travels to the stumps, then one of two broken wickets stays a while.
// The choice between them draws from the match generator, which is why a
// replay needs the animation off.
void MatchController::titleStep()
{
    const int f = titleFrame_;
    if (f <= 31) {
        std::string caption = " |||";
        caption.append(static_cast<std::size_t>(31 - f), ' ');
        caption += '.';
        platform_.setCaption(caption);
        titleFrame_ = f + 1;
    } else if (f == 32) {
        // A tournament's matches make only the draws of the console runner's.
        const int broken = tournament_ ? (brokenWicket_ ^= 1) : match_.context().random.below(2);
        platform_.setCaption(broken == 1 ? "||./" : "\\.||");
        if (!tournament_) recorder_.captionDraw(point(), match_.gameStarted, match_.gameOver);
        titleFrame_ = 33;
    } else if (f <= 47) {
        titleFrame_ = f + 1;
    } else {
        titleFrame_ = 0;
    }
}

void MatchController::mainStep()
{
    GameOptions& options = match_.options();
    if (options.speedChanged == 1) {
        options.speedChanged = 0;
        restartMainTimer();
    }
    if (tournament_ && !hold_ && match_.gameOver) {
        if (!tournament_->progress.finished() && --ticksBetweenMatches_ <= 0) startFixture();
        return;
    }
    if (tournament_ && tournamentFullSpeed_ && !hold_) return playFixtureThrough();
    // A choice dialog runs the event loop, whose timer must not bowl the next ball meanwhile.
    if (hold_ || deliveryInProgress_ || !match_.playing || match_.gameOver) return;
    if (replay_) replay_->beforeDelivery(point(), match_.context());
    deliveryInProgress_ = true;
    const unsigned r = match_.playBall();
    deliveryInProgress_ = false;
    if (r == 0) {
        // A tournament never waits on an innings that cannot go on.
        if (tournament_) {
            match_.gameOver = 1;
            fixturePlayed();
        }
        return;
    }
    if (r & kInningsEnded) endOfInnings();
    afterTick();
    if (destroyed_) return;
    if (r & kRepaintAll) {
        platform_.invalidate();
    } else {
        RepaintHint hint;
        match_.repaintHint(hint);
        platform_.paintNow(&hint);
    }
}

void MatchController::endOfInnings()
{
    if (tournament_) {
        if (match_.nextInnings() != InningsChange::Started) fixturePlayed();
        return;
    }
    hold_ = true;
    platform_.paintNow(nullptr);
    const bool quiet = autoplay_ || replay_;  // a replay shows no dialogs
    if (!quiet) tell(str::EndOfInning);
    if (destroyed_) return;
    switch (match_.nextInnings()) {
    case InningsChange::Started: break;
    case InningsChange::CannotStart:
        failed_ = true;
        startFailed_ = true;
        tell(str::CannotStartInnings);
        writeReport();
        if (autoplay_ && !destroyed_) platform_.quit(exitCode());
        break;
    case InningsChange::GameOver:
        if (!quiet) tell(str::EndOfGame);
        writeReport();
        if (autoplay_ && !destroyed_) platform_.quit(exitCode());
        break;
    }
    hold_ = false;
}

void MatchController::tell(std::string_view message, MessageIcon icon)
{
    platform_.messageBox(message, loadText(str::AppName), icon);
}

void MatchController::fail()
{
    failed_ = true;
    if (autoplay_) platform_.quit(exitCode());
}

bool MatchController::loadTeams()
{
    for (int slot = 0; slot < 2; ++slot) {
        std::optional<std::string> name = slot == 0 ? team1File_ : team2File_;
        if (!name) {
            name = platform_.chooseFile(slot == 0 ? FileKind::Team1 : FileKind::Team2);
            if (!name) return false;
        }
        LoadDiagnosis why;
        const bool preset = slot == 0 ? team1File_.has_value() : team2File_.has_value();
        bool loaded;
        if (preset) {
            match_.teams[slot] = preset_[slot].team;
            teamTexts_[slot] = preset_[slot].text;
            why = preset_[slot].why;
            loaded = preset_[slot].loaded;
        } else {
            loaded = loadTeamCopying(match_.teams[slot], *name, teamTexts_[slot], &why) == 1;
        }
        teamPaths_[slot] = *name;
        if (!loaded) {
            // A preset side that does not load stops play with a message; an
            // interactive choice is abandoned quietly, with the reason shown.
            if (teamsPreset_) tell(loadText(str::FailureLoadingTeam) + *name);
            platform_.setStatus(*name + ": " + why.reason);
            return false;
        }
    }
    int batFirst = 0;
    recorder_.beforeToss(match_.context().random.draws());
    const std::string message = match_.tossMessage(batFirst);
    if (!autoplay_) {
        platform_.invalidate();
        platform_.messageBox(message, loadText(str::Toss), MessageIcon::Information);
    }
    if (batFirst == 1) match_.swapTeams();
    platform_.setStatus({});
    platform_.invalidate();
    platform_.enableMenuItem(cmd::PlayGame, true);
    return true;
}

void MatchController::chooseTeams()
{
    if (match_.gameStarted || destroyed_) return;
    loadTeams();
}

void MatchController::playGame()
{
    if (match_.gameStarted || destroyed_) return;
    if (teamsPreset_ && !loadTeams()) {
        fail();
        return;
    }
    // A side that cannot bowl an innings through would leave play stuck: refuse
    // it before the report file is touched. The side batting first is named first.
    const int needed = bowlersNeeded(match_.options());
    for (int t = 0; t < 2; ++t) {
        if (match_.teams[t].bowlerCount() < needed) {
            tell(std::string(match_.teams[t].name()) + loadText(str::CannotBowlThrough));
            fail();
            return;
        }
    }

    if (!openReportFile()) return;
    if (destroyed_) return;

    platform_.enableMenuItem(cmd::PlayGame, false);
    platform_.enableMenuItem(cmd::ChooseTeams, false);
    if (!match_.startPlay()) {
        failed_ = true;
        startFailed_ = true;
        match_.gameOver = 1;
        tell(str::CannotStartInnings);
        if (autoplay_) platform_.quit(exitCode());
        return;
    }
    startRecording();
    platform_.showPauseButton(true);
    platform_.invalidate();
}

void MatchController::openOptionsDialog(int gameTypeEnabled)
{
    OptionsModel model;
    model.gameTypeEnabled = gameTypeEnabled;
    model.load(match_.options());
    if (!platform_.runOptionsDialog(model)) return;
    if (tournament_) {
        // A tournament keeps its own settings, as in the console runner: only the speed is taken.
        EngineContext chosen;
        chosen.options = match_.options();
        model.apply(chosen);
        match_.options().gameSpeed = chosen.options.gameSpeed;
        match_.options().speedChanged = chosen.options.speedChanged;
        return;
    }
    model.apply(match_.context());
    recorder_.add(MatchEvent{MatchEvent::Options, point(), -1, match_.options()}, match_.gameOver);
}

void MatchController::showOptions()
{
    if (destroyed_) return;
    const int period = match_.options().gameSpeed * 10;
    hold_ = true;
    openOptionsDialog(match_.gameStarted ? 0 : 1);
    if (destroyed_) return;
    if (match_.options().gameSpeed * 10 != period) restartMainTimer();
    hold_ = false;  // a game paused before the dialog resumes
    if (recorder_.file()) saveLastMatch();
}

void MatchController::togglePause()
{
    if (!destroyed_) hold_ = !hold_;
}

void MatchController::restartMainTimer()
{
    platform_.stopTicking(kMainTimer);
    int period = match_.options().gameSpeed * 10;
    if (period <= 0 || (tournament_ && tournamentFullSpeed_)) period = kShortestPeriodMs;
    mainTimerId_ = platform_.startTicking(kMainTimer, period) ? kMainTimer : 0;
    if (!mainTimerId_) tell(str::CannotCreateMainTimer);
}

int MatchController::autoplay() const
{
    if (tournament_) return 1;
    return replayedAutoplay_ ? *replayedAutoplay_ : (autoplay_ && !asksQuestions_);
}

ChoiceResult MatchController::choosePlayer(Innings& innings, int chooseBatsman, int allowDeclare)
{
    ChoosePlayerModel model;
    model.setup(innings, chooseBatsman, allowDeclare);
    model.optionsHandler = [this] { openOptionsDialog(0); };
    const MatchPoint at = point();
    if (replay_ && replay_->answer(model, at)) return ChoiceResult{model.choice, model.declared};
    platform_.runChoosePlayer(model);
    MatchEvent e{model.chooseBatsman ? MatchEvent::Batsman : MatchEvent::Bowler,
                 at,
                 model.automatic ? MatchEvent::kAutomatic : model.choice,
                 {}};
    if (allowDeclare && model.declared) e = MatchEvent{MatchEvent::Declare, at, -1, {}};
    recorder_.add(e, match_.gameOver);
    return ChoiceResult{model.choice, model.declared};
}

bool MatchController::matchInPlay() const
{
    return !destroyed_ && match_.gameStarted && !match_.gameOver;
}

bool MatchController::mayClose()
{
    if (!matchInPlay()) return true;
    const bool hold = hold_;
    hold_ = true;
    const bool yes = platform_.askYesNo("End the match in play?", loadText(str::AppName));
    hold_ = hold;
    return yes;
}

void MatchController::close()
{
    if (destroyed_) return;
    destroyed_ = true;
    platform_.stopTicking(kMainTimer);
    if (titleAnimation_) platform_.stopTicking(kTitleTimer);
    // A match closed before its end writes no report.
    discardReport();
}
