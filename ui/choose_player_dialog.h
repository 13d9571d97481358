#pragma once
#include <QDialog>

class ChoosePlayerModel;
class QLabel;
class QTreeWidget;
class QPushButton;

// The choice of the next batsman or bowler. The model decides the rows, the
// figure lines and the answer; whichever row is selected when the dialog
// closes, by any way, is the answer.
class ChoosePlayerDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChoosePlayerDialog(ChoosePlayerModel& model, QWidget* parent = nullptr);

    // Moves the dialog so its top-right corner is at this screen point, unless
    // that would put both its left and its top edge off the screen.
    void placeTopRightAt(const QPoint& corner);

    QTreeWidget* list() const { return list_; }
    QLabel* figureLine() const { return figureLine_; }
    QLabel* bowlingFigures() const { return bowlingFigures_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* declareButton() const { return declare_; }
    QPushButton* optionsButton() const { return options_; }

    void done(int result) override;

private:
    // The selected row, if any, becomes the model's.
    void takeSelection();
    void showFigures();

    ChoosePlayerModel& model_;
    QLabel* figureLine_;
    QTreeWidget* list_;
    QLabel* bowlingFigures_;
    QPushButton* ok_;
    QPushButton* declare_;
    QPushButton* options_;
};
