#pragma once
#include <QWidget>

class MatchController;
class QCheckBox;
class QLabel;
class QPlainTextEdit;

// The side view of a tournament played on the board: its results, tables
// and knock-outs, brought up to date after each match, and whether the
// matches are played at full speed.
class TournamentWindow : public QWidget {
public:
    TournamentWindow(MatchController& control, QWidget* parent = nullptr);

    // Shows what the controller's tournament has played so far.
    void refresh();
    QString text() const;

private:
    // Wide enough for the longest line, as far as the screen allows.
    void fitWidestLine();

    MatchController& control_;
    QLabel* title_;
    QCheckBox* fullSpeed_;
    QPlainTextEdit* view_;
};
