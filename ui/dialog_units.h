#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

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

// The dialogs' look: white background, black text, the dialog font.
void applyDialogLook(QWidget& widget);
