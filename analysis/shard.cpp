#include "analysis/shard.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "analysis/batch_summary.h"

using nlohmann::json;

namespace {

constexpr const char* kMagic = "pelmora forecast part";

json optionsJson(const GameOptions& o)
{
    return {{"oneDay", o.oneDay},
            {"overs", o.overs},
            {"outfield", o.outfield},
            {"pitchPace", o.pitchPace},
            {"pitchSurface", o.pitchSurface},
            {"wicketDifficulty", o.wicketDifficulty}};
}

GameOptions optionsFrom(const json& j)
{
    GameOptions o;
    o.oneDay = j.at("oneDay").get<int>();
    o.overs = j.at("overs").get<int>();
    o.outfield = j.at("outfield").get<int>();
    o.pitchPace = j.at("pitchPace").get<int>();
    o.pitchSurface = j.at("pitchSurface").get<int>();
    o.wicketDifficulty = j.at("wicketDifficulty").get<int>();
    return o;
}

std::string dump(const json& j)
{
    return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

json partHeader(const char* kind, const ShardRange& range, json setup)
{
    return {
        {"format", kMagic}, {"kind", kind}, {"part", range.part}, {"parts", range.parts}, {"setup", std::move(setup)}};
}

json batchTotalsJson(const BatchTotals& t)
{
    json innings = json::array();
    for (const InningsCounts& c : t.innings) {
        std::vector<std::pair<std::uint64_t, std::int64_t>> cells(c.runsAndBalls.begin(), c.runsAndBalls.end());
        std::sort(cells.begin(), cells.end());
        innings.push_back({{"wickets", c.wickets}, {"runsAndBalls", cells}});
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

template <std::size_t N>
void readArray(const json& j, std::int64_t (&out)[N])
{
    if (j.size() != N) throw std::runtime_error("a list of the wrong length");
    for (std::size_t i = 0; i < N; ++i)
        out[i] = j.at(i).get<std::int64_t>();
}

void readBatchTotals(const json& j, BatchTotals& t)
{
    t.played = j.at("played").get<std::int64_t>();
    t.refused = j.at("refused").get<std::int64_t>();
    readArray(j.at("wins"), t.wins);
    t.ties = j.at("ties").get<std::int64_t>();
    t.timeRanOut = j.at("timeRanOut").get<std::int64_t>();
    t.battedFirstWins = j.at("battedFirstWins").get<std::int64_t>();
    readArray(j.at("allOut"), t.allOut);
    readArray(j.at("extras"), t.extras);
    readArray(j.at("inningsPlayed"), t.inningsPlayed);
    readArray(j.at("dismissals"), t.dismissals);
    const json& players = j.at("players");
    if (players.size() != 22) throw std::runtime_error("not 22 players");
    for (int i = 0; i < 22; ++i) {
        PlayerTotals& p = t.players[i / 11][i % 11];
        const json& v = players.at(static_cast<std::size_t>(i));
        p = {v.at(0).get<std::int64_t>(), v.at(1).get<std::int64_t>(), v.at(2).get<std::int64_t>(),
             v.at(3).get<std::int64_t>(), v.at(4).get<std::int64_t>(), v.at(5).get<std::int64_t>(),
             v.at(6).get<std::int64_t>()};
    }
    const json& innings = j.at("innings");
    if (innings.size() != 4) throw std::runtime_error("not 4 innings");
    for (std::size_t k = 0; k < 4; ++k) {
        readArray(innings[k].at("wickets"), t.innings[k].wickets);
        for (const json& cell : innings[k].at("runsAndBalls"))
            t.innings[k].runsAndBalls[cell.at(0).get<std::uint64_t>()] += cell.at(1).get<std::int64_t>();
    }
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

bool parseShard(const std::string& text, ShardRange& out)
{
    int i = 0, n = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d/%d%c", &i, &n, &tail) != 2) return false;
    if (text.find_first_not_of("0123456789/") != std::string::npos) return false;
    if (n < 1 || n > 1000000 || i < 1 || i > n) return false;
    out = {i, n};
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

bool mergeParts(const std::vector<std::string>& files, bool asJson, std::string& summary, std::string& error)
{
    if (files.empty()) return error = "--merge needs the part files to merge", false;
    json first;
    std::vector<bool> seen;
    BatchResult batch;
    std::unique_ptr<ForecastTotals> forecast;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        if (in) text << in.rdbuf();
        if (!in || in.bad()) return error = "cannot read part " + file + ": " + std::strerror(errno), false;
        try {
            const json j = json::parse(text.str());
            if (!j.is_object() || j.value("format", "") != kMagic)
                return error = "part " + file + " is not a forecast part written by --shard", false;
            if (first.is_null()) {
                first = j;
                seen.assign(static_cast<std::size_t>(j.at("parts").get<int>()) + 1, false);
                if (j.at("kind") == "tournament")
                    forecast = std::make_unique<ForecastTotals>(static_cast<int>(j.at("setup").at("sides").size()));
            } else if (j.at("kind") != first.at("kind") || j.at("parts") != first.at("parts") ||
                       j.at("setup") != first.at("setup")) {
                return error = "part " + file + " belongs to another forecast than " + files[0], false;
            }
            const int part = j.at("part").get<int>();
            if (part < 1 || part >= static_cast<int>(seen.size()))
                return error = "part " + file + " has no valid part number", false;
            if (seen[static_cast<std::size_t>(part)])
                return error = "part " + std::to_string(part) + " is given twice (" + file + ")", false;
            seen[static_cast<std::size_t>(part)] = true;
            const json& t = j.at("totals");
            if (forecast) {
                ForecastTotals f(static_cast<int>(forecast->titles.size()));
                f.tournaments = t.at("tournaments").get<std::int64_t>();
                f.titles = t.at("titles").get<std::vector<std::int64_t>>();
                f.finals = t.at("finals").get<std::vector<std::int64_t>>();
                f.knockouts = t.at("knockouts").get<std::vector<std::int64_t>>();
                f.positions = t.at("positions").get<std::vector<std::int64_t>>();
                if (f.titles.size() != forecast->titles.size() || f.positions.size() != forecast->positions.size())
                    return error = "part " + file + " has counts of the wrong size", false;
                forecast->add(f);
            } else {
                BatchTotals part;
                readBatchTotals(t, part);
                batch.totals.add(part);
            }
        } catch (const std::exception& e) {
            return error = "cannot read part " + file + ": " + e.what(), false;
        }
    }
    for (std::size_t i = 1; i < seen.size(); ++i)
        if (!seen[i])
            return error = "part " + std::to_string(i) + " of " + std::to_string(seen.size() - 1) + " is missing",
                   false;
    try {
        const json& setup = first.at("setup");
        if (forecast) {
            TournamentPlan plan;
            plan.name = setup.at("tournament").get<std::string>();
            plan.sidePaths = setup.at("files").get<std::vector<std::string>>();
            for (const json& name : setup.at("sides")) {
                Team team;
                team.setName(name.get<std::string>());
                plan.sides.push_back(team);
            }
            plan.options = optionsFrom(setup.at("options"));
            plan.rounds = setup.at("rounds").get<int>();
            plan.groups = setup.at("groups").get<int>();
            plan.playoff = setup.at("playoff").get<int>();
            const std::int32_t seed = setup.at("firstSeed").get<std::int32_t>();
            summary = asJson ? formatForecastJson(plan, *forecast, seed) : formatForecastTable(plan, *forecast, seed);
        } else {
            BatchSettings settings;
            settings.matches = setup.at("matches").get<int>();
            settings.firstSeed = setup.at("firstSeed").get<std::int32_t>();
            settings.options = optionsFrom(setup.at("options"));
            batch.inningsPerMatch = setup.at("inningsPerMatch").get<int>();
            for (int s = 0; s < 2; ++s) {
                batch.names[s] = setup.at("names").at(static_cast<std::size_t>(s)).get<std::string>();
                for (int p = 0; p < 11; ++p)
                    batch.playerNames[s][p] = setup.at("playerNames")
                                                  .at(static_cast<std::size_t>(s))
                                                  .at(static_cast<std::size_t>(p))
                                                  .get<std::string>();
            }
            summary = asJson ? formatBatchJson(batch, settings) : formatBatchTable(batch, settings);
        }
    } catch (const std::exception& e) {
        return error = "cannot read part " + files[0] + ": " + e.what(), false;
    }
    return true;
}
