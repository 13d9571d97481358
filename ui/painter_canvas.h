#pragma once
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRegion>
#include <array>

#include "presentation/text_canvas.h"

class QPainter;
class QPalette;

// The scoreboard's seven colour pairs as drawn: its own fixed colours on a light
// desktop theme, readable ones built from the palette on a dark theme.
struct BoardColour {
    QColor text;
    QColor back;
};
using BoardColours = std::array<BoardColour, 7>;
BoardColours boardColours(const QPalette& palette);
const BoardColours& lightBoardColours();

// The window font of the scoreboard: Arial, 11 pixels, normal weight.
QFont scoreboardFont();

// The scoreboard's TextCanvas on a QPainter. Every drawing call adds the
// pixels it touched to changedRegion(), so the caller can update exactly the
// rows that were painted.
class PainterCanvas : public TextCanvas {
public:
    // The painter must be active on its device for the canvas's lifetime.
    PainterCanvas(QPainter& painter, const QFont& font, const CanvasRect& paintArea,
                  const BoardColours& colours = lightBoardColours());

    int lineHeight() const override { return metrics_.height(); }
    int charWidth() const override { return metrics_.averageCharWidth(); }
    CanvasRect paintArea() const override { return paintArea_; }
    void drawText(int x, int y, std::string_view text, int colourEntry, const CanvasRect* rect,
                  unsigned options) override;

    const QRegion& changedRegion() const { return changed_; }

private:
    QPainter& painter_;
    QFontMetrics metrics_;
    CanvasRect paintArea_;
    const BoardColours& colours_;
    QRegion changed_;
};
