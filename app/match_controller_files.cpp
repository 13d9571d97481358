// The main window's match files: the match recorded as it is played and
// kept in the last-match file, Save Match, Open Match and Resume Last Match,
// and replays of a match file (the console runner's too).
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis/printable_text.h"
#include "app/match_controller.h"
#include "app/match_file.h"
#include "app/output_files.h"
#include "resources/strings.h"

namespace {
}  // namespace

MatchPoint MatchController::point() const
{
    const Innings* innings = match_.inningsAt(match_.currentInnings);
    return MatchPoint{match_.currentInnings < 0 ? 0 : match_.currentInnings, innings ? innings->deliveries : 0};
}

std::vector<std::array<int, 2>> MatchController::score() const
{
    std::vector<std::array<int, 2>> innings;
    for (int k = 0; k < match_.inningsCount; ++k)
        if (const Innings* i = match_.inningsAt(k); i && i->battingTeam) innings.push_back({i->runs, i->wickets});
    return innings;
}

void MatchController::startRecording()
{
    MatchFile r;
    r.program = std::string("pelmora ") + PELMORA_VERSION;
    r.seed = static_cast<std::int32_t>(seed_);
    r.autoplay = autoplay() != 0;
    r.settings = match_.options();
    r.settings.speedChanged = 0;
    std::memcpy(r.runTable1, match_.context().runTables[1], sizeof r.runTable1);
    for (int t = 0; t < 2; ++t) {
        r.teamFiles[t] = teamTexts_[t];
        r.teamPaths[t] = teamPaths_[t];
    }
    r.score = score();
    recorder_.start(std::move(r));
    saveLastMatch();
}

// After every tick that played: the point reached, and the end of a replay.
void MatchController::afterTick()
{
    recorder_.reached(point(), playedToTheEnd(), score());
    if (replay_ && (!replay_->error().empty() || point() == replay_->target() || match_.gameOver)) {
        replay_->beforeDelivery(replay_->target(), match_.context());
        replayError_ = replay_->error();
        if (replayError_.empty()) replayError_ = replay_->mismatch(point(), playedToTheEnd(), score());
        replay_.reset();
    }
    if (!replay_) saveLastMatch();
}

void MatchController::saveLastMatch()
{
    const std::optional<std::string> path = platform_.lastMatchFile();
    std::string error;
    if (recorder_.file() && path && !replaceFileContents(*path, matchFileJson(*recorder_.file()), error))
        platform_.setStatus(loadText(str::CannotSaveMatch) + *path + ": " + error);
}

void MatchController::stopMatch(int code, std::string_view why)
{
    if (destroyed_) return;
    stopped_ = true;
    replay_.reset();
    deliveryInProgress_ = false;
    match_.gameOver = 1;
    recorder_.stoppedShort();
    writeReport(why);
    platform_.invalidate();
    platform_.quit(code ? code : exitCode());
}

bool MatchController::beginReplay(const MatchFile& file, std::string& error)
{
    if (destroyed_) return false;
    Team sides[2];
    for (int t = 0; t < 2; ++t) {
        LoadDiagnosis why;
        if (!loadTeamText(sides[t], file.teamFiles[t], file.teamPaths[t], &why)) {
            error = "side " + std::to_string(t + 1) + " (" + printableText(file.teamPaths[t]) +
                    ") does not load: " + why.reason;
            return false;
        }
        if (sides[t].bowlerCount() < bowlersNeeded(file.settings)) {
            error = std::string(sides[t].name()) + loadText(str::CannotBowlThrough);
            return false;
        }
    }
    if (match_.gameStarted || report_.stream()) {
        // A fresh match in place of the one played so far.
        discardReport();
        match_.reset();
        hold_ = false;
        failed_ = startFailed_ = stopped_ = false;
        reportName_.clear();
    }
    recorder_.clear();
    tournament_.reset();  // an opened match takes the board from a tournament
    replayError_.clear();
    for (int t = 0; t < 2; ++t) {
        match_.teams[t] = sides[t];
        teamTexts_[t] = file.teamFiles[t];
        teamPaths_[t] = file.teamPaths[t];
    }
    EngineContext& context = match_.context();
    seed_ = static_cast<std::uint32_t>(file.seed);
    context.random.seed(seed_);
    for (std::uint64_t i = 0; i < file.drawsBeforeToss; ++i)
        context.random.next();
    context.options = file.settings;
    std::memcpy(context.runTables[1], file.runTable1, sizeof file.runTable1);
    int batFirst = 0;
    match_.tossMessage(batFirst);
    if (batFirst == 1) match_.swapTeams();
    recorder_.beforeToss(file.drawsBeforeToss);
    platform_.setStatus({});

    if (!openReportFile() || destroyed_) {
        error = "no report file";
        return false;
    }
    platform_.enableMenuItem(cmd::PlayGame, false);
    platform_.enableMenuItem(cmd::ChooseTeams, false);
    if (!match_.startPlay()) {
        match_.gameOver = 1;
        startFailed_ = failed_ = true;
        error = loadText(str::CannotStartInnings);
        return false;
    }
    replayedAutoplay_ = file.autoplay ? 1 : 0;
    MatchFile record = MatchReplay::upToItsPoint(file);
    record.program = std::string("pelmora ") + PELMORA_VERSION;
    recorder_.continueWith(std::move(record));
    replay_ = std::make_unique<MatchReplay>(file);
    if (point() == file.played) afterTick();
    platform_.showPauseButton(true);
    platform_.invalidate();
    return true;
}

bool MatchController::openMatch(const MatchFile& file, std::string& error)
{
    if (!beginReplay(file, error)) return false;
    const bool hold = hold_;
    hold_ = false;
    while (replay_ && !destroyed_ && !match_.gameOver) {
        const MatchPoint before = point();
        mainStep();
        if (replay_ && point() == before) {
            replayError_ = "play does not go on from delivery " + std::to_string(before.delivery + 1) + " of innings " +
                           std::to_string(before.innings + 1);
            replay_.reset();
        }
    }
    hold_ = hold;
    if (!replayError_.empty()) {
        error = replayError_;
        return false;
    }
    return true;
}

void MatchController::openMatchFile(const std::string& name)
{
    std::string contents, error;
    MatchFile file;
    if (!readMatchFileText(name, contents, error) || !parseMatchFile(contents, file, error) || !openMatch(file, error))
        tell(loadText(str::CannotOpenMatch) + name + ": " + error, MessageIcon::Warning);
    platform_.invalidate();
}

void MatchController::openMatchCommand()
{
    if (destroyed_) return;
    if (const std::optional<std::string> name = platform_.chooseFile(FileKind::OpenMatch)) openMatchFile(*name);
}

void MatchController::resumeLastMatch()
{
    if (destroyed_) return;
    if (const std::optional<std::string> name = platform_.lastMatchFile()) openMatchFile(*name);
}

void MatchController::saveMatch()
{
    if (destroyed_) return;
    if (!recorder_.file()) {
        tell(str::NoMatchToSave);
        return;
    }
    const std::optional<std::string> name = platform_.chooseFile(FileKind::SaveMatch);
    if (!name) return;
    std::string error = outputClash(*name);
    if (error.empty() && replaceFileContents(*name, matchFileJson(*recorder_.file()), error)) return;
    tell(loadText(str::CannotSaveMatch) + *name + ": " + error, MessageIcon::Warning);
}
