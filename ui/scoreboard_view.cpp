#include "ui/scoreboard_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

#include "match/match.h"
#include "presentation/scoreboard.h"
#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/painter_canvas.h"
#include "ui/ui_text.h"

ScoreboardView::ScoreboardView(const Match& match, QWidget* parent)
    : QWidget(parent), match_(match), pauseButton_(new QPushButton(uiText(str::PauseGo), this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    pauseButton_->setFont(dialogFont());
    pauseButton_->setFixedSize(DialogUnits(dialogFont()).size(40, 14));
    pauseButton_->setDefault(true);
    pauseButton_->hide();
}

CanvasRect ScoreboardView::paintArea() const
{
    return CanvasRect{0, 0, width(), pauseButton_->geometry().top()};
}

void ScoreboardView::invalidateAll()
{
    stale_ = true;
    update();
}

void ScoreboardView::paintNow(const RepaintHint* hint)
{
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
    QPainter painter(&image_);
    if (erase) painter.fillRect(rect(), Qt::white);
    PainterCanvas canvas(painter, scoreboardFont(), paintArea());
    Scoreboard::paint(canvas, match_, nullptr, hint);
    lastChanged_ = erase ? QRegion(rect()) : canvas.changedRegion();
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

void ScoreboardView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pauseButton_->move(0, height() - pauseButton_->height());
    stale_ = true;
}
