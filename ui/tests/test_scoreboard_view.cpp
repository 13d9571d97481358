#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPainter>
#include <QPushButton>

#include "match/match.h"
#include "ui/painter_canvas.h"
#include "ui/qt_platform.h"
#include "ui/scoreboard_view.h"
#include "ui/tests/ui_test_support.h"

namespace {

const QColor kWhite(255, 255, 255);
const QColor kNavy(0, 0, 127);

QImage whiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The bounding box of everything that is not white.
QRect inkBox(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
}

// Plays on its own: batsmen in team order, bowlers by the engine's choice.
class AutoOwner : public MatchOwner {
public:
    int autoplay() const override { return 1; }
    ChoiceResult choosePlayer(Innings&, int, int) override { return {}; }
};

struct PlayedMatch {
    explicit PlayedMatch(int balls)
    {
        match.owner = &owner;
        match.context().random.seed(7);
        EXPECT_TRUE(match.teams[0].load(samplePath("northshire.xi").c_str()));
        EXPECT_TRUE(match.teams[1].load(samplePath("southmoor.xi").c_str()));
        EXPECT_TRUE(match.startPlay());
        for (int i = 0; i < balls; ++i) match.playBall();
    }
    AutoOwner owner;
    Match match;
};

}  // namespace

TEST(PainterCanvas, MetricsComeFromArialElevenPixels)
{
    QImage image = whiteImage(10, 10);
    QPainter painter(&image);
    PainterCanvas canvas(painter, scoreboardFont(), CanvasRect{0, 0, 10, 10});
    const QFontMetrics metrics(scoreboardFont(), &image);
    EXPECT_EQ(canvas.lineHeight(), metrics.height());
    EXPECT_EQ(canvas.charWidth(), metrics.averageCharWidth());
    EXPECT_EQ(QFontInfo(scoreboardFont()).pixelSize(), 11);
    EXPECT_EQ(scoreboardFont().weight(), QFont::Normal);
}

TEST(PainterCanvas, OpaqueFillsTheWholeRectWithTheBackgroundColour)
{
    QImage image = whiteImage(200, 60);
    QPainter painter(&image);
    PainterCanvas canvas(painter, scoreboardFont(), CanvasRect{0, 0, 200, 60});
    const CanvasRect row{0, 20, 200, 33};
    canvas.drawText(0, 20, "", 6, &row, TextCanvas::Opaque);
    painter.end();
    EXPECT_EQ(image.pixelColor(199, 20), kNavy);
    EXPECT_EQ(image.pixelColor(0, 32), kNavy);
    EXPECT_EQ(image.pixelColor(100, 19), kWhite) << "the row above is untouched";
    EXPECT_EQ(image.pixelColor(100, 33), kWhite) << "the row below is untouched";
    EXPECT_EQ(canvas.changedRegion(), QRegion(0, 20, 200, 13));
}

TEST(PainterCanvas, TextIsDrawnFromItsTopLeftCornerOnItsBackground)
{
    QImage image = whiteImage(300, 80);
    QPainter painter(&image);
    PainterCanvas canvas(painter, scoreboardFont(), CanvasRect{0, 0, 300, 80});
    const int h = canvas.lineHeight();
    const int x = 17 * canvas.charWidth();
    canvas.drawText(x, 3 * h, "Ashdown", 6, nullptr, 0);
    painter.end();

    const QRect ink = inkBox(image, image.rect());
    EXPECT_EQ(ink.left(), x) << "the text's cell starts at its column";
    EXPECT_EQ(ink.top(), 3 * h) << "the text's cell starts at its row";
    EXPECT_EQ(ink.bottom(), 4 * h - 1) << "the cell is one line high";
    EXPECT_EQ(image.pixelColor(x, 4 * h - 1), kNavy) << "the text's cell is filled with its background";
    const QImage cell = image.copy(ink);
    int glyphPixels = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int i = 0; i < cell.width(); ++i) glyphPixels += cell.pixelColor(i, y).red() > 128 ? 1 : 0;
    EXPECT_GT(glyphPixels, 0) << "no white glyph pixels on the navy cell";
}

TEST(PainterCanvas, ClippedTextStaysInsideItsRect)
{
    QImage image = whiteImage(300, 40);
    QPainter painter(&image);
    PainterCanvas canvas(painter, scoreboardFont(), CanvasRect{0, 0, 300, 40});
    const CanvasRect rect{0, 0, 30, 20};
    canvas.drawText(2, 0, "WWWWWWWWWWWWWWWWWWWW", 0, &rect, TextCanvas::Clipped);
    painter.end();
    const QRect ink = inkBox(image, image.rect());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(ink.right(), 29) << "ink right of the clip rectangle";
    EXPECT_TRUE(canvas.changedRegion().boundingRect().right() <= 29);
}

TEST(ScoreboardView, PaintAreaEndsAtThePauseButtonEvenWhileHidden)
{
    Match match;
    ScoreboardView view(match);
    view.resize(600, 400);
    view.show();
    ASSERT_FALSE(view.pauseButton()->isVisible());
    EXPECT_EQ(view.pauseButton()->geometry().bottomLeft(), QPoint(0, 399)) << "bottom-left corner";
    EXPECT_EQ(view.paintArea(), (CanvasRect{0, 0, 600, 400 - view.pauseButton()->height()}));
}

TEST(ScoreboardView, TeamSheetPutsTheSecondSideAtHalfTheWidth)
{
    Match match;
    ASSERT_TRUE(match.teams[0].load(samplePath("northshire.xi").c_str()));
    ASSERT_TRUE(match.teams[1].load(samplePath("southmoor.xi").c_str()));
    ScoreboardView view(match);
    view.resize(600, 400);
    view.grab();
    const int h = QFontMetrics(scoreboardFont()).height();
    const QRect right = inkBox(view.image(), QRect(250, 0, 350, h));
    EXPECT_EQ(right.left(), 300) << "team 1's name starts at half the painted width";
    EXPECT_FALSE(inkBox(view.image(), QRect(0, 0, 100, 12 * h)).isEmpty()) << "team 0 at the left";
}

TEST(ScoreboardView, ScoreRowIsWhiteOnNavyAcrossTheWidth)
{
    PlayedMatch played(20);
    ScoreboardView view(played.match);
    view.resize(600, 420);
    view.grab();
    const int h = QFontMetrics(scoreboardFont()).height();
    EXPECT_EQ(view.image().pixelColor(595, 14 * h + 1), kNavy) << "score row, row 14";
    EXPECT_EQ(view.image().pixelColor(595, 12 * h + 1), kWhite) << "row 12 is never painted";
    EXPECT_FALSE(inkBox(view.image(), QRect(0, h, 600, h)).isEmpty()) << "the first batting row, row 1";
    EXPECT_TRUE(inkBox(view.image(), QRect(0, 0, 600, h)).isEmpty()) << "row 0 is never painted";
}

TEST(ScoreboardView, ABallRepaintsOnlyItsRows)
{
    PlayedMatch played(20);
    ScoreboardView view(played.match);
    view.resize(600, 420);
    view.grab();
    played.match.playBall();
    RepaintHint hint;
    played.match.repaintHint(hint);
    view.paintNow(&hint);

    const int h = QFontMetrics(scoreboardFont()).height();
    const QRegion changed = view.lastChanged();
    auto row = [&](int r) { return QRect(0, r * h, 1, h); };
    EXPECT_TRUE(changed.intersects(row(14))) << "the score row";
    EXPECT_TRUE(changed.intersects(QRect(599, 16 * h, 1, 12 * h))) << "the commentary";
    EXPECT_TRUE(changed.intersects(row(hint.striker + 1))) << "the striker's row";
    EXPECT_FALSE(changed.intersects(row(0)));
    EXPECT_FALSE(changed.intersects(row(12)));
    for (int p = 0; p < 11; ++p) {
        if (p == hint.striker || p == hint.nonStriker) continue;
        EXPECT_FALSE(changed.intersects(row(p + 1))) << "batting position " << p << " was repainted";
    }
}

TEST(ApplicationIcon, HasTheBigAndTheSmallPicture)
{
    const QIcon icon = applicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_FALSE(icon.pixmap(32, 32).isNull());
}
