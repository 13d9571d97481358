// pelmora: the desktop window.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenuBar>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "app/fatal_errors.h"
#include "app/options_model.h"
#include "app/output_files.h"
#include "app/team_editor_model.h"
#include "ui/charts_window.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/qt_platform.h"
#include "ui/team_editor_dialog.h"

namespace {

constexpr const char* kWindowOptions =
    "\nThe window also takes Qt's own options (-style, -platform, ...); pelmora-cli plays\n"
    "a match in the console.\n";

// Beside the window's picture: its menus as text (the README's picture is
// checked against the window with it), and with PELMORA_SCREENSHOT_DIALOGS
// the Game Options dialog, the team editor on the first side and the charts
// of the match so far.
void savePictureCompanions(MainWindow& frame, const QString& folder)
{
    QStringList menus;
    for (QAction* menu : frame.menuBar()->actions())
        menus << menu->text().remove(QLatin1Char('&'));
    QFile list(folder + QStringLiteral("/screenshot-menus.txt"));
    if (!list.open(QIODevice::WriteOnly) || list.write((menus.join(QLatin1Char(' ')) + QLatin1Char('\n')).toUtf8()) < 0)
        qWarning("pelmora: cannot write %s", qPrintable(list.fileName()));
    if (qEnvironmentVariableIsEmpty("PELMORA_SCREENSHOT_DIALOGS")) return;
    auto save = [&folder](QWidget& widget, const char* name, QSize size = {}) {
        if (size.isValid())
            widget.resize(size);
        else
            widget.adjustSize();
        widget.show();
        if (!widget.grab().save(folder + QLatin1Char('/') + QLatin1String(name)))
            qWarning("pelmora: cannot save %s", name);
        widget.close();
    };
    OptionsModel options;
    options.gameTypeEnabled = 1;
    options.load(frame.control().match().options());
    OptionsDialog optionsDialog(options, &frame);
    save(optionsDialog, "options.png");
    TeamEditorModel side;
    side.setTeam(frame.control().match().teams[0]);
    TeamEditorDialog editor(side, QString(), &frame);
    save(editor, "team-editor.png");
    ChartsWindow charts(frame.control().match(), &frame);
    save(charts, "charts.png", QSize(640, 420));
}

// PELMORA_SCREENSHOT=file.png [PELMORA_SCREENSHOT_AFTER=balls]: saves a
// picture of the window once that many balls (default 60) have been shown,
// then closes it. For the documentation; best with /a and the sample sides.
void arrangeScreenshot(QtPlatform& platform)
{
    const QString path = qEnvironmentVariable("PELMORA_SCREENSHOT");
    if (path.isEmpty()) return;
    bool ok = false;
    int after = qEnvironmentVariableIntValue("PELMORA_SCREENSHOT_AFTER", &ok);
    if (!ok || after < 1) after = 60;
    platform.frameReady = [path, after](MainWindow& frame) {
        auto shown = std::make_shared<int>(0);
        QObject::connect(&frame, &MainWindow::deliveryShown, &frame, [&frame, path, after, shown] {
            if (++*shown != after) return;
            if (!frame.grab().save(path)) qWarning("pelmora: cannot save the screenshot to %s", qPrintable(path));
            savePictureCompanions(frame, QFileInfo(path).absolutePath());
            QCoreApplication::exit(0);  // the match is in play: closing would ask
        });
    };
}

// The arguments Qt left after taking its own (-style, -stylesheet, ...), so
// that a Qt option's value is never read as one of the program's options.
std::string programCommandLine()
{
    const QStringList arguments = QCoreApplication::arguments();
    std::vector<std::string> bytes;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        bytes.push_back(QFile::encodeName(arguments[i]).toStdString());
    std::vector<char*> argv{nullptr};
    for (std::string& b : bytes)
        argv.push_back(b.data());
    return Application::joinArguments(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

int main(int argc, char** argv)
{
    // Answered before Qt starts, so they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("pelmora %s\n", PELMORA_VERSION);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("%s\n%s", usageText("pelmora").c_str(), kWindowOptions);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }

    // A window killed or interrupted leaves no unfinished report behind.
    removeTemporaryFilesOnInterrupt();
    reportFatalErrorsAs("pelmora");
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pelmora"));
    QApplication::setApplicationVersion(QStringLiteral(PELMORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(PELMORA_APP_ID));
    QApplication::setWindowIcon(applicationIcon());
    const std::string commandLine = programCommandLine();

    QtPlatform platform;
    arrangeScreenshot(platform);
    Application application;
    const int status = application.run(commandLine, platform);
    application.releaseFiles();
    return status;
}
