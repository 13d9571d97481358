#pragma once
#include <QImage>
#include <QRegion>
#include <QWidget>

#include "presentation/text_canvas.h"

class Match;
class QPushButton;
struct RepaintHint;

// The client area of the main window: the scoreboard, painted into a backing
// image the size of the area, and the Pause/Go button in its bottom-left
// corner. A ball repaints only its rows of the image and updates only those
// rectangles on screen; the image keeps each line's highlight colour until
// that line is painted again.
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

    // Down to the top edge of the Pause/Go button, hidden or not.
    CanvasRect paintArea() const;
    const QImage& image() const { return image_; }
    // What the last paintNow or full repaint changed, in widget coordinates.
    const QRegion& lastChanged() const { return lastChanged_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ensureImage();
    void render(const RepaintHint* hint, bool erase);

    const Match& match_;
    QPushButton* pauseButton_;
    QImage image_;
    QRegion lastChanged_;
    bool stale_ = true;
};
