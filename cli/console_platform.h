#pragma once
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "analysis/cricsheet.h"
#include "app/answers.h"
#include "app/application.h"
#include "app/match_file.h"
#include "app/platform.h"

// The window platform of the console runner: no window, no timers of its
// own (the runner delivers main-timer ticks as fast as it can), message boxes
// as lines on standard error, and the report on standard output unless /s=
// names a file.
class MatchController;
class ReplacingFile;

class ConsolePlatform : public WindowPlatform, public AppPlatform {
public:
    static constexpr const char* kStdoutName = "/dev/stdout";

    explicit ConsolePlatform(std::FILE* errors = stderr) : errors_(errors) {}

    // Every delivery's commentary line goes here as it is played (optional).
    void setCommentaryPath(std::string path) { commentaryPath_ = std::move(path); }
    // The finished match goes here in Cricsheet's JSON format (optional).
    void setCricsheetPath(std::string path) { cricsheetPath_ = std::move(path); }
    // The ground that export names.
    void setVenue(std::string venue) { venue_ = std::move(venue); }
    void setCricsheetDate(std::string date) { cricsheetDate_ = std::move(date); }
    // worm.png and manhattan.png of the finished match go here (optional).
    void setChartsFolder(std::string folder) { chartsFolder_ = std::move(folder); }
    // 1..50: a limited-overs match of that many overs; 0 leaves the command line's choice.
    void setOvers(int overs) { overs_ = overs; }
    // The choice questions are asked and answered from this file's answers.
    void setAnswers(std::string path, std::vector<Answer> answers)
    {
        answersPath_ = std::move(path);
        answers_ = std::make_unique<AnswerScript>(std::move(answers), answersPath_);
    }
    // Confirmed in the Game Options dialog before play.
    void setGround(const GroundSettings& ground) { ground_ = ground; }
    // The match file of the match played is written here (optional).
    void setRecordPath(std::string path) { recordPath_ = std::move(path); }
    // Plays this match file again instead of a match of its own.
    void setReplay(std::string path, MatchFile file)
    {
        replayPath_ = std::move(path);
        replayFile_ = std::move(file);
    }

    // WindowPlatform.
    bool startTicking(int, int) override { return true; }
    void stopTicking(int) override {}
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    std::optional<std::string> chooseFile(FileKind kind) override;
    void setCaption(std::string_view) override {}
    void setStatus(std::string_view text) override;
    void invalidate() override {}
    void paintNow(const RepaintHint*) override {}
    void enableMenuItem(int, bool) override {}
    void showPauseButton(bool) override {}
    void quit(int exitCode) override;
    void runChoosePlayer(ChoosePlayerModel& model) override;
    bool runOptionsDialog(OptionsModel& model) override;
    bool describeFileFailure(int textId, const std::string& file, int error) override;
    std::int64_t now() override;

    // AppPlatform.
    void showUsage(const std::string& text, const std::string& caption) override;
    int runMainWindow(Application& application) override;

private:
    enum class PlayEnd { Stopped, ReplayEnded, CannotPlay };

    // The checks before play: 0 when play can go on; else the exit code, the reason said.
    int refuseBeforePlay(Application& application);
    int refuseSides(const MatchController& window, const GameOptions& options);
    bool openCommentary(ReplacingFile& commentary);
    bool startMatch(MatchController& window, const CommandLineSettings& settings);
    PlayEnd playDeliveries(MatchController& window, std::FILE* commentaryStream);
    void sayReplayDiffers(const MatchController& window);
    void writeOutputs(const MatchController& window, ReplacingFile& commentary);
    // The run fails with 1 unless it already failed otherwise.
    void fail();

    // Empty when the outputs clash with nothing; else the message.
    std::string checkOutputs(const CommandLineSettings& settings) const;
    bool writeCricsheet(const Match& match);
    bool writeChartFiles(const Match& match);
    bool writeRecord(const MatchController& window);

    std::FILE* errors_;
    std::string commentaryPath_;
    std::string cricsheetPath_;
    std::string venue_ = kDefaultVenue;
    std::string cricsheetDate_;  // empty: today
    std::string chartsFolder_;
    int overs_ = 0;
    std::string answersPath_;
    std::unique_ptr<AnswerScript> answers_;
    GroundSettings ground_;
    bool groundPending_ = false;
    std::string recordPath_;
    std::string replayPath_;
    std::optional<MatchFile> replayFile_;
    bool quitRequested_ = false;
    int exitCode_ = 0;
};
