#include "ui/scoreboard_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <string>

#include "match/match.h"
#include "presentation/scoreboard.h"
#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/painter_canvas.h"
#include "ui/ui_text.h"

namespace {

// Row 0 of the board, empty in play: whose innings it is, and the headings
// of the batting card's figures, over their columns.
void paintHeadings(TextCanvas& canvas, const Match& match)
{
    const Innings* inn = match.inningsAt(match.currentInnings);
    if (!inn || !inn->battingTeam) return;
    const int cw = canvas.charWidth();
    canvas.drawText(cw, 0, std::string(inn->battingTeam->name()) + " batting", 0, nullptr, 0);
    const struct {
        int column;
        const char* text;
    } headings[] = {{51, "Runs"}, {56, "(Balls)"}, {63, "4s"}, {68, "6s"}};
    for (const auto& h : headings)
        canvas.drawText(h.column * cw, 0, h.text, 0, nullptr, 0);
}

}  // namespace

ScoreboardView::ScoreboardView(const Match& match, QWidget* parent)
    : QWidget(parent), match_(match), pauseButton_(new QPushButton(uiText(str::PauseGo), this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    pauseButton_->setFont(dialogFont());
    pauseButton_->setFixedSize(DialogUnits(dialogFont()).size(40, 14));
    pauseButton_->setDefault(true);
    pauseButton_->hide();
    setAccessibleName(tr("Scoreboard"));
}

void ScoreboardView::announce()
{
    const Scoreboard::Spoken words = Scoreboard::spoken(match_);
    QStringList parts;
    for (const std::string* part : {&words.batsmen, &words.bowler, &words.commentary})
        if (!part->empty()) parts << utf8(*part);
    const QString score = utf8(words.score);
    const QString name = score.isEmpty() ? tr("Scoreboard") : score;
    const QString description = parts.join(QStringLiteral("; "));
    // Screen readers hear of a change, not of every repaint.
    if (name == accessibleName() && description == accessibleDescription()) return;
    setAccessibleName(name);
    setAccessibleDescription(description);
    emit scoreChanged(score);
}

CanvasRect ScoreboardView::paintArea() const
{
    return CanvasRect{0, 0, kBoardWidth, kBoardRows * QFontMetrics(scoreboardFont()).height()};
}

QTransform ScoreboardView::boardTransform() const
{
    const CanvasRect board = paintArea();
    const int height = std::max(1, pauseButton_->geometry().top());
    const qreal scale = std::max(0.01, std::min(qreal(width()) / board.width(), qreal(height) / board.height()));
    const qreal left = std::round((width() - board.width() * scale) / 2);
    return QTransform(scale, 0, 0, scale, left, 0);
}

void ScoreboardView::invalidateAll()
{
    stale_ = true;
    update();
    announce();
}

void ScoreboardView::paintNow(const RepaintHint* hint)
{
    announce();
    ensureImage();
    if (stale_) {
        // A full repaint is pending anyway and covers this one.
        update();
        return;
    }
    render(hint, false);
    update(lastChanged_);
}

void ScoreboardView::ensureImage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (image_.size() == pixels && !image_.isNull()) return;
    image_ = QImage(pixels.isEmpty() ? QSize(1, 1) : pixels, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    stale_ = true;
}

void ScoreboardView::render(const RepaintHint* hint, bool erase)
{
    const BoardColours colours = boardColours(palette());
    QPainter painter(&image_);
    if (erase) painter.fillRect(rect(), colours[0].back);
    const QTransform toWidget = boardTransform();
    painter.setTransform(toWidget);
    PainterCanvas canvas(painter, scoreboardFont(), paintArea(), colours);
    Scoreboard::paint(canvas, match_, nullptr, hint);
    if (erase && match_.currentInnings != -1 && match_.playing) paintHeadings(canvas, match_);
    if (erase && match_.currentInnings == -1 && match_.teams[0].name()[0] == '\0' &&
        match_.teams[1].name()[0] == '\0') {
        const CanvasRect a = paintArea();
        painter.setPen(colours[0].text);
        painter.setFont(scoreboardFont());
        painter.drawText(QRect(a.left, a.top, a.width(), a.height()), Qt::AlignCenter | Qt::TextWordWrap,
                         uiText(str::StartHint));
    }
    if (erase) {
        lastChanged_ = QRegion(rect());
        return;
    }
    // Whole device pixels that cover every scaled rectangle.
    lastChanged_ = QRegion();
    for (const QRect& r : canvas.changedRegion())
        lastChanged_ += toWidget.mapRect(QRectF(r)).toAlignedRect();
}

void ScoreboardView::paintEvent(QPaintEvent* event)
{
    ensureImage();
    if (stale_) {
        stale_ = false;
        render(nullptr, true);
    }
    QPainter painter(this);
    const qreal ratio = image_.devicePixelRatio();
    for (const QRect& r : event->region())
        painter.drawImage(r, image_, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
}

void ScoreboardView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) invalidateAll();
}

void ScoreboardView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pauseButton_->move(0, height() - pauseButton_->height());
    stale_ = true;
}
