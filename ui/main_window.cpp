#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <ctime>

#include "analysis/cricsheet.h"
#include "app/choose_player_model.h"
#include "app/options_model.h"
#include "app/output_files.h"
#include "app/seed.h"
#include "resources/strings.h"
#include "ui/charts_window.h"
#include "ui/choose_player_dialog.h"
#include "ui/options_dialog.h"
#include "ui/qt_platform.h"
#include "ui/scoreboard_view.h"
#include "ui/tournament_window.h"
#include "ui/ui_text.h"

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The sample sides as installed (<prefix>/share/pelmora/samples beside
// <prefix>/bin), else in the desktop's data folders; else the current folder.
QString samplesFolder()
{
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/pelmora/samples");
    if (QFileInfo(installed).isDir()) return QDir(installed).canonicalPath();
    const QString found = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("pelmora/samples"),
                                                 QStandardPaths::LocateDirectory);
    return found.isEmpty() ? QDir::currentPath() : found;
}

}  // namespace

MainWindow::MainWindow(Application& application, AppPlatform& appPlatform, QWidget* parent)
    : QMainWindow(parent),
      application_(application),
      appPlatform_(appPlatform),
      control_(*this, application.settings, application.options)
{
    setWindowTitle(uiText(str::AppName));
    setWindowIcon(applicationIcon());

    view_ = new ScoreboardView(control_.match(), this);
    setCentralWidget(view_);
    // The title is the caption's animation; screen readers get the name and the score.
    setAccessibleName(uiText(str::AppName));
    connect(view_, &ScoreboardView::scoreChanged, this, [this](const QString& score) {
        setAccessibleName(score.isEmpty() ? uiText(str::AppName) : uiText(str::AppName) + QStringLiteral(": ") + score);
    });
    connect(view_->pauseButton(), &QPushButton::clicked, this, [this] { control_.togglePause(); });

    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);

    buildMenus();

    // The Pause/Go button is the window's default button: Enter presses it.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, [this] { control_.togglePause(); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

MainWindow::~MainWindow()
{
    control_.close();
}

void MainWindow::showCharts()
{
    if (!charts_) {
        charts_ = new ChartsWindow(control_.match(), this);
        connect(this, &MainWindow::deliveryShown, charts_, &ChartsWindow::refresh);
    }
    charts_->show();
    charts_->raise();
    charts_->refresh();
}

void MainWindow::exportCricsheet()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(uiText(str::CricsheetFilePattern));
    dialog.setDefaultSuffix(QStringLiteral("json"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string path = QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    // Never over one of the match's sides or its report, and an earlier file
    // is replaced only by a complete one.
    std::string error = control_.outputClash(path);
    if (error.empty() && replaceFileContents(path, cricsheetJson(control_.match(), todayUtc()), error)) return;
    messageBox(std::string(loadString(str::FailureWritingCricsheet)) + path + ": " + error, {}, MessageIcon::None);
}

QAction* MainWindow::action(int commandId) const
{
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

QPushButton* MainWindow::pauseButton() const
{
    return view_->pauseButton();
}

QString MainWindow::statusText() const
{
    return status_->text();
}

int MainWindow::timerInterval(int id) const
{
    const auto it = timers_.find(id);
    return (it == timers_.end() || !it->second->isActive()) ? -1 : it->second->interval();
}

void MainWindow::start()
{
    control_.start();
    if (quitRequested_) return;
    move(0, 0);
    resize(kFirstWidth, kFirstHeight);
    show();
}

int MainWindow::run()
{
    start();
    if (quitRequested_) return exitStatus_;
    QEventLoop loop;
    loop_ = &loop;
    const int status = loop.exec();
    loop_ = nullptr;
    return status;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Quitting at the end of autoplay asks nothing; the user ending a match in play is asked.
    if (!quitRequested_ && !control_.mayClose()) {
        event->ignore();
        return;
    }
    control_.close();
    // The user closing the window is a normal end, whatever happened before.
    if (!quitRequested_) quit(0);
    event->accept();
}

bool MainWindow::startTicking(int id, int periodMs)
{
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] { control_.tick(id); });
    }
    timer->start(periodMs);
    return true;
}

void MainWindow::stopTicking(int id)
{
    const auto it = timers_.find(id);
    if (it != timers_.end()) it->second->stop();
}

void MainWindow::messageBox(std::string_view text, std::string_view caption, MessageIcon icon)
{
    const QString title = caption.empty() ? uiText(str::AppName) : utf8(caption);
    QMessageBox box(boxIcon(icon), title, utf8(text), QMessageBox::Ok, dialogParent());
    box.exec();
}

bool MainWindow::askYesNo(std::string_view question, std::string_view caption)
{
    QMessageBox box(QMessageBox::Question, utf8(caption), utf8(question), QMessageBox::Yes | QMessageBox::No,
                    dialogParent());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> MainWindow::chooseFile(FileKind kind)
{
    QFileDialog dialog(dialogParent());
    const bool team = kind == FileKind::Team1 || kind == FileKind::Team2;
    if (team) {
        dialog.setWindowTitle(uiText(str::OpenTeamFileTitle) + tr(" for Team %1").arg(kind == FileKind::Team1 ? 1 : 2));
        // The second side is most likely beside the first.
        dialog.setDirectory(teamFolder_.isEmpty() ? samplesFolder() : teamFolder_);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter(uiText(str::TeamFilePattern));
    } else if (kind == FileKind::OpenMatch) {
        dialog.setWindowTitle(uiText(str::OpenMatchTitle));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter(uiText(str::MatchFilePattern));
    } else if (kind == FileKind::SaveMatch) {
        dialog.setWindowTitle(uiText(str::SaveMatchTitle));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(uiText(str::MatchFilePattern));
        dialog.setDefaultSuffix(QStringLiteral("pelmora-match"));
    } else {
        // The report is written there: a save dialog, which asks before
        // replacing a file.
        dialog.setWindowTitle(uiText(str::SaveReportTitle));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(uiText(str::ReportFilePattern));
        dialog.setDefaultSuffix(QStringLiteral("txt"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    if (team) teamFolder_ = QFileInfo(chosen).absolutePath();
    return QFile::encodeName(chosen).toStdString();
}

void MainWindow::setCaption(std::string_view caption)
{
    setWindowTitle(utf8(caption));
}

void MainWindow::setStatus(std::string_view text)
{
    status_->setText(utf8(text));
}

void MainWindow::invalidate()
{
    view_->invalidateAll();
    if (charts_) charts_->refresh();
}

void MainWindow::paintNow(const RepaintHint* hint)
{
    view_->paintNow(hint);
    if (hint) emit deliveryShown();
}

void MainWindow::enableMenuItem(int commandId, bool enabled)
{
    if (QAction* a = action(commandId)) a->setEnabled(enabled);
}

void MainWindow::showPauseButton(bool visible)
{
    view_->pauseButton()->setVisible(visible);
}

void MainWindow::quit(int exitCode)
{
    quitRequested_ = true;
    exitStatus_ = exitCode;
    if (loop_) loop_->exit(exitCode);
}

void MainWindow::runChoosePlayer(ChoosePlayerModel& model)
{
    ChoosePlayerDialog dialog(model, this);
    const QRect frame = frameGeometry();
    dialog.placeTopRightAt(QPoint(frame.x() + frame.width(), frame.y()));
    dialog.exec();
}

bool MainWindow::runOptionsDialog(OptionsModel& model)
{
    OptionsDialog dialog(model, dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::string> MainWindow::lastMatchFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) return std::nullopt;
    return QFile::encodeName(folder + QStringLiteral("/last.pelmora-match")).toStdString();
}

std::int64_t MainWindow::now()
{
    return clockNanoseconds();
}

bool MainWindow::openTournament(const QString& path)
{
    TournamentPlan plan;
    std::string error;
    if (!loadTournament(QFile::encodeName(path).toStdString(), plan, error)) {
        QMessageBox::warning(dialogParent(), tr("Tournament"), QString::fromStdString(error));
        return false;
    }
    if (!tournament_) tournament_ = new TournamentWindow(control_, this);
    if (!control_.beginTournament(plan)) return false;
    tournament_->show();
    tournament_->raise();
    return true;
}

void MainWindow::tournamentChanged()
{
    if (tournament_) tournament_->refresh();
}

QWidget* MainWindow::dialogParent()
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : this;
}
