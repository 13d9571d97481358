#include "cli/chart_images.h"

#ifdef PELMORA_HAVE_CHARTS
#include <unistd.h>

#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    // Drawn into a scratch folder beside the targets and moved into place
    // only when both are complete.
    std::string scratch = folder + "/.pelmora-charts-XXXXXX";
    if (!::mkdtemp(scratch.data())) {
        error = "cannot write charts into " + folder + ": " + std::strerror(errno);
        return false;
    }
    static const char* const kFiles[] = {"worm.png", "manhattan.png"};
    bool ok = writeChartImages(match, scratch, &error);
    for (const char* file : kFiles) {
        const std::string from = scratch + "/" + file, to = folder + "/" + file;
        if (ok && std::rename(from.c_str(), to.c_str()) != 0) {
            error = "cannot write " + to + ": " + std::strerror(errno);
            ok = false;
        }
        std::remove(from.c_str());
    }
    ::rmdir(scratch.c_str());
    return ok;
}
#else
bool writeCharts(const Match&, const std::string&, std::string& error)
{
    error = "this pelmora-cli was built without Qt, so it cannot draw charts";
    return false;
}
#endif
