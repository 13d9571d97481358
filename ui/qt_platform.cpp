#include "ui/qt_platform.h"

#include <QMessageBox>

#include "ui/main_window.h"
#include "ui/ui_text.h"

void QtPlatform::showUsage(const std::string& text, const std::string& caption)
{
    QMessageBox box(QMessageBox::Question, utf8(caption), utf8(text), QMessageBox::Ok);
    box.exec();
}

int QtPlatform::runMainWindow(Application& application)
{
    MainWindow frame(application, *this);
    if (frameReady) frameReady(frame);
    return frame.run();
}

QIcon applicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/pelmora/pelmora_32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/pelmora/pelmora_16.png"), QSize(16, 16));
    return icon;
}
