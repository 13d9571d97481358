#include "analysis/shard.h"

#include <cstdio>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

json optionsJson(const GameOptions& o)
{
    return {{"oneDay", o.oneDay},
            {"overs", o.overs},
            {"outfield", o.outfield},
            {"pitchPace", o.pitchPace},
            {"pitchSurface", o.pitchSurface},
            {"wicketDifficulty", o.wicketDifficulty}};
}

std::string dump(const json& j)
{
    return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

json partHeader(const char* kind, const ShardRange& range, json setup)
{
    return {{"format", kPartFormat},
            {"kind", kind},
            {"part", range.part},
            {"parts", range.parts},
            {"fingerprint", range.fingerprint},
            {"setup", std::move(setup)}};
}

json batchTotalsJson(const BatchTotals& t)
{
    json innings = json::array();
    for (const InningsCounts& c : t.innings) {
        // Only the figures that came up: [figure, count] (and the runs made at each number of balls).
        auto cells = [](const std::vector<std::int64_t>& table) {
            json list = json::array();
            for (std::size_t i = 0; i < table.size(); ++i)
                if (table[i]) list.push_back({i, table[i]});
            return list;
        };
        json balls = json::array();
        for (std::size_t b = 0; b < c.byBalls.size(); ++b)
            if (c.byBalls[b]) balls.push_back({b, c.byBalls[b], c.runsByBalls[b]});
        innings.push_back({{"wickets", c.wickets},
                           {"runs", cells(c.byRuns)},
                           {"rates", cells(c.byRateHundredths)},
                           {"balls", balls}});
    }
    json players = json::array();
    for (const auto& side : t.players)
        for (const PlayerTotals& p : side)
            players.push_back(
                {p.battingInnings, p.runs, p.outs, p.ballsFaced, p.ballsBowled, p.runsConceded, p.wickets});
    return {{"played", t.played},
            {"refused", t.refused},
            {"wins", t.wins},
            {"ties", t.ties},
            {"timeRanOut", t.timeRanOut},
            {"battedFirstWins", t.battedFirstWins},
            {"allOut", t.allOut},
            {"extras", t.extras},
            {"inningsPlayed", t.inningsPlayed},
            {"dismissals", t.dismissals},
            {"players", players},
            {"innings", innings}};
}

json tournamentSetup(const TournamentPlan& plan, std::int32_t firstSeed, std::int64_t tournaments)
{
    json names = json::array();
    for (const Team& t : plan.sides)
        names.push_back(t.name());
    return {{"tournament", plan.name},   {"sides", names},
            {"files", plan.sidePaths},   {"options", optionsJson(plan.options)},
            {"rounds", plan.rounds},     {"groups", plan.groups},
            {"playoff", plan.playoff},   {"firstSeed", firstSeed},
            {"tournaments", tournaments}};
}

}  // namespace

Fingerprint& Fingerprint::add(std::string_view label, std::string_view bytes)
{
    mix(std::to_string(label.size()) + ":");
    mix(label);
    mix(std::to_string(bytes.size()) + ":");
    mix(bytes);
    return *this;
}

void Fingerprint::mix(std::string_view bytes)
{
    for (const unsigned char c : bytes) {
        hash_ ^= c;
        hash_ *= 1099511628211ULL;
    }
}

std::string Fingerprint::hex() const
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
    return text;
}

bool parseShard(const std::string& text, ShardRange& out)
{
    int i = 0, n = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d/%d%c", &i, &n, &tail) != 2) return false;
    if (text.find_first_not_of("0123456789/") != std::string::npos) return false;
    if (n < 1 || n > 1000000 || i < 1 || i > n) return false;
    out.part = i;
    out.parts = n;
    return true;
}

std::pair<std::int64_t, std::int64_t> shardSlice(std::int64_t total, const ShardRange& r)
{
    if (r.parts <= 0) return {0, total};
    return {total * (r.part - 1) / r.parts, total * r.part / r.parts};
}

std::string batchPartJson(const BatchResult& result, const BatchSettings& settings, const ShardRange& range)
{
    json setup = {{"matches", settings.matches},
                  {"firstSeed", settings.firstSeed},
                  {"options", optionsJson(settings.options)},
                  {"names", result.names},
                  {"playerNames", result.playerNames},
                  {"inningsPerMatch", result.inningsPerMatch}};
    json j = partHeader("batch", range, std::move(setup));
    j["totals"] = batchTotalsJson(result.totals);
    return dump(j);
}

std::string forecastPartJson(const TournamentPlan& plan, const ForecastTotals& t, std::int32_t firstSeed,
                             std::int64_t tournaments, const ShardRange& range)
{
    json j = partHeader("tournament", range, tournamentSetup(plan, firstSeed, tournaments));
    j["totals"] = {{"tournaments", t.tournaments},
                   {"titles", t.titles},
                   {"finals", t.finals},
                   {"knockouts", t.knockouts},
                   {"positions", t.positions}};
    return dump(j);
}
