// The scoreboard painted through the window's QPainter canvas into an
// offscreen image the size of the first window: everything (a resize, the end
// of an innings) against what one ball repaints.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>

#include "match/match.h"
#include "presentation/scoreboard.h"
#include "ui/painter_canvas.h"

namespace {

class AutoCaptain : public Captain {
public:
    int autoplay() const override { return 1; }
    ChoiceResult choosePlayer(Innings&, int, int) override { return {}; }
};

// Half an innings in: a full card of batsmen and bowlers, commentary filled.
struct MatchInProgress {
    MatchInProgress()
    {
        const std::string samples = std::string(PELMORA_SOURCE_DIR) + "/samples/";
        match.setCaptain(&captain);
        match.context().random.seed(7);
        if (!match.teams[0].load((samples + "northshire.xi").c_str()) ||
            !match.teams[1].load((samples + "southmoor.xi").c_str()) || !match.startPlay()) {
            std::fprintf(stderr, "cannot set up the sample match\n");
            std::exit(1);
        }
        for (int i = 0; i < 150; ++i)
            match.playBall();
    }
    AutoCaptain captain;
    Match match;
};

constexpr int kWidth = 600;
constexpr int kHeight = 380;

void BM_FullPaint(benchmark::State& state)
{
    MatchInProgress game;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const CanvasRect area{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        PainterCanvas canvas(painter, scoreboardFont(), area);
        Scoreboard::paint(canvas, game.match, nullptr, nullptr);
    }
}
BENCHMARK(BM_FullPaint);

void BM_BallPaint(benchmark::State& state)
{
    MatchInProgress game;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    const CanvasRect area{0, 0, kWidth, kHeight};
    RepaintHint hint;
    game.match.repaintHint(hint);
    for (auto _ : state) {
        QPainter painter(&image);
        PainterCanvas canvas(painter, scoreboardFont(), area);
        Scoreboard::paint(canvas, game.match, nullptr, &hint);
    }
}
BENCHMARK(BM_BallPaint);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
