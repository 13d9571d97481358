#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

class QPalette;
class QWidget;

// A title and a close button only, never minimise or maximise.
inline constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// The font of the dialogs and the Pause/Go button.
QFont dialogFont();

// Dialog units of a font: a quarter of its average character width across,
// an eighth of its height down. Layouts given in these units keep their
// proportions whatever the font's size turns out to be.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const { return units * baseX_ / 4; }
    int y(int units) const { return units * baseY_ / 8; }
    QSize size(int width, int height) const { return {x(width), y(height)}; }
    QRect rect(int left, int top, int width, int height) const { return {x(left), y(top), x(width), y(height)}; }

private:
    int baseX_;
    int baseY_;
};

// A desktop theme with light text on a dark background.
bool isDarkPalette(const QPalette& palette);

// The dialogs' look: the dialog font; white background and black text
// unless the desktop theme is dark.
void applyDialogLook(QWidget& widget);
