#pragma once
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "app/application.h"

// Answers every modal window that opens while it exists: the handler looks at
// it and must close it. The default handler rejects it, so a window nobody
// expected ends the wait instead of hanging the test.
class ModalAnswerer {
public:
    using Handler = std::function<void(QWidget*)>;

    explicit ModalAnswerer(Handler handler = {}) : handler_(std::move(handler))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }

    int answered() const { return answered_; }

    static void reject(QWidget* w)
    {
        if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
        else w->close();
    }

private:
    void answer()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        ++answered_;
        // A runaway sequence of windows ends too.
        if (handler_ && answered_ < 500) handler_(w);
        if (w->isVisible() && QApplication::activeModalWidget() == w) reject(w);
    }

    Handler handler_;
    QTimer timer_;
    int answered_ = 0;
};

// An AppPlatform for building a MainFrame directly; records the usage box.
class RecordingAppPlatform : public AppPlatform {
public:
    void showUsage(const std::string& text, const std::string& caption) override
    {
        usageText = text;
        usageCaption = caption;
    }
    int runMainWindow(Application&) override { return 0; }

    std::string usageText;
    std::string usageCaption;
};

// A file in the project's sample folder.
inline std::string samplePath(const char* name) { return std::string(PELMORA_SOURCE_DIR) + "/samples/" + name; }

// A fresh name in a scratch folder of the test run.
std::string scratchPath(const std::string& name);
std::string readFile(const std::string& path);
