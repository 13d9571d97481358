#include <algorithm>
#include <climits>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "analysis/batch_summary.h"
#include "analysis/json_document.h"
#include "analysis/printable_text.h"
#include "analysis/shard.h"
#include "match/match.h"

// Reading forecast parts back: every count is checked against what the
// part's own setup implies before it is added to the others.

using nlohmann::json;

namespace {

// Every count of a match is far below this; the counts of 2^31 matches at
// this bound still add up inside 64 bits.
constexpr std::int64_t kPerMatch = 1000000;
// The largest runs and legal balls an innings table of a part may name: far
// beyond any innings, small enough that no part can make a table large.
constexpr std::int64_t kMostInningsRuns = 100000;
constexpr std::int64_t kMostInningsBalls = 100000;

// A part whose content does not hold together; the message says what.
struct Refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void refuse(const std::string& why)
{
    throw Refused(why);
}

const json& field(const json& object, const std::string& name)
{
    if (!object.is_object()) refuse("\"" + name + "\" is not inside an object");
    const auto it = object.find(name);
    if (it == object.end()) refuse("no \"" + name + "\"");
    return *it;
}

std::int64_t whole(const json& j, const std::string& what, std::int64_t low, std::int64_t high)
{
    const bool fits = j.is_number_integer() && !(j.is_number_unsigned() && j.get<std::uint64_t>() > INT64_MAX);
    const std::int64_t v = fits ? j.get<std::int64_t>() : 0;
    if (!fits || v < low || v > high)
        refuse(what + " is not a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    return v;
}

std::int64_t wholeField(const json& object, const std::string& name, std::int64_t low, std::int64_t high)
{
    return whole(field(object, name), "\"" + name + "\"", low, high);
}

const json& listOf(const json& j, const std::string& what, std::size_t size)
{
    if (!j.is_array() || j.size() != size) refuse(what + " is not a list of " + std::to_string(size));
    return j;
}

std::string textOf(const json& j, const std::string& what)
{
    if (!j.is_string()) refuse(what + " is not a text");
    return j.get<std::string>();
}

// `size` counts, each from 0 to `high`.
std::vector<std::int64_t> countsOf(const json& object, const std::string& name, std::size_t size, std::int64_t high)
{
    const json& j = listOf(field(object, name), "\"" + name + "\"", size);
    std::vector<std::int64_t> out(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = whole(j[i], "\"" + name + "\"[" + std::to_string(i) + "]", 0, high);
    return out;
}

GameOptions optionsFrom(const json& j)
{
    GameOptions o;
    o.oneDay = static_cast<int>(wholeField(j, "oneDay", 0, 1));
    o.overs = static_cast<int>(wholeField(j, "overs", 1, Match::kMaxOvers));
    o.outfield = static_cast<int>(wholeField(j, "outfield", 0, 100));
    o.pitchPace = static_cast<int>(wholeField(j, "pitchPace", 0, 100));
    o.pitchSurface = static_cast<int>(wholeField(j, "pitchSurface", 0, 100));
    o.wicketDifficulty = static_cast<int>(wholeField(j, "wicketDifficulty", 0, 100));
    return o;
}

// The seeds firstSeed .. firstSeed + matches - 1, as the runs that write parts allow them.
void checkSeeds(std::int32_t firstSeed, std::int64_t matches)
{
    const std::int64_t last = static_cast<std::int64_t>(firstSeed) + matches - 1;
    if (firstSeed == 0 || last > INT32_MAX || (firstSeed < 0 && last >= 0))
        refuse("its seeds from " + std::to_string(firstSeed) + " are not those of a run");
}

void readBatchSetup(const json& setup, BatchSettings& settings, BatchResult& result)
{
    settings.matches = static_cast<int>(wholeField(setup, "matches", 1, INT_MAX));
    settings.firstSeed = static_cast<std::int32_t>(wholeField(setup, "firstSeed", INT32_MIN, INT32_MAX));
    checkSeeds(settings.firstSeed, settings.matches);
    settings.options = optionsFrom(field(setup, "options"));
    result.inningsPerMatch = settings.options.oneDay ? 2 : 4;
    if (wholeField(setup, "inningsPerMatch", 2, 4) != result.inningsPerMatch)
        refuse("\"inningsPerMatch\" does not fit its kind of match");
    const json& names = listOf(field(setup, "names"), "\"names\"", 2);
    const json& players = listOf(field(setup, "playerNames"), "\"playerNames\"", 2);
    for (std::size_t s = 0; s < 2; ++s) {
        result.names[s] = textOf(names[s], "a side's name");
        const json& eleven = listOf(players[s], "a side's \"playerNames\"", 11);
        for (std::size_t p = 0; p < 11; ++p)
            result.playerNames[s][p] = textOf(eleven[p], "a player's name");
    }
}

// The counts of `matches` matches of `inningsPerMatch` innings each.
void readBatchTotals(const json& j, std::int64_t matches, int inningsPerMatch, BatchTotals& t)
{
    t.played = wholeField(j, "played", 0, matches);
    t.refused = wholeField(j, "refused", 0, matches);
    if (t.played + t.refused != matches)
        refuse("\"played\" and \"refused\" are not the part's " + std::to_string(matches) + " matches");
    const std::int64_t played = t.played, most = played * kPerMatch;
    const auto wins = countsOf(j, "wins", 2, played);
    t.wins[0] = wins[0], t.wins[1] = wins[1];
    t.ties = wholeField(j, "ties", 0, played);
    if (t.wins[0] + t.wins[1] + t.ties != played) refuse("wins and ties are not the matches played");
    t.timeRanOut = wholeField(j, "timeRanOut", 0, inningsPerMatch == 4 ? played : 0);
    t.battedFirstWins = wholeField(j, "battedFirstWins", 0, t.wins[0] + t.wins[1]);
    const auto inningsPlayed = countsOf(j, "inningsPlayed", 4, played);
    const auto allOut = countsOf(j, "allOut", 4, played);
    const auto extras = countsOf(j, "extras", 4, most);
    for (std::size_t k = 0; k < 4; ++k) {
        if (k >= static_cast<std::size_t>(inningsPerMatch) && inningsPlayed[k] != 0)
            refuse("innings " + std::to_string(k + 1) + " is counted in a match of " + std::to_string(inningsPerMatch) +
                   " innings");
        if (allOut[k] > inningsPlayed[k] || extras[k] > inningsPlayed[k] * kPerMatch)
            refuse("innings " + std::to_string(k + 1) + " has more to count than it was played");
        t.inningsPlayed[k] = inningsPlayed[k], t.allOut[k] = allOut[k], t.extras[k] = extras[k];
    }
    const auto dismissals = countsOf(j, "dismissals", 10, most);
    std::copy(dismissals.begin(), dismissals.end(), t.dismissals);
    const json& players = listOf(field(j, "players"), "\"players\"", 22);
    for (std::size_t i = 0; i < 22; ++i) {
        const json& v = listOf(players[i], "a player's counts", 7);
        std::int64_t c[7];
        for (std::size_t f = 0; f < 7; ++f)
            c[f] = whole(v[f], "a player's count", 0, most);
        if (c[0] > played * (inningsPerMatch / 2) || c[2] > c[0])
            refuse("a player batted more often than the matches allow");
        t.players[i / 11][i % 11] = {c[0], c[1], c[2], c[3], c[4], c[5], c[6]};
    }
    const json& innings = listOf(field(j, "innings"), "\"innings\"", 4);
    for (std::size_t k = 0; k < 4; ++k) {
        const auto wickets = countsOf(innings[k], "wickets", 11, played);
        std::int64_t sum = 0;
        for (std::size_t w = 0; w < 11; ++w)
            sum += t.innings[k].wickets[w] = wickets[w];
        // Each table holds every innings played once, at figures an innings can reach.
        InningsCounts& c = t.innings[k];
        auto readTable = [&](const char* name, std::int64_t most, std::vector<std::int64_t>& table,
                             std::vector<std::int64_t>* runs) {
            const json& cells = field(innings[k], name);
            if (!cells.is_array()) refuse(std::string("\"") + name + "\" is not a list");
            std::int64_t counted = 0;
            for (const json& cell : cells) {
                const json& row = listOf(cell, std::string("a cell of \"") + name + "\"", runs ? 3 : 2);
                const auto at =
                    static_cast<std::size_t>(whole(row[0], std::string("a \"") + name + "\" figure", 0, most));
                const std::int64_t count = whole(row[1], std::string("a \"") + name + "\" count", 1, inningsPlayed[k]);
                counted += count;
                if (counted > inningsPlayed[k]) break;
                if (table.size() <= at) table.resize(at + 1, 0);
                table[at] += count;
                if (!runs) continue;
                if (runs->size() <= at) runs->resize(at + 1, 0);
                (*runs)[at] += whole(row[2], "the runs of a \"balls\" cell", 0, count * kPerMatch);
            }
            return counted;
        };
        if (sum != inningsPlayed[k] || readTable("runs", kMostInningsRuns, c.byRuns, nullptr) != inningsPlayed[k] ||
            readTable("rates", InningsCounts::kMostRateHundredths, c.byRateHundredths, nullptr) != inningsPlayed[k] ||
            readTable("balls", kMostInningsBalls, c.byBalls, &c.runsByBalls) != inningsPlayed[k])
            refuse("innings " + std::to_string(k + 1) + "'s figures are not the innings played");
    }
}

void readTournamentSetup(const json& setup, TournamentPlan& plan, std::int32_t& firstSeed, std::int64_t& tournaments)
{
    plan.name = textOf(field(setup, "tournament"), "\"tournament\"");
    const json& names = field(setup, "sides");
    if (!names.is_array() || names.size() < 2 || names.size() > static_cast<std::size_t>(kMaxTournamentSides))
        refuse("\"sides\" is not a list of 2 to " + std::to_string(kMaxTournamentSides) + " names");
    const std::size_t n = names.size();
    const json& files = listOf(field(setup, "files"), "\"files\"", n);
    for (std::size_t s = 0; s < n; ++s) {
        Team team;
        team.setName(textOf(names[s], "a side's name"));
        plan.sides.push_back(team);
        plan.sidePaths.push_back(textOf(files[s], "a side's file"));
    }
    plan.options = optionsFrom(field(setup, "options"));
    plan.rounds = static_cast<int>(wholeField(setup, "rounds", 1, 2));
    const int sides = static_cast<int>(n);
    plan.groups = static_cast<int>(wholeField(setup, "groups", 1, sides / 2));
    plan.playoff = static_cast<int>(wholeField(setup, "playoff", 0, 16));
    const int p = plan.playoff;
    if ((p != 0 && p != 2 && p != 4 && p != 8 && p != 16) ||
        (p > 0 && (p % plan.groups != 0 || p / plan.groups > sides / plan.groups)))
        refuse("\"playoff\" is not a knock-out its groups can fill");
    firstSeed = static_cast<std::int32_t>(wholeField(setup, "firstSeed", INT32_MIN, INT32_MAX));
    tournaments = wholeField(setup, "tournaments", 1, INT_MAX);
    checkSeeds(firstSeed, tournaments * plan.matchesPerTournament());
}

// The counts of `count` tournaments: one winner each, two finalists (or the
// winner alone without knock-outs), `playoff` sides in the knock-outs, and
// one place of each side in each.
void readForecastTotals(const json& j, const TournamentPlan& plan, std::int64_t count, ForecastTotals& t)
{
    const std::size_t n = plan.sides.size();
    t.tournaments = wholeField(j, "tournaments", count, count);
    t.titles = countsOf(j, "titles", n, count);
    t.finals = countsOf(j, "finals", n, count);
    t.knockouts = countsOf(j, "knockouts", n, count);
    t.positions = countsOf(j, "positions", n * n, count);
    std::int64_t titles = 0, finals = 0, knockouts = 0;
    for (std::size_t s = 0; s < n; ++s) {
        if (t.titles[s] > t.finals[s] || t.finals[s] > t.knockouts[s])
            refuse("a side won more often than it reached the final or the knock-outs");
        titles += t.titles[s], finals += t.finals[s], knockouts += t.knockouts[s];
    }
    const std::int64_t p = plan.playoff > 1 ? plan.playoff : 1;
    if (titles != count || finals != (p > 1 ? 2 : 1) * count || knockouts != p * count)
        refuse("winners, finalists and knock-out sides do not add up to the tournaments");
    for (std::size_t a = 0; a < n; ++a) {
        std::int64_t bySide = 0, byPlace = 0;
        for (std::size_t b = 0; b < n; ++b) {
            bySide += t.positions[a * n + b];
            byPlace += t.positions[b * n + a];
        }
        if (bySide != count || byPlace != count) refuse("the places do not add up to the tournaments");
    }
}

}  // namespace

struct PartMerger::State {
    std::string firstFile, kind, setup, fingerprint;
    std::vector<bool> seen;  // by part number
    BatchSettings batchSettings;
    BatchResult batch;
    TournamentPlan plan;
    std::int32_t firstSeed = 0;
    ForecastTotals forecast;
    std::int64_t total = 0;  // matches or tournaments of the whole forecast
};

PartMerger::PartMerger() : state_(std::make_unique<State>()) {}
PartMerger::~PartMerger() = default;

bool PartMerger::add(const std::string& file, const std::string& text, std::string& error)
{
    State& m = *state_;
    json j;
    if (!parseJsonDocument(text, "forecast part", j, error)) return error = file + ": " + error, false;
    try {
        if (!j.is_object() || !j.contains("format") || j["format"] != kPartFormat)
            return error = file + ": not a forecast part written by --shard", false;
        if (!j.contains("fingerprint"))
            return error = file + ": written by an older pelmora-cli that did not fingerprint its parts; play it again",
                   false;
        const std::string fingerprint = textOf(j["fingerprint"], "\"fingerprint\"");
        if (fingerprint.size() != 16 || fingerprint.find_first_not_of("0123456789abcdef") != std::string::npos)
            refuse("\"fingerprint\" is not 16 hexadecimal digits");
        const std::string kind = textOf(field(j, "kind"), "\"kind\"");
        if (kind != "batch" && kind != "tournament") refuse("\"kind\" is neither batch nor tournament");
        ShardRange range;
        range.parts = static_cast<int>(wholeField(j, "parts", 1, 1000000));
        range.part = static_cast<int>(wholeField(j, "part", 1, range.parts));
        const json& setup = field(j, "setup");
        const std::string setupText = setup.dump(-1, ' ', false, json::error_handler_t::replace);
        if (m.firstFile.empty()) {
            if (kind == "batch") {
                readBatchSetup(setup, m.batchSettings, m.batch);
                m.total = m.batchSettings.matches;
            } else {
                readTournamentSetup(setup, m.plan, m.firstSeed, m.total);
                m.forecast = ForecastTotals(static_cast<int>(m.plan.sides.size()));
            }
            m.firstFile = file, m.kind = kind, m.setup = setupText, m.fingerprint = fingerprint;
            m.seen.assign(static_cast<std::size_t>(range.parts) + 1, false);
        } else if (kind != m.kind || range.parts + 1 != static_cast<int>(m.seen.size()) || setupText != m.setup) {
            return error = file + ": belongs to another forecast than " + m.firstFile, false;
        } else if (fingerprint != m.fingerprint) {
            return error = file + ": played with other options, settings or team files than " + m.firstFile +
                           " (their fingerprints differ); play every part with the same ones",
                   false;
        }
        if (m.seen[static_cast<std::size_t>(range.part)])
            return error = "part " + std::to_string(range.part) + " is given twice (" + file + ")", false;
        const auto [begin, end] = shardSlice(m.total, range);
        const json& totals = field(j, "totals");
        if (kind == "batch") {
            BatchTotals part;
            readBatchTotals(totals, end - begin, m.batch.inningsPerMatch, part);
            m.batch.totals.add(part);
        } else {
            ForecastTotals part;
            readForecastTotals(totals, m.plan, end - begin, part);
            m.forecast.add(part);
        }
        m.seen[static_cast<std::size_t>(range.part)] = true;
    } catch (const std::exception& e) {
        return error = file + ": not a forecast part (" + printableText(e.what(), std::string::npos) + ")", false;
    }
    return true;
}

bool PartMerger::finish(bool asJson, std::string& summary, std::string& error)
{
    const State& m = *state_;
    if (m.firstFile.empty()) return error = "--merge needs the part files to merge", false;
    for (std::size_t i = 1; i < m.seen.size(); ++i)
        if (!m.seen[i])
            return error = "part " + std::to_string(i) + " of " + std::to_string(m.seen.size() - 1) + " is missing",
                   false;
    try {
        if (m.kind == "tournament")
            summary = asJson ? formatForecastJson(m.plan, m.forecast, m.firstSeed)
                             : formatForecastTable(m.plan, m.forecast, m.firstSeed);
        else
            summary = asJson ? formatBatchJson(m.batch, m.batchSettings) : formatBatchTable(m.batch, m.batchSettings);
    } catch (const std::exception& e) {
        return error = std::string("cannot write the merged summary: ") + e.what(), false;
    }
    return true;
}

bool mergeParts(const std::vector<std::string>& files, bool asJson, std::string& summary, std::string& error)
{
    PartMerger merger;
    for (const std::string& file : files) {
        std::string text, why;
        if (!readBoundedFile(file, kMaxPartBytes, text, why))
            return error = "cannot read part " + file + ": " + why, false;
        if (!merger.add(file, text, error)) return false;
    }
    return merger.finish(asJson, summary, error);
}
