#include "ui/chart_module.h"

#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "ui/chart_painter.h"

extern "C" __attribute__((visibility("default"))) int pelmora_write_chart_streams(
    const std::vector<InningsChart>* innings, std::FILE* worm, std::FILE* manhattan, char* error, std::size_t errorSize)
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
    std::string reason;
    if (writeChartImages(*innings, worm, manhattan, &reason)) return 0;
    if (errorSize) std::snprintf(error, errorSize, "%s", reason.c_str());
    return 1;
}
