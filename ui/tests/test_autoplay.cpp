#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include "ui/tests/scripted_frame.h"

namespace {

// Fast, replayable and unattended: no caption draws, shortest timer period.
std::string autoplayOptions(const std::string& report)
{
    return "/a /nta /r=7 /d=0 /l " + presetTeams() + " /s=" + report;
}

QStringList arguments(const std::string& commandLine)
{
    return QString::fromStdString(commandLine).split(' ', Qt::SkipEmptyParts);
}

// Runs a program to its end (or kills it after a generous deadline) and
// returns its exit status, -1 when it did not finish.
int runProgram(const char* program, const std::string& commandLine)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments(commandLine));
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

std::string consoleReport(const std::string& name)
{
    const std::string report = scratchPath(name);
    EXPECT_EQ(runProgram(PELMORA_CLI, autoplayOptions(report)), 0) << "pelmora-cli failed";
    return readFile(report);
}

}  // namespace

TEST(WindowAutoplay, WindowPlaysTheConsoleRunnersMatchOnItsTimers)
{
    const std::string report = scratchPath("window-in-process.txt");
    WindowUnderTest<MainFrame> w(autoplayOptions(report));
    bool deadline = false;
    QTimer::singleShot(240000, w.frame.get(), [&] {
        deadline = true;
        w.frame->quit(99);
    });
    const int status = w.frame->run();
    ASSERT_FALSE(deadline) << "the match did not end";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(w.frame->control().match().gameOver, 1);
    const std::string played = readFile(report);
    ASSERT_FALSE(played.empty());
    EXPECT_TRUE(played == consoleReport("console-1.txt")) << "the window's report differs from pelmora-cli's";
}

TEST(WindowAutoplay, PelmoraProgramWritesTheSameReportAsTheConsoleRunner)
{
    const std::string report = scratchPath("window-program.txt");
    ASSERT_EQ(runProgram(PELMORA_WINDOW, autoplayOptions(report)), 0) << "pelmora did not end with status 0";
    const std::string played = readFile(report);
    ASSERT_FALSE(played.empty());
    EXPECT_TRUE(played == consoleReport("console-2.txt")) << "pelmora's report differs from pelmora-cli's";
}
