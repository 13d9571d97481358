#include "cli/chart_images.h"

#ifdef PELMORA_HAVE_CHARTS
#include <QGuiApplication>
#include <cstdio>

#include "ui/chart_painter.h"

bool writeCharts(const Match& match, const std::string& folder, std::string& error)
{
    // Fonts need a GUI application; the offscreen platform needs no display.
    if (!QGuiApplication::instance()) {
        // Qt's notes about its runtime folder are no business of a console user.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
        });
        static int argc = 3;
        static char arg0[] = "pelmora-cli", arg1[] = "-platform", arg2[] = "offscreen";
        static char* argv[] = {arg0, arg1, arg2, nullptr};
        static QGuiApplication* app = new QGuiApplication(argc, argv);
        (void)app;
    }
    return writeChartImages(match, folder, &error);
}
#else
bool writeCharts(const Match&, const std::string&, std::string& error)
{
    error = "this pelmora-cli was built without Qt, so it cannot draw charts";
    return false;
}
#endif
