#include "rating/forecast.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "analysis/on_threads.h"
#include "match/match.h"
#include "match/unattended.h"
#include "rating/side_file.h"

namespace {

// Indices of the matches in order of first day, ties in the order given.
template <typename T, typename Day>
std::vector<std::size_t> byFirstDay(const std::vector<T>& items, Day day)
{
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return day(items[a]) < day(items[b]); });
    return order;
}

const std::string& dayOf(const MatchRecord& m)
{
    return m.firstDate;
}

const std::string& fixtureDay(const ForecastFixture& f)
{
    return f.info.firstDate;
}

// What one play of a fixture came to.
enum class Play : std::uint8_t { OtherToss, Refused, FirstWon, SecondWon, TieOrDraw };

// One play of the fixture with this seed, none when its toss does not send
// in `battingFirst` (0 first, 1 second; -1 any). A Test whose time ran out
// is a draw, although the result line gives it to one side on aggregate.
Play playOnce(const Team& first, const Team& second, const GameOptions& options, std::uint32_t seed, int battingFirst)
{
    Match match;
    match.options() = options;
    int battedFirst = 0;
    UnattendedResult started = startUnattended(match, first, second, seed, &battedFirst);
    if (battingFirst >= 0 && battedFirst != battingFirst) return Play::OtherToss;
    if (started == UnattendedResult::CannotBowl) return Play::Refused;
    if (started == UnattendedResult::Played) finishUnattended(match);
    const MatchResult result = match.result();
    if (result.kind == MatchResult::Tie || match.timeRanOutIn(match.inningsCount - 1)) return Play::TieOrDraw;
    // The winner is 0 for the side that batted first.
    return (result.winner == 0) == (battedFirst == 0) ? Play::FirstWon : Play::SecondWon;
}

// Plays the two rated sides settings.matches times with seeds firstSeed,
// firstSeed + 1, ...; when info.toss says who batted first, only the seeds
// whose toss sends that side in count. Which seeds count does not depend on
// the threads.
void play(const Team& first, const Team& second, const MatchRecord& info, const ForecastSettings& settings,
          ForecastRow& row)
{
    GameOptions options;
    options.oneDay = settings.fit.oneDay ? 1 : 0;
    if (settings.fit.oneDay && info.overs > 0) options.overs = std::min(info.overs, Match::kMaxOvers);
    const std::size_t wanted = static_cast<std::size_t>(std::max(settings.matches, 0));
    // A toss that never comes out so would otherwise be tried for ever.
    const std::size_t mostSeeds = 20 * wanted + 1000;
    std::vector<Play> plays;  // by seed - firstSeed
    std::size_t counted = 0;
    while (counted < wanted && plays.size() < mostSeeds) {
        const std::size_t begin = plays.size();
        const std::size_t end =
            std::min(mostSeeds, begin + (info.battedFirst < 0 ? wanted : 2 * (wanted - counted) + 16));
        plays.resize(end);
        constexpr std::size_t kBlock = 16;
        std::atomic<std::size_t> next{begin};
        const int threads = static_cast<int>(std::clamp<std::size_t>(
            (end - begin) / kBlock + 1, 1, static_cast<std::size_t>(std::max(settings.threads, 1))));
        runOnThreads(threads, [&](int) {
            for (std::size_t at; (at = next.fetch_add(kBlock)) < end;)
                for (std::size_t i = at; i < std::min(end, at + kBlock); ++i)
                    plays[i] = playOnce(first, second, options, settings.firstSeed + static_cast<std::uint32_t>(i),
                                        info.battedFirst);
        });
        counted += static_cast<std::size_t>(std::count_if(plays.begin() + static_cast<std::ptrdiff_t>(begin),
                                                          plays.end(), [](Play p) { return p != Play::OtherToss; }));
    }
    std::size_t taken = 0;
    for (std::size_t i = 0; i < plays.size() && taken < wanted; ++i) {
        if (plays[i] == Play::OtherToss) continue;
        ++taken;
        switch (plays[i]) {
        case Play::FirstWon: ++row.wins[0]; break;
        case Play::SecondWon: ++row.wins[1]; break;
        case Play::TieOrDraw: ++row.tiesOrDraws; break;
        default: continue;
        }
        ++row.played;
    }
}

}  // namespace

void ForecastRow::shares(std::int64_t micro[3]) const
{
    constexpr std::int64_t kWhole = 1000000;
    if (played <= 0) {
        micro[0] = micro[1] = micro[2] = 0;
        return;
    }
    micro[0] = (wins[0] * kWhole * 2 + played) / (2 * played);
    micro[1] = (wins[1] * kWhole * 2 + played) / (2 * played);
    micro[2] = kWhole - micro[0] - micro[1];
    if (micro[2] < 0) {  // two halves rounded up
        micro[1] += micro[2];
        micro[2] = 0;
    }
}

std::vector<ForecastRow> forecast(const std::vector<MatchRecord>& archive, const std::vector<ForecastFixture>& fixtures,
                                  const ForecastSettings& settings, std::vector<std::string>& why)
{
    std::vector<ForecastRow> rows(fixtures.size());
    why.assign(fixtures.size(), std::string());
    const std::vector<std::size_t> order = byFirstDay(archive, dayOf);
    const std::vector<std::size_t> fixtureOrder = byFirstDay(fixtures, fixtureDay);
    std::vector<std::string> days;
    for (std::size_t i : order)
        days.push_back(archive[i].firstDate);
    // How many archive matches, in order, come before this day.
    const auto cutOf = [&](const std::string& day) {
        return static_cast<std::size_t>(std::lower_bound(days.begin(), days.end(), day) - days.begin());
    };

    Archive rated;
    std::size_t added = 0;
    for (std::size_t at = 0; at < fixtureOrder.size();) {
        const std::size_t cut = cutOf(fixtureDay(fixtures[fixtureOrder[at]]));
        std::size_t end = at;
        while (end < fixtureOrder.size() && cutOf(fixtureDay(fixtures[fixtureOrder[end]])) == cut)
            ++end;
        for (; added < cut; ++added)
            rated.add(archive[order[added]], static_cast<std::int64_t>(order[added]));
        if (cut == 0) {
            for (std::size_t k = at; k < end; ++k)
                why[fixtureOrder[k]] = "no match of the archive is dated before it";
            at = end;
            continue;
        }

        // The players of the archive, then one with no figures for each place
        // in an eleven held by a debutant: the fit gives him the prior of his role.
        std::vector<Figures> real;
        for (const PlayerRecord& p : rated.players)
            real.push_back(p.figures);
        std::vector<int> styles = settings.styles ? settings.styles(rated) : std::vector<int>(real.size(), 0);
        std::vector<std::array<Eleven, 2>> elevens(end - at);
        for (std::size_t k = at; k < end; ++k) {
            const std::size_t f = fixtureOrder[k];
            const MatchRecord& info = fixtures[f].info;
            for (int s = 0; s < 2; ++s) {
                Eleven& eleven = elevens[k - at][static_cast<std::size_t>(s)];
                for (int i = 0; i < info.listed && eleven.players.size() < 11; ++i) {
                    const PersonRecord& person = info.people[static_cast<std::size_t>(i)];
                    if (person.side != s) continue;
                    int index = rated.find(person.id.empty() ? person.name + "|" + info.sides[s] : person.id);
                    if (index < 0) {
                        index = static_cast<int>(real.size());
                        Figures debutant;
                        debutant.atPosition[eleven.players.size()] = 1;
                        real.push_back(debutant);
                        styles.push_back(0);
                        ++rows[f].debutants;
                    }
                    eleven.players.push_back(index);
                    eleven.bowled.push_back(isRegularBowler(real[static_cast<std::size_t>(index)]));
                }
                if (eleven.players.size() < 11)
                    why[f] = "info.players names fewer than eleven of \"" + info.sides[s] + "\"";
            }
        }
        if (settings.onFit) settings.onFit(fixtureDay(fixtures[fixtureOrder[at]]), static_cast<std::int64_t>(cut));
        const FitResult fit = fitRatings(real, rated.fixtures, styles, settings.fit);
        for (std::size_t k = at; k < end; ++k) {
            const std::size_t f = fixtureOrder[k];
            if (!why[f].empty()) continue;
            Team sides[2];
            for (int s = 0; s < 2; ++s)
                sides[s] =
                    ratedSide(elevens[k - at][static_cast<std::size_t>(s)], fit.ratings, real, settings.fit.oneDay);
            play(sides[0], sides[1], fixtures[f].info, settings, rows[f]);
            if (rows[f].played == 0) why[f] = "neither side could bowl an innings through";
        }
        at = end;
    }
    for (std::size_t f = 0; f < fixtures.size(); ++f)
        rows[f].fixture = &fixtures[f];
    return rows;
}

std::string forecastCsv(const std::vector<ForecastRow>& rows)
{
    std::string out = "file,date,team1,team2,p_team1,p_team2,p_tie\n";
    for (const ForecastRow& row : rows) {
        if (row.played <= 0) continue;
        const MatchRecord& info = row.fixture->info;
        out += csvField(row.fixture->file) + "," + csvField(info.firstDate) + "," + csvField(info.sides[0]) + "," +
               csvField(info.sides[1]);
        std::int64_t micro[3];
        row.shares(micro);
        for (std::int64_t m : micro) {
            char text[32];
            std::snprintf(text, sizeof text, ",%lld.%06lld", static_cast<long long>(m / 1000000),
                          static_cast<long long>(m % 1000000));
            out += text;
        }
        out += "\n";
    }
    return out;
}

bool matchScore(const MatchRecord& match, double& score)
{
    if (match.winner == 0 || match.winner == 1) {
        score = match.winner == 0 ? 1 : 0;
        return true;
    }
    if (match.result == "tie" || match.result == "draw") {
        score = 0.5;
        return true;
    }
    return false;
}

double EloTable::rating(const std::string& side) const
{
    const auto it = ratings_.find(side);
    return it == ratings_.end() ? kStart : it->second;
}

double EloTable::expected(const std::string& first, const std::string& second) const
{
    return 1 / (1 + std::pow(10.0, -(rating(first) - rating(second)) / 400));
}

void EloTable::add(const MatchRecord& match)
{
    double score = 0;
    if (!matchScore(match, score)) return;
    const double change = kK * (score - expected(match.sides[0], match.sides[1]));
    const double first = rating(match.sides[0]), second = rating(match.sides[1]);
    ratings_[match.sides[0]] = first + change;
    ratings_[match.sides[1]] = second - change;
}

std::vector<double> eloForecasts(const std::vector<MatchRecord>& archive, const std::vector<ForecastFixture>& fixtures)
{
    std::vector<double> chances(fixtures.size(), 0.5);
    const std::vector<std::size_t> order = byFirstDay(archive, dayOf);
    EloTable elo;
    std::size_t added = 0;
    for (std::size_t f : byFirstDay(fixtures, fixtureDay)) {
        for (; added < order.size() && archive[order[added]].firstDate < fixtureDay(fixtures[f]); ++added)
            elo.add(archive[order[added]]);
        chances[f] = elo.expected(fixtures[f].info.sides[0], fixtures[f].info.sides[1]);
    }
    return chances;
}
