#pragma once
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/command_line.h"
#include "ui/main_window.h"

// Answers every modal window that opens while it lives with the handler,
// which should close it; a window left open is closed, so no test ever waits
// for a person.
struct ModalAnswerer : QTimer {
    explicit ModalAnswerer(std::function<void(QWidget*)> handler = [](QWidget*) {})
    {
        connect(this, &QTimer::timeout, [this, handler] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible()) return;
            ++answered;
            handler(w);
            if (QApplication::activeModalWidget() == w) w->close();
        });
        start(5);
    }
    int answered = 0;
};

// A main window whose file chooser answers from a list and whose message
// boxes are only recorded, so a test can drive whole command sequences.
class ScriptedFrame : public MainWindow {
public:
    using MainWindow::MainWindow;

    std::optional<std::string> chooseFile(FileKind) override
    {
        if (files.empty()) return std::nullopt;
        std::string name = files.front();
        files.erase(files.begin());
        return name;
    }
    void messageBox(std::string_view text, std::string_view, MessageIcon) override { boxes.emplace_back(text); }

    std::vector<std::string> files;  // the chooser's answers in turn; none left means cancel
    std::vector<std::string> boxes;
};

// An application with a command line, and its main window.
struct Window : AppPlatform {
    explicit Window(const std::string& commandLine)
    {
        parseCommandLine(commandLine, application.settings, application.options);
        frame = std::make_unique<ScriptedFrame>(application, *this);
    }
    void showUsage(const std::string&, const std::string&) override {}
    int runMainWindow(Application&) override { return 0; }

    Application application;
    std::unique_ptr<ScriptedFrame> frame;
};

inline std::string samplePath(const char* name)
{
    return std::string(PELMORA_SOURCE_DIR) + "/samples/" + name;
}

inline std::string presetTeams()
{
    return "/t1=" + samplePath("northshire.xi") + " /t2=" + samplePath("southmoor.xi");
}

// A fresh name in a scratch folder of the test run.
inline std::string scratchPath(const std::string& name)
{
    static QTemporaryDir dir;
    return QFile::encodeName(dir.filePath(QString::fromStdString(name))).toStdString();
}

inline std::string readFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<cannot read " + path + ">";
    return file.readAll().toStdString();
}
