#include "ui/dialog_units.h"

#include <QFontMetrics>
#include <QPalette>
#include <QWidget>

QFont dialogFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
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
