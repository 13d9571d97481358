// The window tests run without a screen and never wait for a person.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "ui/tests/ui_test_support.h"

std::string scratchPath(const std::string& name)
{
    static QTemporaryDir dir;
    return QFile::encodeName(dir.filePath(QString::fromStdString(name))).toStdString();
}

std::string readFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<cannot read " + path + ">";
    return file.readAll().toStdString();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
