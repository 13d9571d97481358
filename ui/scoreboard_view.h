#pragma once
#include <QImage>
#include <QRegion>
#include <QTransform>
#include <QWidget>

#include "presentation/text_canvas.h"

class Match;
class QPushButton;
struct RepaintHint;

// The client area of the main window: the scoreboard, painted into a backing
// image the size of the area (in device pixels), and the Pause/Go button in
// its bottom-left corner. The board is laid out at a fixed size and drawn
// scaled to fill the area above the button, centred across; text is drawn at
// the scaled size, so it stays crisp. A ball repaints only its rows of the
// image and updates only those rectangles on screen; the image keeps each
// line's highlight colour until that line is painted again. Before the
// teams are chosen the empty board says how to start.
class ScoreboardView : public QWidget {
    Q_OBJECT
public:
    explicit ScoreboardView(const Match& match, QWidget* parent = nullptr);

    QPushButton* pauseButton() const { return pauseButton_; }
    // Everything is erased and painted again at the next paint event.
    void invalidateAll();
    // Paints into the image now and schedules the changed rows for the
    // screen: without a hint the whole scoreboard over what is there, with
    // one the hinted lines, the summary rows and the commentary.
    void paintNow(const RepaintHint* hint);

    // The board's own size: the window's first width, and the rows down to
    // the last commentary line.
    static constexpr int kBoardWidth = 600;
    static constexpr int kBoardRows = 28;
    // The board in its own units, as the scoreboard lays it out.
    CanvasRect paintArea() const;
    // From board units to widget coordinates: scaled to fit the area down to
    // the top edge of the Pause/Go button (hidden or not), centred across.
    QTransform boardTransform() const;
    const QImage& image() const { return image_; }
    // What the last paintNow or full repaint changed, in widget coordinates.
    const QRegion& lastChanged() const { return lastChanged_; }

signals:
    // The score row in words changed (empty before play); the board's
    // accessible name and description hold it, the batsmen, the bowler and
    // the latest commentary line.
    void scoreChanged(const QString& score);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The board's words for screen readers, brought up to date.
    void announce();
    void ensureImage();
    void render(const RepaintHint* hint, bool erase);

    const Match& match_;
    QPushButton* pauseButton_;
    QImage image_;
    QRegion lastChanged_;
    bool stale_ = true;
};
