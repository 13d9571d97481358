#include "cli/console_platform.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <utility>

#include "analysis/cricsheet.h"
#include "app/choose_player_model.h"
#include "app/match_controller.h"
#include "app/output_files.h"
#include "app/seed.h"
#include "cli/batch_mode.h"
#include "cli/chart_images.h"
#include "resources/strings.h"

void ConsolePlatform::messageBox(std::string_view text, std::string_view, MessageIcon)
{
    std::fprintf(errors_, "pelmora-cli: %.*s\n", static_cast<int>(text.size()), text.data());
}

std::optional<std::string> ConsolePlatform::chooseFile(FileKind kind)
{
    if (kind == FileKind::Report) return std::string(kStdoutName);
    return std::nullopt;
}

void ConsolePlatform::setStatus(std::string_view text)
{
    if (!text.empty()) std::fprintf(errors_, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void ConsolePlatform::quit(int exitCode)
{
    quitRequested_ = true;
    exitCode_ = exitCode;
}

void ConsolePlatform::runChoosePlayer(ChoosePlayerModel& model)
{
    model.fillRows();
    if (answers_) answers_->answer(model);
    model.acceptSelection();
}

bool ConsolePlatform::runOptionsDialog(OptionsModel& model)
{
    if (groundPending_) {
        ground_.fill(model);
        return true;
    }
    return answers_ && answers_->confirmOptions(model);
}

bool ConsolePlatform::describeFileFailure(int textId, const std::string& file, int error)
{
    const char* what = textId == str::FailureOpeningOutput ? "cannot open report" : "cannot write report";
    const std::string name = isStandardOutputFile(file) ? std::string("to standard output") : file;
    std::fprintf(errors_, "pelmora-cli: %s %s: %s\n", what, name.c_str(), error ? std::strerror(error) : "write error");
    return true;
}

std::int64_t ConsolePlatform::now()
{
    return clockNanoseconds();
}

void ConsolePlatform::showUsage(const std::string& text, const std::string&)
{
    std::printf("%s\n", text.c_str());
}

std::string ConsolePlatform::checkOutputs(const CommandLineSettings& settings) const
{
    std::vector<NamedFile> files;
    if (settings.team1File) files.push_back({"/t1=" + *settings.team1File, *settings.team1File, false});
    if (settings.team2File) files.push_back({"/t2=" + *settings.team2File, *settings.team2File, false});
    if (settings.bowlerListFile)
        files.push_back(
            {"/a= (the bowler list)", "/proc/self/fd/" + std::to_string(fileno(settings.bowlerListFile)), false});
    if (!answersPath_.empty()) files.push_back({"--answers=" + answersPath_, answersPath_, false});
    if (!replayPath_.empty()) files.push_back({"--replay=" + replayPath_, replayPath_, false});
    if (!recordPath_.empty()) files.push_back({"--record=" + recordPath_, recordPath_, true});
    if (settings.outputFileName)
        files.push_back({"/s=" + *settings.outputFileName, *settings.outputFileName, true});
    else
        files.push_back({"the report on standard output", "-", true});
    if (!commentaryPath_.empty()) files.push_back({"--commentary=" + commentaryPath_, commentaryPath_, true});
    if (!cricsheetPath_.empty()) files.push_back({"--cricsheet=" + cricsheetPath_, cricsheetPath_, true});
    for (const char* chart : {"/worm.png", "/manhattan.png"})
        if (!chartsFolder_.empty())
            files.push_back({"--charts=" + chartsFolder_ + " (" + (chart + 1) + ")", chartsFolder_ + chart, true});
    return findClash(files);
}

bool ConsolePlatform::writeCricsheet(const Match& match)
{
    std::string error;
    try {
        if (replaceFileContents(cricsheetPath_,
                                cricsheetJson(match, cricsheetDate_.empty() ? todayUtc() : cricsheetDate_, venue_),
                                error))
            return true;
    } catch (const std::exception& e) {
        error = e.what();
    }
    std::fprintf(errors_, "pelmora-cli: cannot write Cricsheet file %s: %s\n", cricsheetPath_.c_str(), error.c_str());
    return false;
}

bool ConsolePlatform::writeRecord(const MatchController& window)
{
    if (!window.record()) return true;
    std::string error;
    try {
        if (replaceFileContents(recordPath_, matchFileJson(*window.record()), error)) return true;
    } catch (const std::exception& e) {
        error = e.what();
    }
    std::fprintf(errors_, "pelmora-cli: cannot write match file %s: %s\n", recordPath_.c_str(), error.c_str());
    return false;
}

bool ConsolePlatform::writeChartFiles(const Match& match)
{
    std::string error;
    if (writeCharts(match, chartsFolder_, error)) {
        std::fprintf(errors_, "pelmora-cli: worm.png and manhattan.png written to %s\n", chartsFolder_.c_str());
        return true;
    }
    std::fprintf(errors_, "pelmora-cli: %s\n", error.c_str());
    return false;
}

int ConsolePlatform::refuseBeforePlay(Application& application)
{
    CommandLineSettings& settings = application.settings;
    if (!replayFile_ && (!settings.team1File || !settings.team2File)) {
        std::fprintf(errors_, "pelmora-cli: no team file for side %d: give /t1=FILE and /t2=FILE (see --help)\n",
                     settings.team1File ? 2 : 1);
        return 2;
    }
    // Before anything is opened: no output may be an input or another output.
    if (const std::string clash = checkOutputs(settings); !clash.empty()) {
        std::fprintf(errors_, "pelmora-cli: %s; nothing was written\n", clash.c_str());
        return 2;
    }

    if (overs_ > 0) {
        application.options.oneDay = 1;
        application.options.overs = overs_;
    }
    if (answers_) {
        if (const std::string why = answers_->checkBeforePlay(application.options.oneDay != 0); !why.empty()) {
            std::fprintf(errors_, "pelmora-cli: %s\n", why.c_str());
            return 2;
        }
        answers_->warn = [this](const std::string& warning) {
            std::fprintf(errors_, "pelmora-cli: %s\n", warning.c_str());
        };
    }
    return 0;
}

int ConsolePlatform::refuseSides(const MatchController& window, const GameOptions& options)
{
    if (replayFile_) return 0;
    // A side that does not load never reaches the window's own check, which
    // would then wait for a person to choose teams.
    for (int slot = 0; slot < 2; ++slot) {
        const MatchController::PresetTeam& side = *window.presetTeam(slot);
        if (!side.loaded) {
            std::fprintf(errors_, "pelmora-cli: cannot load team file %s: %s\n", side.team.filePath(),
                         side.why.reason.c_str());
            return 1;
        }
    }
    if (const std::string why = sideThatCannotBowl({&window.presetTeam(0)->team, &window.presetTeam(1)->team}, options);
        !why.empty()) {
        std::fprintf(errors_, "pelmora-cli: %s\n", why.c_str());
        return 1;
    }
    return 0;
}

bool ConsolePlatform::openCommentary(ReplacingFile& commentary)
{
    if (commentaryPath_.empty()) return true;
    std::string error;
    if (commentary.open(commentaryPath_, error)) return true;
    std::fprintf(errors_, "pelmora-cli: cannot write commentary file %s: %s\n", commentaryPath_.c_str(), error.c_str());
    return false;
}

bool ConsolePlatform::startMatch(MatchController& window, const CommandLineSettings& settings)
{
    // The ground options are one confirmation of the Game Options dialog before play.
    if (ground_.any()) {
        groundPending_ = true;
        window.showOptions();
        groundPending_ = false;
    }
    window.start();
    if (replayFile_) {
        std::string error;
        if (!window.beginReplay(*replayFile_, error)) {
            std::fprintf(errors_, "pelmora-cli: cannot replay match file %s: %s\n", replayPath_.c_str(), error.c_str());
            return false;
        }
    } else if (settings.randomSeed == 0) {
        std::fprintf(errors_, "seed: %d\n", static_cast<std::int32_t>(window.seed()));
    }
    return true;
}

void ConsolePlatform::sayReplayDiffers(const MatchController& window)
{
    std::fprintf(errors_, "pelmora-cli: cannot replay match file %s: %s\n", replayPath_.c_str(),
                 window.replayError().c_str());
}

void ConsolePlatform::fail()
{
    exitCode_ = exitCode_ ? exitCode_ : 1;
}

ConsolePlatform::PlayEnd ConsolePlatform::playDeliveries(MatchController& window, std::FILE* commentaryStream)
{
    const bool replay = replayFile_.has_value();
    const Match& match = window.match();
    while (!quitRequested_) {
        // Nothing more can happen without a person: never spin.
        if (!match.playing || match.gameOver) return PlayEnd::CannotPlay;
        const Innings* innings = match.inningsAt(match.currentInnings);
        if (replay && !window.replaying()) {
            if (!window.replayError().empty()) {
                sayReplayDiffers(window);
                window.stopMatch(1, loadString(str::StoppedReplayDiffers));
            } else {
                window.stopMatch(0, loadString(str::StoppedMatchFileEnds));  // the point the file was written at
            }
            return PlayEnd::ReplayEnded;
        }
        // A refused answer stops the match before the delivery that would take it.
        if (answers_ && innings) {
            if (const std::string why = answers_->checkNextDelivery(*innings); !why.empty()) {
                std::fprintf(errors_, "pelmora-cli: %s\n", why.c_str());
                window.stopMatch(2, loadString(str::StoppedAnswerRefused));
                return PlayEnd::Stopped;
            }
        }
        const int before = innings ? innings->deliveries : 0;
        window.tick(window.mainTimerId() ? window.mainTimerId() : MatchController::kMainTimer);
        if (commentaryStream && innings && innings->deliveries > before) {
            std::fputs(innings->commentaryLine(innings->overBall - 1), commentaryStream);
            std::fputc('\n', commentaryStream);
        }
    }
    return PlayEnd::Stopped;
}

// Optional outputs are put in place only for a match played to its end;
// otherwise an earlier file of the same name is left as it was.
void ConsolePlatform::writeOutputs(const MatchController& window, ReplacingFile& commentary)
{
    const Match& match = window.match();
    const bool complete = window.playedToTheEnd();
    if (!complete) {
        std::string unwritten;
        for (const auto& [given, name] :
             {std::pair{!commentaryPath_.empty(), "--commentary="}, std::pair{!cricsheetPath_.empty(), "--cricsheet="},
              std::pair{!chartsFolder_.empty(), "--charts="}})
            if (given) unwritten += std::string(unwritten.empty() ? "" : ", ") + name;
        if (!unwritten.empty()) {
            std::fprintf(errors_, "pelmora-cli: the match was not played to its end: nothing written for %s\n",
                         unwritten.c_str());
            fail();
        }
    }
    if (commentary.stream()) {
        std::string error;
        if (!complete) {
            commentary.discard();
        } else if (!commentary.commit(error)) {
            std::fprintf(errors_, "pelmora-cli: cannot write commentary file %s: %s\n", commentaryPath_.c_str(),
                         error.c_str());
            fail();
        }
    }
    if (!recordPath_.empty() && !writeRecord(window)) fail();
    if (!cricsheetPath_.empty() && complete && !writeCricsheet(match)) fail();
    if (!chartsFolder_.empty() && complete && !writeChartFiles(match)) fail();
}

int ConsolePlatform::runMainWindow(Application& application)
{
    application.settings.autoplay = 1;  // nobody is there to choose
    if (const int refusedWith = refuseBeforePlay(application)) return refusedWith;
    MatchController window(*this, application.settings, application.options);
    window.setAsksQuestions(answers_ != nullptr);
    if (const int refusedWith = refuseSides(window, application.options)) return refusedWith;
    ReplacingFile commentary;
    if (!openCommentary(commentary) || !startMatch(window, application.settings)) return 1;

    const PlayEnd end = playDeliveries(window, commentary.stream());
    if (end == PlayEnd::CannotPlay) {
        std::fprintf(errors_, "pelmora-cli: the match could not be played\n");
        return 1;
    }
    // A replay that ended with the match (its last tick) is judged here.
    if (replayFile_ && end != PlayEnd::ReplayEnded && !window.replayError().empty()) {
        sayReplayDiffers(window);
        fail();
    }
    writeOutputs(window, commentary);
    window.close();
    return exitCode_;
}
