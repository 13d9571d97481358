#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "ui/tests/ui_test_support.h"

namespace {

// Runs a program to its end (or kills it after a generous deadline) and
// returns its exit status, -1 when it did not finish.
int runProgram(const char* program, const std::string& commandLine)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, QString::fromStdString(commandLine).split(' ', Qt::SkipEmptyParts));
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace

TEST(WindowAutoplay, PelmoraProgramWritesTheSameReportAsTheConsoleRunner)
{
    // Fast, replayable and unattended: no caption draws, shortest timer period.
    const std::string options = "/a /nta /r=7 /d=0 /l " + presetTeams() + " /s=";
    const std::string window = scratchPath("window.txt"), console = scratchPath("console.txt");
    // A Qt option's value is Qt's: a style sheet under /tmp must not make a Test match ("/t").
    const std::string styleSheet = scratchPath("t.qss");
    QFile(QString::fromStdString(styleSheet)).open(QIODevice::WriteOnly);
    ASSERT_EQ(runProgram(PELMORA_WINDOW, "-stylesheet " + styleSheet + " " + options + window), 0)
        << "pelmora did not end with status 0";
    ASSERT_EQ(runProgram(PELMORA_CLI, options + console), 0) << "pelmora-cli did not end with status 0";
    const std::string played = readFile(window);
    ASSERT_FALSE(played.empty());
    EXPECT_TRUE(played == readFile(console)) << "pelmora's report differs from pelmora-cli's";
}
