#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "resources/strings.h"
#include "ui/about_dialog.h"
#include "ui/options_dialog.h"
#include "ui/qt_platform.h"
#include "ui/tests/scripted_frame.h"

namespace {

using Window = WindowUnderTest<ScriptedFrame>;

bool enabled(const MainFrame& frame, int commandId)
{
    const QAction* a = frame.action(commandId);
    return a && a->isEnabled();
}

std::string title(const QWidget& w) { return w.windowTitle().toStdString(); }

void activate(QWidget& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    w.activateWindow();
    QCoreApplication::processEvents();
}

}  // namespace

TEST(MainFrameMenus, OpenWithoutTeamsOffersChooseTeamsOnly)
{
    Window w("");
    w.frame->start();
    EXPECT_TRUE(enabled(*w.frame, cmd::ChooseTeams));
    EXPECT_FALSE(enabled(*w.frame, cmd::PlayGame)) << "Play Game needs teams";
    EXPECT_TRUE(enabled(*w.frame, cmd::Options));
    EXPECT_TRUE(enabled(*w.frame, cmd::HelpAbout));
    EXPECT_TRUE(enabled(*w.frame, cmd::AboutBox));
    EXPECT_FALSE(w.frame->pauseButton()->isVisible()) << "Pause/Go stays hidden until play";
    EXPECT_EQ(w.frame->geometry().size(), QSize(600, 440));
    EXPECT_EQ(w.frame->pos(), QPoint(0, 0));
    EXPECT_EQ(w.frame->timerInterval(MainWindow::kMainTimer), 1100);
    EXPECT_EQ(w.frame->timerInterval(MainWindow::kTitleTimer), 100);
}

TEST(MainFrameMenus, PresetTeamsOfferPlayGameInsteadOfChooseTeams)
{
    Window w(presetTeams());
    w.frame->start();
    EXPECT_FALSE(enabled(*w.frame, cmd::ChooseTeams));
    EXPECT_TRUE(enabled(*w.frame, cmd::PlayGame));
}

TEST(MainFrameMenus, ChooseTeamsTossesThenPlayGameGreysBothAndShowsPauseGo)
{
    Window w("/s=" + scratchPath("menus.txt"));
    w.frame->files = {samplePath("northshire.xi"), samplePath("southmoor.xi")};
    w.frame->start();

    w.frame->action(cmd::ChooseTeams)->trigger();
    ASSERT_EQ(w.frame->boxes.size(), 1u) << "the toss message";
    EXPECT_EQ(w.frame->boxes[0].caption, "TOSS");
    EXPECT_EQ(w.frame->boxes[0].icon, MessageIcon::Information);
    EXPECT_NE(w.frame->boxes[0].text.find(" won the toss."), std::string::npos) << w.frame->boxes[0].text;
    EXPECT_TRUE(enabled(*w.frame, cmd::ChooseTeams)) << "teams may be chosen again before play";
    EXPECT_TRUE(enabled(*w.frame, cmd::PlayGame));
    EXPECT_FALSE(w.frame->pauseButton()->isVisible());

    w.frame->action(cmd::PlayGame)->trigger();
    EXPECT_FALSE(enabled(*w.frame, cmd::ChooseTeams));
    EXPECT_FALSE(enabled(*w.frame, cmd::PlayGame));
    EXPECT_TRUE(enabled(*w.frame, cmd::Options));
    EXPECT_TRUE(w.frame->pauseButton()->isVisible());
    EXPECT_EQ(w.frame->control().match().playing, 1);
}

TEST(MainFrameMenus, ReportChooserIsAskedWithoutAReportName)
{
    Window w(presetTeams());
    w.frame->files = {scratchPath("chosen-report.txt")};
    w.frame->start();
    w.frame->action(cmd::PlayGame)->trigger();
    ASSERT_EQ(w.frame->asked.size(), 1u);
    EXPECT_EQ(w.frame->asked[0], FileKind::Report);
    EXPECT_NE(w.frame->control().match().outputFile, nullptr) << "the chosen report file is open";
}

TEST(MainFrameStatus, FailedChooseTeamsShowsTheReasonInTheStatusLine)
{
    Window w("");
    const std::string broken = samplePath("malformed/short.xi");
    w.frame->files = {broken};
    w.frame->start();
    w.frame->action(cmd::ChooseTeams)->trigger();

    const std::string status = w.frame->statusText().toStdString();
    EXPECT_EQ(status.rfind(broken + ": ", 0), 0u) << "status: " << status;
    EXPECT_GT(status.size(), broken.size() + 2) << "a reason follows the file name";
    EXPECT_TRUE(w.frame->boxes.empty()) << "an interactive choice fails without a message box";
    EXPECT_FALSE(enabled(*w.frame, cmd::PlayGame));

    w.frame->files = {samplePath("northshire.xi"), samplePath("southmoor.xi")};
    w.frame->action(cmd::ChooseTeams)->trigger();
    EXPECT_TRUE(w.frame->statusText().isEmpty()) << "a successful choice clears the status";
}

TEST(MainFrameCaption, TitleTimerMovesTheBallUpToTheStumpsThenBreaksThem)
{
    Window w("");
    w.frame->start();
    EXPECT_EQ(title(*w.frame), "Pelmora");
    w.frame->control().onTimer(MainWindow::kTitleTimer);
    EXPECT_EQ(title(*w.frame), " |||" + std::string(31, ' ') + ".");
    for (int i = 2; i <= 32; ++i) w.frame->control().onTimer(MainWindow::kTitleTimer);
    EXPECT_EQ(title(*w.frame), " |||.");
    w.frame->control().onTimer(MainWindow::kTitleTimer);
    const std::string broken = title(*w.frame);
    EXPECT_TRUE(broken == "||./" || broken == "\\.||") << "frame 33: " << broken;
    for (int i = 34; i <= 48; ++i) w.frame->control().onTimer(MainWindow::kTitleTimer);
    EXPECT_EQ(title(*w.frame), broken) << "the broken wicket stays up";
}

TEST(MainFrameCaption, NoTitleAnimationKeepsTheCaption)
{
    Window w("/nta");
    w.frame->start();
    EXPECT_EQ(w.frame->timerInterval(MainWindow::kTitleTimer), -1) << "no title timer";
    w.frame->control().onTimer(MainWindow::kTitleTimer);
    EXPECT_EQ(title(*w.frame), "Pelmora");
}

TEST(MainFramePause, PauseGoButtonAndEnterToggleHold)
{
    Window w(presetTeams() + " /s=" + scratchPath("pause.txt"));
    w.frame->start();
    w.frame->action(cmd::PlayGame)->trigger();
    const Match& match = w.frame->control().match();
    ASSERT_EQ(match.hold, 0);

    w.frame->pauseButton()->click();
    EXPECT_EQ(match.hold, 1) << "Pause/Go pauses";
    activate(*w.frame);
    QTest::keyClick(w.frame.get(), Qt::Key_Return);
    EXPECT_EQ(match.hold, 0) << "Enter presses Pause/Go";
    EXPECT_EQ(w.frame->pauseButton()->text(), "Pause/Go") << "the label never changes";
}

TEST(MainFrameOptions, OptionsWhilePausedResumesPlayAndRestartsTheTimer)
{
    Window w(presetTeams() + " /s=" + scratchPath("options.txt"));
    w.frame->start();
    w.frame->action(cmd::PlayGame)->trigger();
    w.frame->pauseButton()->click();
    ASSERT_EQ(w.frame->control().match().hold, 1);

    bool gameTypeLocked = false;
    ModalAnswerer answerer([&](QWidget* dialog) {
        auto* options = qobject_cast<OptionsDialog*>(dialog);
        if (!options) return;
        gameTypeLocked = !options->oneDayButton()->isEnabled() && !options->testButton()->isEnabled() &&
                         !options->oneDayButton()->isChecked() && !options->testButton()->isChecked();
        options->speedSlider()->setValue(0);
        options->accept();
    });
    w.frame->action(cmd::Options)->trigger();

    EXPECT_EQ(answerer.answered(), 1);
    EXPECT_TRUE(gameTypeLocked) << "after play started the match type cannot change";
    EXPECT_EQ(w.frame->control().match().hold, 0) << "a paused game resumes when Options closes";
    EXPECT_EQ(w.frame->control().match().options().gameSpeed, 0);
    EXPECT_EQ(w.frame->timerInterval(MainWindow::kMainTimer), 10) << "speed 0 runs at the shortest period";
}

TEST(MainFrameOptions, OptionsBeforePlayMayChangeTheMatchType)
{
    Window w("");
    w.frame->start();
    ModalAnswerer answerer([](QWidget* dialog) {
        if (auto* options = qobject_cast<OptionsDialog*>(dialog)) {
            options->testButton()->setChecked(true);
            options->accept();
        }
    });
    w.frame->action(cmd::Options)->trigger();
    EXPECT_EQ(w.frame->control().match().options().oneDay, 0);
}

TEST(MainFrameBoxes, MessageBoxesShowTextCaptionAndIcon)
{
    WindowUnderTest<MainFrame> w("");
    std::vector<std::tuple<QString, QString, QMessageBox::Icon>> seen;
    ModalAnswerer answerer([&](QWidget* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            seen.emplace_back(box->windowTitle(), box->text(), box->icon());
            box->button(QMessageBox::Ok)->click();
        }
    });
    w.frame->messageBox("End of Inning", "", MessageIcon::None);
    w.frame->messageBox("Northshire won the toss.", "TOSS", MessageIcon::Information);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(std::get<0>(seen[0]), "Pelmora") << "the application's name is the default caption";
    EXPECT_EQ(std::get<1>(seen[0]), "End of Inning");
    EXPECT_EQ(std::get<2>(seen[0]), QMessageBox::NoIcon);
    EXPECT_EQ(std::get<0>(seen[1]), "TOSS");
    EXPECT_EQ(std::get<2>(seen[1]), QMessageBox::Information);
}

TEST(MainFrameBoxes, HelpAboutShowsTheUsageBoxWithAQuestionIcon)
{
    Application application;
    QtPlatform platform;
    MainFrame frame(application, platform);
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    ModalAnswerer answerer([&](QWidget* dialog) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            text = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        }
    });
    frame.action(cmd::HelpAbout)->trigger();
    EXPECT_EQ(caption, "Pelmora");
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(text.toStdString(), std::string(loadString(str::Usage)));
}

TEST(MainFrameBoxes, AboutDialogShowsCaptionVersionAndUsage)
{
    Window w("");
    QString caption, usage;
    bool readOnly = false;
    QStringList labels;
    ModalAnswerer answerer([&](QWidget* dialog) {
        auto* about = qobject_cast<AboutDialog*>(dialog);
        if (!about) return;
        caption = about->windowTitle();
        usage = about->usageText()->toPlainText();
        readOnly = about->usageText()->isReadOnly();
        for (const QLabel* l : about->findChildren<QLabel*>()) labels << l->text();
        about->accept();
    });
    w.frame->action(cmd::AboutBox)->trigger();
    EXPECT_EQ(caption, "Pelmora : Brannock's Cricket Simlulator");
    EXPECT_TRUE(labels.contains("Pelmora Version 1.0")) << labels.join('|').toStdString();
    EXPECT_EQ(usage.toStdString(), std::string(loadString(str::Usage)));
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(w.frame->action(cmd::AboutBox)->text(), "&About Pelmora...");
}

TEST(MainFrameFiles, TeamChooserWantsAnExistingXiFileAndReportChooserATxtFile)
{
    WindowUnderTest<MainFrame> w("");
    const std::string team = samplePath("northshire.xi");
    QStringList filters;
    std::vector<QFileDialog::FileMode> modes;
    ModalAnswerer answerer([&](QWidget* dialog) {
        auto* chooser = qobject_cast<QFileDialog*>(dialog);
        if (!chooser) return;
        filters << chooser->nameFilters();
        modes.push_back(chooser->fileMode());
        if (chooser->fileMode() == QFileDialog::ExistingFile) {
            chooser->selectFile(QString::fromStdString(team));
            static_cast<QDialog*>(chooser)->accept();
        } else {
            chooser->reject();
        }
    });
    const std::optional<std::string> chosen = w.frame->chooseFile(FileKind::Team);
    const std::optional<std::string> report = w.frame->chooseFile(FileKind::Report);
    EXPECT_EQ(chosen.value_or("<cancelled>"), team);
    EXPECT_FALSE(report.has_value()) << "a cancelled chooser gives no name";
    EXPECT_EQ(filters, QStringList({"*.xi", "*.txt"}));
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[1], QFileDialog::AnyFile) << "the report file may be new";
}

TEST(MainFrameClose, EscapeClosesTheWindowAndLeavesTheReportEmpty)
{
    const std::string report = scratchPath("closed.txt");
    Window w(presetTeams() + " /s=" + report);
    ModalAnswerer answerer;  // the first ball asks for batsmen and a bowler
    bool deadline = false;
    QTimer::singleShot(0, w.frame.get(), [&] {
        w.frame->action(cmd::PlayGame)->trigger();
        w.frame->control().onTimer(MainWindow::kMainTimer);
        activate(*w.frame);
        QTest::keyClick(w.frame.get(), Qt::Key_Escape);
    });
    QTimer::singleShot(60000, w.frame.get(), [&] {
        deadline = true;
        w.frame->quit(99);
    });
    const int status = w.frame->run();
    ASSERT_FALSE(deadline) << "Escape did not close the window";
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(w.frame->isVisible());
    EXPECT_EQ(w.frame->timerInterval(MainWindow::kMainTimer), -1) << "timers stop with the window";
    EXPECT_EQ(readFile(report), "") << "a match closed before its end leaves the report empty";
}
