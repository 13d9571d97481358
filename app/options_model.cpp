#include "app/options_model.h"

#include "engine/engine_context.h"

namespace {
int clampTrack(int v)
{
    return v < OptionsModel::kMin ? OptionsModel::kMin : (v > OptionsModel::kMax ? OptionsModel::kMax : v);
}
}  // namespace

void OptionsModel::load(const GameOptions& options)
{
    oneDayChecked = gameTypeEnabled && options.oneDay != 0;
    testChecked = gameTypeEnabled && options.oneDay == 0;
    ballByBall = options.briefOutput == 0;
    overs = options.overs < 1 ? 1 : (options.overs > 50 ? 50 : options.overs);
    pitchSurface = clampTrack(options.pitchSurface);
    pitchPace = clampTrack(options.pitchPace);
    outfield = clampTrack(options.outfield);
    wicketDifficulty = clampTrack(options.wicketDifficulty);
    gameSpeed = clampTrack(options.gameSpeed);
}

void OptionsModel::apply(EngineContext& context) const
{
    GameOptions& options = context.options;
    if (gameTypeEnabled) {
        options.oneDay = oneDayChecked ? 1 : 0;
        options.overs = overs < 1 ? 1 : (overs > 50 ? 50 : overs);
    }
    options.briefOutput = ballByBall ? 0 : 1;
    options.pitchSurface = clampTrack(pitchSurface);
    options.pitchPace = clampTrack(pitchPace);
    options.outfield = clampTrack(outfield);
    context.applyOutfield();
    options.wicketDifficulty = clampTrack(wicketDifficulty);
    const int speed = clampTrack(gameSpeed);
    if (speed != options.gameSpeed) {
        options.speedChanged = 1;
        options.gameSpeed = speed;
    }
}
