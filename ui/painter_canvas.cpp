#include "ui/painter_canvas.h"

#include <QColor>
#include <QPainter>
#include <QString>

#include "ui/ui_text.h"

namespace {

QRect toQRect(const CanvasRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

QColor textColour(const ColourPair& c) { return QColor(c.textR, c.textG, c.textB); }
QColor backColour(const ColourPair& c) { return QColor(c.backR, c.backG, c.backB); }

}  // namespace

QFont scoreboardFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    return font;
}

PainterCanvas::PainterCanvas(QPainter& painter, const QFont& font, const CanvasRect& paintArea)
    : painter_(painter), metrics_(font, painter.device()), paintArea_(paintArea)
{
    painter_.setFont(font);
}

void PainterCanvas::drawText(int x, int y, std::string_view text, int colourEntry, const CanvasRect* rect,
                             unsigned options)
{
    if (colourEntry < 0 || colourEntry >= 7) colourEntry = 0;
    const ColourPair& colours = kScoreboardColours[colourEntry];
    const QColor back = backColour(colours);

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
        painter_.setPen(textColour(colours));
        painter_.drawText(x, y + metrics_.ascent(), s);
        touched += cell;
    }
    painter_.restore();
    changed_ += touched;
}
