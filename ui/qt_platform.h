#pragma once
#include <QIcon>
#include <functional>

#include "app/application.h"

class MainWindow;

// Start-up on Qt: the usage message box and the main window's run.
class QtPlatform : public AppPlatform {
public:
    void showUsage(const std::string& text, const std::string& caption) override;
    int runMainWindow(Application& application) override;

    // Called with the main window after it is built and before it runs.
    std::function<void(MainWindow&)> frameReady;
};

// The program's icon: a red ball flying at the stumps, 32 and 16 pixels.
QIcon applicationIcon();
