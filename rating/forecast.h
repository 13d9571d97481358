#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "rating/figures.h"
#include "rating/fit.h"
#include "rating/match_record.h"

// A match to forecast: its file's info (innings, when present, unread).
struct ForecastFixture {
    std::string file;  // as named in messages and forecast.csv
    MatchRecord info;
};

struct ForecastSettings {
    int matches = 1000;           // plays of each fixture
    std::uint32_t firstSeed = 1;  // the plays of every fixture use firstSeed, firstSeed + 1, ...
    int threads = 1;
    FitSettings fit;
    // Each player's bowling style in an archive (styleByUse unless told otherwise).
    std::function<std::vector<int>(const Archive&)> styles;
    // Told before each fit: the cut-off day and the archive matches before it.
    std::function<void(const std::string& day, std::int64_t matches)> onFit;
};

struct ForecastRow {
    const ForecastFixture* fixture = nullptr;
    std::int64_t played = 0;
    std::int64_t wins[2] = {0, 0};  // by info.teams
    std::int64_t tiesOrDraws = 0;
    int debutants = 0;  // of the two elevens, players in no archive match before the fixture

    // The shares of played, in millionths that add up to exactly 1000000.
    void shares(std::int64_t micro[3]) const;
    double pTeam1() const { return played ? double(wins[0]) / double(played) : 0.5; }
};

// Rates every fixture's elevens from the archive matches whose first day is
// before the fixture's (one fit per distinct set of such matches) and plays
// the fixture settings.matches times. `archive` holds the matches that count
// in the order of the files (ties of day go by it). A fixture with no
// archive match before it, or whose elevens cannot be rated, gets a row with
// nothing played and a reason in `why` (same index).
std::vector<ForecastRow> forecast(const std::vector<MatchRecord>& archive, const std::vector<ForecastFixture>& fixtures,
                                  const ForecastSettings& settings, std::vector<std::string>& why);

// forecast.csv: file,date,team1,team2,p_team1,p_team2,p_tie for the rows played.
std::string forecastCsv(const std::vector<ForecastRow>& rows);

// The result of a played match for a Brier score: 1 the first of info.teams
// won, 0 the second, 0.5 a tie or a draw; false for no result or none stated.
bool matchScore(const MatchRecord& match, double& score);

// (p - score)^2: a fixture's Brier score for a forecast p that the first side wins.
inline double brierScore(double p, double score)
{
    return (p - score) * (p - score);
}

// Chronological Elo of sides by name: each starts at 1500, K = 20, no home
// advantage; a tie or a draw counts half a win, no result nothing.
class EloTable {
public:
    static constexpr double kStart = 1500, kK = 20;
    // The chance that `first` beats `second`: 1 / (1 + 10^(-(Ra - Rb) / 400)).
    double expected(const std::string& first, const std::string& second) const;
    void add(const MatchRecord& match);
    double rating(const std::string& side) const;

private:
    std::map<std::string, double> ratings_;
};

// For each fixture, the Elo chance of info.teams[0] from the archive matches
// whose first day is before the fixture's, played in order of day.
std::vector<double> eloForecasts(const std::vector<MatchRecord>& archive, const std::vector<ForecastFixture>& fixtures);
