#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "analysis/tournament.h"
#include "app/command_line.h"
#include "app/match_file.h"
#include "app/match_recorder.h"
#include "app/match_replay.h"
#include "app/output_files.h"
#include "app/platform.h"
#include "match/match.h"
#include "resources/strings.h"

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
        std::string text;  // the bytes read, kept for the match file
    };

    static constexpr int kMainTimer = 1;
    static constexpr int kTitleTimer = 2;
    static constexpr int kFirstMainPeriodMs = 1100;
    static constexpr int kTitlePeriodMs = 100;
    static constexpr int kShortestPeriodMs = 10;
    static constexpr int kPauseBetweenMatchesMs = 2000;  // of a tournament, unless at full speed

    // Copies the settings; the caller keeps ownership of the bowler list file.
    MatchController(WindowPlatform& platform, const CommandLineSettings& settings, const GameOptions& options);
    ~MatchController() override;

    // Sets the menus, seeds the generator and starts the timers; with both
    // sides named and autoplay on, play starts at once.
    void start();
    // A timer fired: the caption animation or the next delivery.
    void tick(int id);
    // Game > Choose Teams: both sides, then the toss.
    void chooseTeams();
    // Game > Play Game: checks the sides, opens the report and starts play.
    void playGame();
    // Game > Options: the Game Options dialog, play held meanwhile.
    void showOptions();
    void togglePause();  // the Pause/Go button
    // The window is going away (closed, Escape, or the end of autoplay).
    void close();
    // Begun and not yet over.
    bool matchInPlay() const;
    // Game > Quit, Escape or the close box: whether the window may close now.
    // A match in play is ended only when the user says Yes; play waits for the answer.
    bool mayClose();

    // Match files: the match is recorded from the start of play.
    void saveMatch();
    void openMatchCommand();
    void resumeLastMatch();
    // Sets a match up from a match file; its deliveries then replay as the
    // main timer ticks, without dialogs, until the point the file reached.
    // False with the reason when the file cannot be replayed.
    bool beginReplay(const MatchFile& file, std::string& error);
    // beginReplay, then plays at once to that point (the window's Open Match).
    bool openMatch(const MatchFile& file, std::string& error);
    bool replaying() const { return replay_ != nullptr; }
    // Why a replay stopped short of its point; empty when it did not.
    const std::string& replayError() const { return replayError_; }
    // The match file of the match being played; none before play.
    const MatchFile* record() const { return recorder_.file(); }
    // Ends the match where it stands: the report is written with what was
    // played, its last line saying why the match stopped instead of a result.
    void stopMatch(int exitCode, std::string_view why);
    // Empty when a file may be written at `path`; else why not (it is one of
    // the match's sides, or its report).
    std::string outputClash(const std::string& path) const;
    // Unattended, yet the choice questions are asked (an answers file answers them).
    void setAsksQuestions(bool asks) { asksQuestions_ = asks; }

    // Game > Tournament...: the tournament's matches are played one after
    // another on the board at the game speed, every choice made automatically,
    // with the draws the console runner's tournament makes, so the same seed
    // gives the same results. Its first seed is the /r= value, else the clock.
    // False, with a message, while a match is in play.
    bool beginTournament(const TournamentPlan& plan);
    // The tournament being played or last played; nullptr before any.
    const TournamentProgress* tournament() const;
    // At full speed each match is played through at one tick.
    void setTournamentFullSpeed(bool on);

    // Captain: the user answers through the choice dialog, or an answers file.
    int autoplay() const override;
    ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int allowDeclare) override;

    Match& match() { return match_; }
    const Match& match() const { return match_; }
    // The side named by /t1= (slot 0) or /t2= (slot 1); nullptr when none was named.
    const PresetTeam* presetTeam(int slot) const;
    int mainTimerId() const { return mainTimerId_; }
    // The seed the generator was given at initialisation.
    std::uint32_t seed() const { return seed_; }
    // 0 unless something the user or a script relies on failed: a side that
    // could not load or cannot bowl, a report that could not be opened or written.
    int exitCode() const { return failed_ ? 1 : 0; }
    // The game ended by its rules, every innings played (a report may still have failed).
    bool playedToTheEnd() const { return match_.gameOver && !startFailed_ && !stopped_; }
    // Play waits: Pause/Go, a dialog open, or the pause after an innings.
    bool held() const { return hold_; }

private:
    // Loads both slots and tosses. False when a slot was abandoned.
    bool loadTeams();
    void restartMainTimer();
    void titleStep();
    void mainStep();
    void endOfInnings();
    // Writes the report and puts it in place; `stoppedBecause` is empty for a
    // match that ended by its rules.
    void writeReport(std::string_view stoppedBecause = {});
    // A report not written: an earlier file of its name stays as it was.
    void discardReport();
    void fail();
    // A message box captioned with the program's name.
    void tell(std::string_view message, MessageIcon icon = MessageIcon::None);
    // The same, for a message that is one string of the table.
    void tell(int textId) { tell(loadString(textId)); }
    // A file could not be opened or written: say so in the platform's words.
    void fileFailure(int textId, const std::string& file, int error);
    void openOptionsDialog(int gameTypeEnabled);
    // The report file of /s= or the file chooser; false when play must not start.
    bool openReportFile();
    // Match files.
    MatchPoint point() const;
    std::vector<std::array<int, 2>> score() const;  // runs and wickets of every innings begun
    void startRecording();
    void afterTick();
    void saveLastMatch();
    void openMatchFile(const std::string& name);

    // Tournaments.
    struct TournamentPlay {
        TournamentPlan plan;
        TournamentProgress progress;
        int battedFirst = 0;  // of the fixture on the board: 0 its home side
        TournamentPlay(const TournamentPlan& p, std::int32_t firstSeed) : plan(p), progress(plan, firstSeed) {}
    };
    void startFixture();
    void playFixtureThrough();
    void fixturePlayed();

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
    ReplacingFile report_;  // open from the start of play until the report is written
    bool hold_ = false;
    bool deliveryInProgress_ = false;
    bool failed_ = false;
    bool startFailed_ = false;  // an innings could not start: the game was cut short
    bool destroyed_ = false;
    bool stopped_ = false;  // stopMatch ended the match short
    bool asksQuestions_ = false;
    std::optional<int> replayedAutoplay_;  // a replayed match keeps who made its choices
    std::string teamTexts_[2];             // the sides' files as read
    MatchRecorder recorder_;
    std::unique_ptr<MatchReplay> replay_;
    std::string replayError_;
    std::unique_ptr<TournamentPlay> tournament_;
    bool tournamentFullSpeed_ = false;
    int ticksBetweenMatches_ = 0;  // the board shows a finished match a while
    int brokenWicket_ = 0;         // the caption's broken wicket while a tournament plays
};
