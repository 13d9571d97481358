// pelmora-rate --forecast: each fixture played between its two rated
// elevens, the shares written to forecast.csv, and with --backtest the
// Brier scores of the forecast, a coin and an Elo table.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "rating/forecast.h"
#include "rating/match_sources.h"

// Forecasts the fixtures of `sources` from the archive into `outPath`;
// returns the exit status.
int forecastFixtures(const std::vector<MatchRecord>& archive, MatchSources& sources, const std::string& outPath,
                     bool backtest, const ForecastSettings& plan, std::chrono::steady_clock::time_point started);
