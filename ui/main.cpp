// pelmora: the desktop window.
#include <QApplication>
#include <QImage>
#include <memory>
#include <string>

#include "app/application.h"
#include "ui/main_frame.h"
#include "ui/qt_platform.h"

namespace {

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
    platform.frameReady = [path, after](MainFrame& frame) {
        auto shown = std::make_shared<int>(0);
        QObject::connect(&frame, &MainFrame::deliveryShown, &frame, [&frame, path, after, shown] {
            if (++*shown != after) return;
            if (!frame.grab().save(path)) qWarning("pelmora: cannot save the screenshot to %s", qPrintable(path));
            frame.close();
        });
    };
}

}  // namespace

int main(int argc, char** argv)
{
    // Taken before Qt removes the options it knows from argv.
    const std::string commandLine = Application::joinArguments(argc, argv);
    QApplication qtApplication(argc, argv);
    QApplication::setWindowIcon(applicationIcon());

    QtPlatform platform;
    arrangeScreenshot(platform);
    Application application;
    const int status = application.initInstance(commandLine, platform);
    application.exitInstance();
    return status;
}
