#include "rating/forecast_mode.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/output_files.h"
#include "rating/progress.h"
#include "rating/rate_options.h"

namespace {

// The fixtures' files read for their info; a fixture not of the archive's
// match type or gender is named and skipped.
void readFixtures(MatchSources& sources, const std::vector<MatchRecord>& archive,
                  std::vector<ForecastFixture>& fixtures, std::size_t& skipped)
{
    for (std::size_t i = 0; i < sources.size(); ++i) {
        ForecastFixture fixture;
        fixture.file = sources.name(i);
        std::string text, why;
        if (sources.read(i, text, why) && parseCricsheetInfo(text, fixture.info, why)) {
            const MatchRecord& m = fixture.info;
            const MatchRecord& kind = archive.front();
            if (!isDateText(m.firstDate))
                why = "info.dates does not give the first day as YYYY-MM-DD";
            else if (!m.matchType.empty() && !kind.matchType.empty() && m.matchType != kind.matchType)
                why = "a " + m.matchType + " match; the archive rated is of " + kind.matchType + " matches";
            else if (!m.gender.empty() && !kind.gender.empty() && m.gender != kind.gender)
                why = "a " + m.gender + " match; the archive rated is of " + kind.gender + " matches";
        }
        if (!why.empty()) {
            complain("--forecast: " + fixture.file + ": skipped: " + why);
            ++skipped;
            continue;
        }
        fixtures.push_back(std::move(fixture));
    }
}

// The Brier scores of the forecast, of a coin and of Elo over the fixtures
// forecast that have a result.
void printBacktest(const std::vector<ForecastRow>& rows, const std::vector<MatchRecord>& archive,
                   const std::vector<ForecastFixture>& fixtures)
{
    const std::vector<double> elo = eloForecasts(archive, fixtures);
    double sums[3] = {0, 0, 0};
    std::int64_t scored = 0, noResult = 0;
    for (std::size_t f = 0; f < rows.size(); ++f) {
        double y = 0;
        if (rows[f].played <= 0) continue;
        if (!matchScore(fixtures[f].info, y)) {
            ++noResult;
            continue;
        }
        ++scored;
        sums[0] += brierScore(rows[f].pTeam1(), y);
        sums[1] += brierScore(0.5, y);
        sums[2] += brierScore(elo[f], y);
    }
    if (scored == 0) {
        std::printf("Brier score: no fixture forecast has a result (%lld without one)\n",
                    static_cast<long long>(noResult));
        return;
    }
    const double n = double(scored);
    std::printf("Brier score over %lld fixtures (%lld without a result left out): forecast %.6f, coin %.6f, Elo %.6f\n",
                static_cast<long long>(scored), static_cast<long long>(noResult), sums[0] / n, sums[1] / n,
                sums[2] / n);
}

}  // namespace

int forecastFixtures(const std::vector<MatchRecord>& archive, MatchSources& sources, const std::string& outPath,
                     bool backtest, const ForecastSettings& plan, std::chrono::steady_clock::time_point started)
{
    std::vector<ForecastFixture> fixtures;
    std::size_t skipped = 0;
    readFixtures(sources, archive, fixtures, skipped);
    if (fixtures.empty()) {
        complain("--forecast: no fixture to forecast (" + std::to_string(sources.size()) + " files read, " +
                 std::to_string(skipped) + " skipped)");
        return 1;
    }
    std::vector<std::string> why;
    const std::vector<ForecastRow> rows = forecast(archive, fixtures, plan, why);
    progress().clear();
    std::size_t forecast = 0, debutants = 0;
    std::set<std::string> days;
    for (std::size_t f = 0; f < rows.size(); ++f) {
        if (!why[f].empty()) {
            complain("--forecast: " + fixtures[f].file + ": not forecast: " + why[f]);
            ++skipped;
            continue;
        }
        ++forecast;
        debutants += static_cast<std::size_t>(rows[f].debutants);
        days.insert(fixtures[f].info.firstDate);
    }
    std::string error;
    if (!replaceFileContents(outPath, forecastCsv(rows), error)) {
        complain("cannot write " + outPath + ": " + error);
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "%zu fixtures forecast (%zu skipped) from %zu archive matches, %zu fixture days, debutants %zu, "
        "%d plays each from seed %u, %.1f s\n",
        forecast, skipped, archive.size(), days.size(), debutants, plan.matches, plan.firstSeed, seconds);
    if (backtest) printBacktest(rows, archive, fixtures);
    complain("forecast written to " + outPath);
    return forecast > 0 ? 0 : 1;
}
