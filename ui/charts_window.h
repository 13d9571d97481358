#pragma once
#include <QTabWidget>

class Match;

// The worm and Manhattan charts of the match so far, in two tabs; the main
// window asks it to refresh after every ball while it is open.
class ChartsWindow : public QTabWidget {
    Q_OBJECT
public:
    explicit ChartsWindow(const Match& match, QWidget* parent = nullptr);
    void refresh();

private:
    const Match& match_;
};
