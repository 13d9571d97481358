#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

#include "ui/options_dialog.h"
#include "ui/tests/ui_test_support.h"
#include "ui/tournament_window.h"

namespace {

bool enabled(const MainWindow& frame, int commandId)
{
    const QAction* a = frame.action(commandId);
    return a && a->isEnabled();
}

std::string title(const QWidget& w)
{
    return w.windowTitle().toStdString();
}

void titleTicks(Window& w, int n)
{
    for (int i = 0; i < n; ++i)
        w.frame->control().tick(MatchController::kTitleTimer);
}

}  // namespace

TEST(MainWindowMenus, FollowTheStateOfPlay)
{
    Window w("/s=" + scratchPath("menus.txt"));
    w.frame->files = {samplePath("northshire.xi"), samplePath("southmoor.xi")};
    w.frame->start();
    EXPECT_TRUE(enabled(*w.frame, cmd::ChooseTeams));
    EXPECT_FALSE(enabled(*w.frame, cmd::PlayGame)) << "Play Game needs teams";
    EXPECT_FALSE(w.frame->pauseButton()->isVisible()) << "Pause/Go stays hidden until play";
    w.frame->action(cmd::ChooseTeams)->trigger();
    EXPECT_EQ(w.frame->boxes.size(), 1u) << "the toss message";
    EXPECT_TRUE(enabled(*w.frame, cmd::ChooseTeams)) << "teams may be chosen again before play";
    EXPECT_TRUE(enabled(*w.frame, cmd::PlayGame));
    w.frame->action(cmd::PlayGame)->trigger();
    EXPECT_FALSE(enabled(*w.frame, cmd::ChooseTeams));
    EXPECT_FALSE(enabled(*w.frame, cmd::PlayGame));
    EXPECT_TRUE(enabled(*w.frame, cmd::Options));
    EXPECT_TRUE(w.frame->pauseButton()->isVisible());

    // The README's picture shows these menus: redraw it (scripts/screenshot.sh) when they change.
    QStringList menus;
    for (QAction* menu : w.frame->menuBar()->actions())
        menus << menu->text().remove(QLatin1Char('&'));
    QFile pictured(QStringLiteral(PELMORA_SOURCE_DIR "/docs/screenshot-menus.txt"));
    ASSERT_TRUE(pictured.open(QIODevice::ReadOnly));
    EXPECT_EQ((menus.join(QLatin1Char(' ')) + QLatin1Char('\n')).toStdString(), pictured.readAll().toStdString());
}

TEST(MainWindowCaption, TitleTimerMovesTheBallUpToTheStumpsThenBreaksThemForSixteenTicks)
{
    Window w("");
    w.frame->start();
    EXPECT_EQ(title(*w.frame), "Pelmora");
    titleTicks(w, 1);
    EXPECT_EQ(title(*w.frame), " |||" + std::string(31, ' ') + ".");
    titleTicks(w, 31);
    EXPECT_EQ(title(*w.frame), " |||.");
    titleTicks(w, 1);
    const std::string broken = title(*w.frame);
    EXPECT_TRUE(broken == "||./" || broken == "\\.||") << "frame 33: " << broken;
    titleTicks(w, 16);
    EXPECT_EQ(title(*w.frame), broken) << "the broken wicket stays up";
    titleTicks(w, 1);
    EXPECT_EQ(title(*w.frame), " |||" + std::string(31, ' ') + ".") << "and the ball starts again";

    Window still("/nta");
    still.frame->start();
    EXPECT_EQ(still.frame->timerInterval(MatchController::kTitleTimer), -1) << "no title timer";
    titleTicks(still, 1);
    EXPECT_EQ(title(*still.frame), "Pelmora");
}

TEST(MainWindowPause, PauseGoButtonAndEnterToggleTheHold)
{
    Window w(presetTeams() + " /s=" + scratchPath("pause.txt"));
    w.frame->start();
    w.frame->action(cmd::PlayGame)->trigger();
    const MatchController& control = w.frame->control();
    ASSERT_FALSE(control.held());
    w.frame->pauseButton()->click();
    EXPECT_TRUE(control.held()) << "Pause/Go pauses";
    w.frame->show();
    QApplication::setActiveWindow(w.frame.get());
    QCoreApplication::processEvents();
    QTest::keyClick(w.frame.get(), Qt::Key_Return);
    EXPECT_FALSE(control.held()) << "Enter presses Pause/Go";
}

TEST(MainWindowOptions, OptionsWhilePausedResumesPlayAndRestartsTheTimer)
{
    Window w(presetTeams() + " /s=" + scratchPath("options.txt"));
    w.frame->start();
    w.frame->action(cmd::PlayGame)->trigger();
    w.frame->pauseButton()->click();
    ASSERT_TRUE(w.frame->control().held());
    bool gameTypeLocked = false;
    ModalAnswerer answerer([&](QWidget* dialog) {
        auto* options = qobject_cast<OptionsDialog*>(dialog);
        if (!options) return;
        gameTypeLocked = !options->oneDayButton()->isEnabled() && !options->testButton()->isEnabled();
        options->speedSlider()->setValue(0);
        options->accept();
    });
    w.frame->action(cmd::Options)->trigger();
    EXPECT_EQ(answerer.answered, 1);
    EXPECT_TRUE(gameTypeLocked) << "after play started the match type cannot change";
    EXPECT_FALSE(w.frame->control().held()) << "a paused game resumes when Options closes";
    EXPECT_EQ(w.frame->timerInterval(MatchController::kMainTimer), 10) << "speed 0 runs at the shortest period";
}

TEST(MainWindowTournament, SideViewFollowsTheMatchesOnTheBoardAndABadFileIsNamed)
{
    Window w("/r=77");
    w.frame->start();
    {
        std::string warning;
        ModalAnswerer answer(
            [&](QWidget* box) { warning = box->findChild<QLabel*>("qt_msgbox_label")->text().toStdString(); });
        EXPECT_FALSE(w.frame->openTournament(QString::fromStdString(scratchPath("none.json"))));
        EXPECT_NE(warning.find("none.json"), std::string::npos) << warning;
    }
    ASSERT_TRUE(w.frame->openTournament(QString::fromStdString(samplePath("t20_cup.json"))));
    TournamentWindow* view = w.frame->tournamentView();
    ASSERT_TRUE(view && view->isVisible());
    EXPECT_NE(view->text().toStdString().find("Now: Round robin, Kestrels v Harriers  (/r=77)"), std::string::npos);
    EXPECT_TRUE(w.frame->pauseButton()->isVisible());
    view->findChild<QCheckBox*>()->click();
    EXPECT_EQ(w.frame->timerInterval(MatchController::kMainTimer), MatchController::kShortestPeriodMs);
    const TournamentProgress& progress = *w.frame->control().tournament();
    for (int i = 0; i < 100 && !progress.finished(); ++i)
        w.frame->control().tick(MatchController::kMainTimer);
    ASSERT_TRUE(progress.finished());
    EXPECT_EQ(view->text().toStdString(), formatTournamentProgress(progress));
    EXPECT_NE(view->text().toStdString().find("\nWinner: "), std::string::npos);
    // On the screen, and read without scrolling across.
    EXPECT_TRUE(view->screen()->availableGeometry().contains(view->frameGeometry()));
    EXPECT_EQ(view->findChild<QPlainTextEdit*>()->horizontalScrollBar()->maximum(), 0);
}
