#pragma once
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/platform.h"
#include "match/match.h"

// The control logic of the main window: its timers, menu commands, the
// Pause/Go button and the end of each innings and of the game. It drives the
// one Match of the run and talks to the window system only through the
// WindowPlatform, so the Qt window, the console runner and the tests share it.
class MatchController : public Captain {
public:
    // A team file named on the command line, read once when the window is made.
    struct PresetTeam {
        bool opened = false;
        bool loaded = false;
        Team team;
        LoadDiagnosis why;
    };

    static constexpr int kMainTimer = 1;
    static constexpr int kTitleTimer = 2;
    static constexpr int kFirstMainPeriodMs = 1100;
    static constexpr int kTitlePeriodMs = 100;
    static constexpr int kShortestPeriodMs = 10;

    // Copies the settings; the caller keeps ownership of the bowler list file.
    MatchController(WindowPlatform& platform, const CommandLineSettings& settings, const GameOptions& options);
    ~MatchController() override;

    void start();
    void tick(int id);
    void chooseTeams();
    void playGame();
    void showOptions();
    void togglePause();  // Pause/Go
    // The window is going away (closed, Escape, or the end of autoplay).
    void close();

    // Captain: the user answers through the choice dialog.
    int autoplay() const override { return autoplay_; }
    ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int allowDeclare) override;

    Match& match() { return match_; }
    const Match& match() const { return match_; }
    int teamsPreset() const { return teamsPreset_; }
    // The side named by /t1= (slot 0) or /t2= (slot 1); nullptr when none was named.
    const PresetTeam* presetTeam(int slot) const;
    int titleFrame() const { return titleFrame_; }
    int mainTimerId() const { return mainTimerId_; }
    // The seed the generator was given at initialisation.
    std::uint32_t seed() const { return seed_; }
    // 0 unless something the user or a script relies on failed: a side that
    // could not load or cannot bowl, a report that could not be opened or written.
    int exitCode() const { return failed_ ? 1 : 0; }
    // The game ended by its rules, every innings played (a report may still have failed).
    bool playedToTheEnd() const { return match_.gameOver && !startFailed_; }

private:
    // Loads both slots and tosses. False when a slot was abandoned.
    bool loadTeams();
    void restartMainTimer();
    void titleStep();
    void mainStep();
    void endOfInnings();
    void writeReport();
    void fail();
    // A file could not be opened or written: say so in the platform's words.
    void fileFailure(int textId, const std::string& file, int error);
    void openOptionsDialog(int gameTypeEnabled);

    WindowPlatform& platform_;
    Match match_;
    int mainTimerId_ = 0;
    int titleTimerId_ = 0;
    int autoplay_ = 0;
    int titleAnimation_ = 1;
    int randomSeed_ = 0;
    std::uint32_t seed_ = 0;
    std::optional<std::string> outputFileName_;
    std::optional<std::string> team1File_;
    std::optional<std::string> team2File_;
    PresetTeam preset_[2];
    std::string teamPaths_[2];  // the files the match's sides came from
    int teamsPreset_ = 0;
    int titleFrame_ = 0;
    std::string reportName_;
    bool failed_ = false;
    bool startFailed_ = false;  // an innings could not start: the game was cut short
    bool destroyed_ = false;
};
