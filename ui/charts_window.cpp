#include "ui/charts_window.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "analysis/charts.h"
#include "resources/strings.h"
#include "ui/chart_painter.h"
#include "ui/ui_text.h"

namespace {

class ChartWidget : public QWidget {
public:
    using Paint = void (*)(QPainter&, const QRect&, const std::vector<InningsChart>&);
    ChartWidget(const Match& match, Paint paint, QWidget* parent) : QWidget(parent), match_(match), paint_(paint)
    {
        setMinimumSize(480, 300);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        paint_(painter, rect(), chartData(match_));
    }

private:
    const Match& match_;
    Paint paint_;
};

}  // namespace

ChartsWindow::ChartsWindow(const Match& match, QWidget* parent) : QTabWidget(parent), match_(match)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(uiText(str::ChartsCaption));
    addTab(new ChartWidget(match, paintWormChart, this), uiText(str::WormTab));
    addTab(new ChartWidget(match, paintManhattanChart, this), uiText(str::ManhattanTab));
    resize(760, 460);
}

void ChartsWindow::refresh()
{
    if (isVisible()) currentWidget()->update();
}
