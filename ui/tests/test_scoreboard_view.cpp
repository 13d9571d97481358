#include <gtest/gtest.h>

#include <QPainter>

#include "match/match.h"
#include "ui/painter_canvas.h"
#include "ui/scoreboard_view.h"
#include "ui/tests/ui_test_support.h"

namespace {

const QColor kWhite(255, 255, 255);
const QColor kNavy(0, 0, 127);

}  // namespace

TEST(PainterCanvas, OpaqueFillsTheWholeRectWithTheBackgroundColour)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
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

TEST(ScoreboardView, BoardScalesToTheViewAndABallRepaintsOnlyItsRows)
{
    Match match;
    match.context().random.seed(7);
    ASSERT_TRUE(match.teams[0].load(samplePath("northshire.xi").c_str()));
    ASSERT_TRUE(match.teams[1].load(samplePath("southmoor.xi").c_str()));
    ASSERT_TRUE(match.startPlay());
    for (int i = 0; i < 20; ++i)
        match.playBall();
    const int h = QFontMetrics(scoreboardFont()).height();
    // The first window's board, then twice as wide and taller still: the width decides.
    for (const auto& [size, scale] : {std::pair{QSize(600, 420), 1.0}, std::pair{QSize(1200, 900), 2.0}}) {
        SCOPED_TRACE(size.width());
        ScoreboardView view(match);
        view.resize(size);
        view.grab();
        const QTransform t = view.boardTransform();
        EXPECT_EQ(t.m11(), scale);
        EXPECT_EQ(view.image().size(), size);
        auto at = [&](double x, double y) { return view.image().pixelColor(t.map(QPointF(x, y)).toPoint()); };
        EXPECT_EQ(at(595, 14 * h + 1), kNavy) << "score row, row 14, across the width";
        EXPECT_EQ(at(595, 12 * h + 1), kWhite) << "row 12 is never painted";
        EXPECT_EQ(view.image().pixelColor(size.width() - 1, size.height() - 1), kWhite) << "below the board";

        match.playBall();
        RepaintHint hint;
        match.repaintHint(hint);
        view.paintNow(&hint);
        // A screen reader hears the score row, and the striker and the bowler by name.
        const Innings& inn = *match.inningsAt(match.currentInnings);
        EXPECT_TRUE(view.accessibleName().startsWith(QStringLiteral("%1 / %2").arg(inn.runs, 3).arg(inn.wickets, 3)))
            << view.accessibleName().toStdString();
        for (const Team* team : {inn.battingTeam, inn.bowlingTeam}) {
            const int index = team == inn.battingTeam ? inn.battingOrder[hint.striker] : team->bowlerAt(hint.bowler);
            EXPECT_TRUE(view.accessibleDescription().contains(QString::fromUtf8(team->player(index)->name())))
                << view.accessibleDescription().toStdString();
        }
        const QRegion changed = view.lastChanged();
        auto row = [&](int r) { return t.mapRect(QRect(0, r * h, 1, h)); };
        EXPECT_TRUE(changed.intersects(row(14))) << "the score row";
        EXPECT_TRUE(changed.intersects(t.mapRect(QRect(599, 16 * h, 1, 12 * h)))) << "the commentary";
        EXPECT_TRUE(changed.intersects(row(hint.striker + 1))) << "the striker's row";
        EXPECT_FALSE(changed.intersects(row(0)));
        EXPECT_FALSE(changed.intersects(row(12)));
        for (int p = 0; p < 11; ++p)
            if (p != hint.striker && p != hint.nonStriker) {
                EXPECT_FALSE(changed.intersects(row(p + 1))) << "batting position " << p << " was repainted";
            }
    }
}

TEST(ScoreboardView, EmptyBoardSaysHowToStartInTheThemesColours)
{
    Match match;
    for (const bool dark : {false, true}) {
        ScoreboardView view(match);
        QPalette palette = view.palette();
        palette.setColor(QPalette::Base, dark ? QColor(30, 30, 30) : kWhite);
        palette.setColor(QPalette::Text, dark ? QColor(230, 230, 230) : Qt::black);
        view.setPalette(palette);
        view.resize(600, 420);
        view.grab();
        const QImage& image = view.image();
        const QColor base = palette.color(QPalette::Base);
        EXPECT_EQ(image.pixelColor(2, 2), base) << (dark ? "dark" : "light");
        int hintPixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                hintPixels += image.pixelColor(x, y) != base;
        EXPECT_GT(hintPixels, 200) << "the start hint is drawn";
    }
}
