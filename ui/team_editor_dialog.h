#pragma once
#include <QDialog>
#include <QString>

#include "app/team_editor_model.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The team editor: the side's name and its eleven in a table, one spin box
// per rating, checked as it is typed and saved as a team file.
class TeamEditorDialog : public QDialog {
public:
    // savePath: where Save offers to write (the file the side came from).
    TeamEditorDialog(TeamEditorModel model, QString savePath, QWidget* parent = nullptr);

    // Team > New Team... and Team > Edit Team... (which asks for the file first).
    static void newTeam(QWidget* parent);
    static void editTeam(QWidget* parent);

    const TeamEditorModel& model() const { return model_; }
    QTableWidget* table() const { return table_; }
    QLineEdit* nameEdit() const { return name_; }
    QPushButton* saveButton() const { return save_; }
    QLabel* problemsLabel() const { return problems_; }
    // The side's file once saved.
    QString savedPath() const { return savePath_; }

    // Asks before unsaved edits are thrown away.
    void reject() override;

private:
    // Fills every control from the model.
    void showModel();
    void showProblems();
    void pickFromPlayers();
    void saveSide();

    TeamEditorModel model_;
    QString savePath_;
    std::string opened_;  // the side's file as the dialog opened, to tell whether it was edited
    QLineEdit* name_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* problems_ = nullptr;
    QPushButton* save_ = nullptr;
};
