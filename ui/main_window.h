#pragma once
#include <QMainWindow>
#include <map>

#include "app/application.h"
#include "app/match_controller.h"
#include "app/platform.h"

class QAction;
class QEventLoop;
class QLabel;
class QPushButton;
class QTimer;
class ChartsWindow;
class ScoreboardView;

// The main window on Qt: menus, the scoreboard with its Pause/Go button, a
// status line, one QTimer per timer id, message boxes, file choosers and
// the dialogs. The MatchController control inside decides everything; this class
// only carries out its requests and hands it the user's commands.
class MainWindow : public QMainWindow, public WindowPlatform {
    Q_OBJECT
public:
    static constexpr int kFirstWidth = 600;
    static constexpr int kFirstHeight = 440;

    MainWindow(Application& application, AppPlatform& appPlatform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Initialises the control (timers, menu states, autoplay start) and shows
    // the window, unless the control has already asked to quit.
    void start();
    // start(), then the event loop until quit() or the window is closed.
    // Returns the exit status.
    int run();

    MatchController& control() { return control_; }
    // Game > Tournament... with the file chosen: loads it and plays it on the
    // board; false with a message when it does not load or cannot start.
    bool openTournament(const QString& path);
    class TournamentWindow* tournamentView() const { return tournament_; }
    QAction* action(int commandId) const;
    QPushButton* pauseButton() const;
    ScoreboardView* scoreboard() const { return view_; }
    QString statusText() const;
    // Period of a running timer, -1 when it does not run.
    int timerInterval(int id) const;
    bool quitRequested() const { return quitRequested_; }
    int exitStatus() const { return exitStatus_; }

    // WindowPlatform.
    bool startTicking(int id, int periodMs) override;
    void stopTicking(int id) override;
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override;
    bool askYesNo(std::string_view question, std::string_view caption) override;
    std::optional<std::string> chooseFile(FileKind kind) override;
    void setCaption(std::string_view caption) override;
    void setStatus(std::string_view text) override;
    void invalidate() override;
    void paintNow(const RepaintHint* hint) override;
    void enableMenuItem(int commandId, bool enabled) override;
    void showPauseButton(bool visible) override;
    void quit(int exitCode) override;
    void runChoosePlayer(ChoosePlayerModel& model) override;
    bool runOptionsDialog(OptionsModel& model) override;
    std::optional<std::string> lastMatchFile() override;
    void tournamentChanged() override;
    std::int64_t now() override;

signals:
    // A ball was played and its rows painted.
    void deliveryShown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void showCharts();
    void exportCricsheet();
    QAction* addCommand(QMenu* menu, int textId, int commandId);
    // Dialogs stack on whatever modal window is open, else on this one.
    QWidget* dialogParent();

    Application& application_;
    AppPlatform& appPlatform_;
    std::map<int, QTimer*> timers_;
    std::map<int, QAction*> actions_;
    ScoreboardView* view_ = nullptr;
    ChartsWindow* charts_ = nullptr;
    class TournamentWindow* tournament_ = nullptr;
    QLabel* status_ = nullptr;
    QEventLoop* loop_ = nullptr;
    QString teamFolder_;  // where the last team file was chosen
    bool quitRequested_ = false;
    int exitStatus_ = 0;
    MatchController control_;
};
