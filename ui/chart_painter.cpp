#include "ui/chart_painter.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

const QColor kInningsColours[4] = {QColor(200, 30, 30), QColor(30, 70, 200), QColor(230, 120, 20), QColor(20, 140, 60)};

struct Frame {
    QRect plot;
    int maxOvers = 1;
    int maxRuns = 1;
    double x(double over) const { return plot.left() + over * plot.width() / maxOvers; }
    double y(double runs) const { return plot.bottom() - runs * plot.height() / maxRuns; }
};

// A tick step of 1, 2 or 5 times a power of ten giving at most `count` ticks.
int niceStep(int range, int count)
{
    if (range <= 0) return 1;
    for (int magnitude = 1;; magnitude *= 10)
        for (int m : {1, 2, 5})
            if (range / (m * magnitude) <= count) return m * magnitude;
}

int roundUp(int value, int step)
{
    return std::max(step, (value + step - 1) / step * step);
}

void drawAxes(QPainter& p, const Frame& f, const QString& title, const QString& yLabel)
{
    const QFontMetrics fm = p.fontMetrics();
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRect(f.plot.left(), f.plot.top() - 2 * fm.height(), f.plot.width(), fm.height()), Qt::AlignCenter,
               title);
    const int yStep = niceStep(f.maxRuns, 8);
    for (int r = 0; r <= f.maxRuns; r += yStep) {
        const int y = static_cast<int>(f.y(r));
        p.setPen(QColor(225, 225, 225));
        p.drawLine(f.plot.left(), y, f.plot.right(), y);
        p.setPen(QColor(60, 60, 60));
        p.drawText(QRect(f.plot.left() - 50, y - fm.height() / 2, 44, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(r));
    }
    const int xStep = niceStep(f.maxOvers, 10);
    for (int o = 0; o <= f.maxOvers; o += xStep) {
        const int x = static_cast<int>(f.x(o));
        p.drawLine(x, f.plot.bottom(), x, f.plot.bottom() + 4);
        p.drawText(QRect(x - 30, f.plot.bottom() + 6, 60, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                   QString::number(o));
    }
    p.drawLine(f.plot.bottomLeft(), f.plot.bottomRight());
    p.drawLine(f.plot.bottomLeft(), f.plot.topLeft());
    p.drawText(QRect(f.plot.left(), f.plot.bottom() + 6 + fm.height(), f.plot.width(), fm.height()), Qt::AlignCenter,
               QStringLiteral("overs"));
    p.save();
    p.translate(f.plot.left() - 60 + fm.height(), f.plot.center().y());
    p.rotate(-90);
    p.drawText(QRect(-100, -fm.height(), 200, fm.height()), Qt::AlignCenter, yLabel);
    p.restore();
}

void drawLegend(QPainter& p, const Frame& f, const std::vector<InningsChart>& innings)
{
    const QFontMetrics fm = p.fontMetrics();
    int y = f.plot.top() + 4;
    for (std::size_t k = 0; k < innings.size(); ++k) {
        const QString label = QString::fromUtf8(innings[k].team) + QStringLiteral(" (innings %1)").arg(k + 1);
        const int w = fm.horizontalAdvance(label) + 22;
        const int x = f.plot.left() + 8;
        p.fillRect(x, y + fm.height() / 2 - 4, 12, 8, kInningsColours[k % 4]);
        p.setPen(QColor(40, 40, 40));
        p.drawText(QRect(x + 18, y, w, fm.height()), Qt::AlignLeft | Qt::AlignVCenter, label);
        y += fm.height() + 2;
    }
}

Frame frameFor(const QRect& area, int maxOvers, int maxRuns, const QFontMetrics& fm)
{
    Frame f;
    f.plot = area.adjusted(64, 2 * fm.height() + 8, -16, -(2 * fm.height() + 12));
    f.maxOvers = std::max(1, roundUp(maxOvers, niceStep(std::max(1, maxOvers), 10)));
    f.maxRuns = std::max(1, roundUp(maxRuns, niceStep(std::max(1, maxRuns), 8)));
    return f;
}

// Overs per Manhattan bar: one while there are at most 100 bars in all (a
// one-day match has two innings of 50 overs); a Test's hundreds of overs are
// grouped by 5, 10, 20 or 50.
int manhattanGroup(int overs, int innings)
{
    for (int group : {1, 5, 10, 20})
        if ((overs + group - 1) / group * innings <= 100) return group;
    return 50;
}

}  // namespace

void paintWormChart(QPainter& p, const QRect& area, const std::vector<InningsChart>& innings)
{
    p.fillRect(area, Qt::white);
    int maxOvers = 1, maxRuns = 1;
    for (const InningsChart& c : innings) {
        maxOvers = std::max(maxOvers, static_cast<int>(c.overs.size()));
        int total = 0;
        for (const OverFigures& o : c.overs)
            total += o.runs;
        maxRuns = std::max(maxRuns, total);
    }
    const Frame f = frameFor(area, maxOvers, maxRuns, p.fontMetrics());
    drawAxes(p, f, QStringLiteral("Worm: runs by over"), QStringLiteral("runs"));
    p.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t k = 0; k < innings.size(); ++k) {
        const QColor colour = kInningsColours[k % 4];
        QPainterPath path(QPointF(f.x(0), f.y(0)));
        int total = 0;
        for (std::size_t o = 0; o < innings[k].overs.size(); ++o) {
            total += innings[k].overs[o].runs;
            path.lineTo(f.x(static_cast<double>(o + 1)), f.y(total));
        }
        p.setPen(QPen(colour, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        // A wicket is a dot at the end of the over in which it fell.
        total = 0;
        p.setBrush(colour);
        p.setPen(QPen(Qt::white, 1));
        for (std::size_t o = 0; o < innings[k].overs.size(); ++o) {
            total += innings[k].overs[o].runs;
            for (int w = 0; w < innings[k].overs[o].wickets; ++w)
                p.drawEllipse(QPointF(f.x(static_cast<double>(o + 1)), f.y(total) - 7.0 * w), 3.5, 3.5);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    drawLegend(p, f, innings);
}

void paintManhattanChart(QPainter& p, const QRect& area, const std::vector<InningsChart>& innings)
{
    p.fillRect(area, Qt::white);
    int maxOvers = 1;
    for (const InningsChart& c : innings)
        maxOvers = std::max(maxOvers, static_cast<int>(c.overs.size()));
    const int count = std::max<int>(1, static_cast<int>(innings.size()));
    const int group = manhattanGroup(maxOvers, count);
    std::vector<std::vector<OverFigures>> bars(innings.size());
    int maxRuns = 1, maxWickets = 0;
    for (std::size_t k = 0; k < innings.size(); ++k) {
        for (std::size_t o = 0; o < innings[k].overs.size(); ++o) {
            if (o % static_cast<std::size_t>(group) == 0) bars[k].emplace_back();
            bars[k].back().runs += innings[k].overs[o].runs;
            bars[k].back().wickets += innings[k].overs[o].wickets;
        }
        for (const OverFigures& b : bars[k]) {
            maxRuns = std::max(maxRuns, b.runs);
            maxWickets = std::max(maxWickets, b.wickets);
        }
    }
    const Frame f = frameFor(area, maxOvers, maxRuns + 2 * maxWickets, p.fontMetrics());
    drawAxes(p, f,
             group == 1 ? QStringLiteral("Manhattan: runs per over")
                        : QStringLiteral("Manhattan: runs per %1 overs").arg(group),
             QStringLiteral("runs"));
    const double slot = f.x(group) - f.x(0);
    const double bar = std::max(1.0, slot * 0.8 / count);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (std::size_t k = 0; k < bars.size(); ++k) {
        const QColor colour = kInningsColours[k % 4];
        for (std::size_t j = 0; j < bars[k].size(); ++j) {
            const OverFigures& b = bars[k][j];
            const double left = f.x(static_cast<double>(j) * group) + slot * 0.1 + bar * static_cast<double>(k);
            p.fillRect(QRectF(left, f.y(b.runs), bar, f.y(0) - f.y(b.runs)), colour);
            p.setBrush(Qt::white);
            p.setPen(QPen(colour.darker(150), 1.5));
            const double r = std::min(4.0, std::max(2.0, bar / 2));
            for (int w = 0; w < b.wickets; ++w)
                p.drawEllipse(QPointF(left + bar / 2, f.y(b.runs) - r - 1 - (2 * r + 1) * w), r, r);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    drawLegend(p, f, innings);
}

bool writeChartImages(const std::vector<InningsChart>& innings, std::FILE* worm, std::FILE* manhattan,
                      std::string* error)
{
    struct Chart {
        const char* file;
        std::FILE* stream;
        void (*paint)(QPainter&, const QRect&, const std::vector<InningsChart>&);
    };
    for (const Chart& chart :
         {Chart{"worm.png", worm, paintWormChart}, Chart{"manhattan.png", manhattan, paintManhattanChart}}) {
        QImage image(900, 520, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            chart.paint(painter, image.rect(), innings);
        }
        QFile out;
        if (!out.open(chart.stream, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) || !image.save(&out, "PNG") ||
            !out.flush()) {
            if (error) *error = std::string("cannot write ") + chart.file;
            return false;
        }
    }
    return true;
}
