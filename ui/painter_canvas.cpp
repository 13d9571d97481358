#include "ui/painter_canvas.h"

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QString>

#include "ui/ui_text.h"

namespace {

QRect toQRect(const CanvasRect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

}  // namespace

const BoardColours& lightBoardColours()
{
    static const BoardColours colours = [] {
        BoardColours c;
        for (std::size_t i = 0; i < c.size(); ++i) {
            const ColourPair& p = kScoreboardColours[i];
            c[i] = {QColor(p.textR, p.textG, p.textB), QColor(p.backR, p.backG, p.backB)};
        }
        return c;
    }();
    return colours;
}

BoardColours boardColours(const QPalette& palette)
{
    const QColor base = palette.color(QPalette::Base);
    if (base.lightness() >= palette.color(QPalette::Text).lightness()) return lightBoardColours();
    // The same hues, lightened to read on the theme's dark base.
    const QColor text = palette.color(QPalette::Text);
    return {{
        {text, base},
        {QColor(255, 110, 110), base},
        {QColor(120, 170, 255), base},
        {QColor(235, 150, 150), base},
        {QColor(165, 180, 245), base},
        {QColor(120, 210, 120), base},
        {palette.color(QPalette::HighlightedText), palette.color(QPalette::Highlight)},
    }};
}

QFont scoreboardFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    return font;
}

PainterCanvas::PainterCanvas(QPainter& painter, const QFont& font, const CanvasRect& paintArea,
                             const BoardColours& colours)
    : painter_(painter), metrics_(font, painter.device()), paintArea_(paintArea), colours_(colours)
{
    painter_.setFont(font);
}

void PainterCanvas::drawText(int x, int y, std::string_view text, int colourEntry, const CanvasRect* rect,
                             unsigned options)
{
    if (colourEntry < 0 || colourEntry >= 7) colourEntry = 0;
    const BoardColour& colours = colours_[static_cast<std::size_t>(colourEntry)];
    const QColor& back = colours.back;

    const QString s = utf8(text);
    QRect cell(x, y, metrics_.horizontalAdvance(s), metrics_.height());

    painter_.save();
    QRegion touched;
    if (rect && (options & Opaque)) {
        painter_.fillRect(toQRect(*rect), back);
        touched += toQRect(*rect);
    }
    if (rect && (options & Clipped)) {
        painter_.setClipRect(toQRect(*rect));
        cell = cell.intersected(toQRect(*rect));
    }
    if (!s.isEmpty() && !cell.isEmpty()) {
        painter_.fillRect(cell, back);
        painter_.setPen(colours.text);
        painter_.drawText(x, y + metrics_.ascent(), s);
        touched += cell;
    }
    painter_.restore();
    changed_ += touched;
}
