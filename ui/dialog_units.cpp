#include "ui/dialog_units.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QWidget>
#include <algorithm>

QFont dialogFont()
{
    QFont font(QStringLiteral("Arial"));
    // 11 pixels, or the desktop's font where that is larger: a reader who
    // asked for larger text gets it in the dialogs too.
    font.setPixelSize(std::max(11, QFontInfo(QGuiApplication::font()).pixelSize()));
    font.setWeight(QFont::Normal);
    return font;
}

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    baseX_ = metrics.averageCharWidth();
    baseY_ = metrics.height();
}

bool isDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

void applyDialogLook(QWidget& widget)
{
    widget.setFont(dialogFont());
    QPalette palette = widget.palette();
    if (isDarkPalette(palette)) return;
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}
