#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>

#include "app/application.h"
#include "resources/strings.h"
#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/team_editor_dialog.h"
#include "ui/tournament_window.h"
#include "ui/ui_text.h"

// The main window's menus: Game, Team, View and Help, each item handing its
// command to the match controller or opening its window.

QAction* MainWindow::addCommand(QMenu* menu, int textId, int commandId)
{
    QAction* action = menu->addAction(uiText(textId));
    actions_[commandId] = action;
    return action;
}

void MainWindow::buildMenus()
{
    QMenu* game = menuBar()->addMenu(uiText(str::GameMenu));
    connect(addCommand(game, str::ChooseTeamsItem, cmd::ChooseTeams), &QAction::triggered, this,
            [this] { control_.chooseTeams(); });
    connect(addCommand(game, str::OptionsItem, cmd::Options), &QAction::triggered, this,
            [this] { control_.showOptions(); });
    connect(addCommand(game, str::PlayGameItem, cmd::PlayGame), &QAction::triggered, this,
            [this] { control_.playGame(); });

    // A tournament's matches play on the board; its table is shown beside it.
    connect(game->addAction(tr("Tournament...")), &QAction::triggered, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(dialogParent(), tr("Open Tournament"), QString(), tr("Tournaments (*.json)"));
        if (!path.isEmpty()) openTournament(path);
    });

    game->addSeparator();
    connect(addCommand(game, str::SaveMatchItem, cmd::SaveMatch), &QAction::triggered, this,
            [this] { control_.saveMatch(); });
    connect(addCommand(game, str::OpenMatchItem, cmd::OpenMatch), &QAction::triggered, this,
            [this] { control_.openMatchCommand(); });
    QAction* resume = addCommand(game, str::ResumeLastMatchItem, cmd::ResumeLastMatch);
    connect(resume, &QAction::triggered, this, [this] { control_.resumeLastMatch(); });
    connect(game, &QMenu::aboutToShow, this, [this, resume] {
        const std::optional<std::string> last = lastMatchFile();
        resume->setEnabled(last && QFile::exists(QFile::decodeName(last->c_str())));
    });

    game->addSeparator();
    QAction* exportItem = game->addAction(uiText(str::ExportCricsheetItem));
    connect(exportItem, &QAction::triggered, this, [this] { exportCricsheet(); });
    // There is something to export once the match is over.
    connect(game, &QMenu::aboutToShow, this, [this, exportItem] { exportItem->setEnabled(control_.match().gameOver); });

    // Quit, as Escape and the close box, asks first when a match is in play (closeEvent).
    game->addSeparator();
    QAction* quitItem = game->addAction(tr("&Quit"));
    quitItem->setShortcut(QKeySequence::Quit);
    connect(quitItem, &QAction::triggered, this, &QWidget::close);

    QMenu* team = menuBar()->addMenu(uiText(str::TeamMenu));
    connect(team->addAction(uiText(str::NewTeamItem)), &QAction::triggered, this,
            [this] { TeamEditorDialog::newTeam(this); });
    connect(team->addAction(uiText(str::EditTeamItem)), &QAction::triggered, this,
            [this] { TeamEditorDialog::editTeam(this); });

    QMenu* view = menuBar()->addMenu(uiText(str::ViewMenu));
    connect(view->addAction(uiText(str::ChartsItem)), &QAction::triggered, this, [this] { showCharts(); });
    // The side view of a tournament, once closed, comes back from here.
    QAction* table = view->addAction(tr("Tournament"));
    connect(table, &QAction::triggered, this, [this] {
        if (!tournament_) return;
        tournament_->show();
        tournament_->raise();
    });
    connect(view, &QMenu::aboutToShow, this,
            [this, table] { table->setEnabled(tournament_ && control_.tournament()); });

    // The command-line usage, and the about box: name, version, licence.
    QMenu* help = menuBar()->addMenu(uiText(str::HelpMenu));
    QAction* usage = help->addAction(tr("&Usage"));
    actions_[cmd::HelpUsage] = usage;
    connect(usage, &QAction::triggered, this, [this] { application_.showUsage(appPlatform_); });
    connect(addCommand(help, str::HelpAboutItem, cmd::HelpAbout), &QAction::triggered, this, [this] {
        AboutDialog about(this);
        about.exec();
    });
}
