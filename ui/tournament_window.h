#pragma once
#include <QWidget>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "analysis/tournament.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;

// A side view of a tournament: its matches are played one after another on a
// worker thread, and the results and table are shown after each of them.
class TournamentWindow : public QWidget {
public:
    explicit TournamentWindow(QWidget* parent = nullptr);
    ~TournamentWindow() override;

    // Asks for a tournament file and plays it; false when none was loaded.
    bool openAndPlay();
    // Plays the tournament file; false with a message box when it does not load.
    bool play(const QString& path);
    const QString& text() const { return text_; }
    bool finished() const { return finished_; }

private:
    void matchPlayed(const MatchOutcome& outcome, const QString& label);
    void tournamentFinished(const QString& text);
    void stop();

    QLabel* title_;
    QCheckBox* fullSpeed_;
    QPlainTextEdit* view_;
    TournamentPlan plan_;
    std::vector<MatchOutcome> results_;
    QString text_;
    bool finished_ = false;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> slow_{true};
    std::thread worker_;
};
