#include "analysis/batch_summary.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <vector>

#include "analysis/formatted.h"
#include "engine/records.h"
#include "match/match.h"
#include "teams/text_encoding.h"

namespace {

constexpr const char* kKindNames[10] = {"did not bat",  "bowled", "lbw",     "hit wicket",
                                        "stumped",      "caught", "run out", "handled the ball",
                                        "retired hurt", "not out"};

struct InningsSummary {
    Distribution runs, wickets, runRate;
    Proportion allOut;
    double extras = 0;
    std::int64_t count = 0;
};

InningsSummary summariseInnings(const BatchResult& r, int k)
{
    InningsSummary s;
    const InningsCounts& c = r.totals.innings[k];
    std::vector<std::pair<double, std::int64_t>> runs, wickets, rate;
    for (std::size_t r = 0; r < c.byRuns.size(); ++r) {
        if (c.byRuns[r] == 0) continue;
        runs.emplace_back(static_cast<double>(r), c.byRuns[r]);
        s.count += c.byRuns[r];
    }
    for (std::size_t h = 0; h < c.byRateHundredths.size(); ++h)
        if (c.byRateHundredths[h]) rate.emplace_back(static_cast<double>(h) / 100.0, c.byRateHundredths[h]);
    for (int w = 0; w <= 10; ++w)
        if (c.wickets[w]) wickets.emplace_back(w, c.wickets[w]);
    s.runs = distribution(runs);
    s.wickets = distribution(wickets);
    s.runRate = distribution(rate);
    s.runRate.mean = c.meanRunRate();
    s.allOut = wilsonInterval(r.totals.allOut[k], r.totals.inningsPlayed[k]);
    s.extras = r.totals.inningsPlayed[k]
                   ? static_cast<double>(r.totals.extras[k]) / static_cast<double>(r.totals.inningsPlayed[k])
                   : 0.0;
    return s;
}

// "%-*s" by characters, for UTF-8 names.
std::string padded(const std::string& text, std::size_t width)
{
    std::string out;
    appendPadded(out, text, width);
    return out;
}

struct Ranked {
    int slot, player;
    double average;
    std::int64_t count;  // outs (batting) or wickets (bowling)
    std::int64_t runs;
};

// Batsmen by runs per dismissal, bowlers by runs per wicket; a player needs
// a handful of dismissals or wickets to qualify, so one lucky innings does
// not top the list.
std::vector<Ranked> rank(const BatchResult& r, bool batting)
{
    const std::int64_t qualify = std::max<std::int64_t>(1, r.totals.played / 20);
    std::vector<Ranked> list;
    for (int s = 0; s < 2; ++s) {
        for (int p = 0; p < 11; ++p) {
            const PlayerTotals& t = r.totals.players[s][p];
            const std::int64_t count = batting ? t.outs : t.wickets;
            const std::int64_t runs = batting ? t.runs : t.runsConceded;
            if (count < qualify) continue;
            list.push_back({s, p, static_cast<double>(runs) / static_cast<double>(count), count, runs});
        }
    }
    std::stable_sort(list.begin(), list.end(), [batting](const Ranked& a, const Ranked& b) {
        return batting ? a.average > b.average : a.average < b.average;
    });
    if (list.size() > 5) list.resize(5);
    return list;
}

nlohmann::json toJson(const Proportion& p)
{
    return {{"share", p.share}, {"ci95", {p.low, p.high}}};
}
nlohmann::json toJson(const Distribution& d)
{
    return {{"mean", d.mean}, {"median", d.median}, {"p10", d.p10}, {"p90", d.p90}};
}

std::string line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string line(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = vformatted(format, args);
    va_end(args);
    return text += '\n';
}

std::string percent(const Proportion& p)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%5.1f%%  (95%% CI %5.1f-%5.1f%%)", p.share * 100, p.low * 100, p.high * 100);
    return buf;
}

}  // namespace

std::string matchKind(const GameOptions& options)
{
    if (!options.oneDay) return "Test";
    const int overs = Match::oneDayBalls(options) / 6;
    return overs == Match::kMaxOvers ? "one-day" : std::to_string(overs) + "-over";
}

std::string formatBatchTable(const BatchResult& r, const BatchSettings& settings)
{
    const BatchTotals& t = r.totals;
    const bool oneDay = settings.options.oneDay != 0;
    const std::string kind = matchKind(settings.options);
    std::string out;
    const long long lastSeed =
        static_cast<long long>(settings.firstSeed) + (settings.matches > 0 ? settings.matches - 1 : 0);
    out += r.names[0] + " v " + r.names[1] +
           line(": %d %s matches, seeds %d..%lld", settings.matches, kind.c_str(), settings.firstSeed, lastSeed);
    if (t.refused)
        out += line("refused (a side cannot bowl an innings through): %lld", static_cast<long long>(t.refused));
    if (t.played == 0) return out;
    out += "\nResults\n";
    for (int side = 0; side < 2; ++side)
        out += "  " + padded(r.names[side] + " wins", 28) +
               line(" %7lld  %s", static_cast<long long>(t.wins[side]),
                    percent(wilsonInterval(t.wins[side], t.played)).c_str());
    out += line("  %-28s %7lld  %s", "ties", static_cast<long long>(t.ties),
                percent(wilsonInterval(t.ties, t.played)).c_str());
    out += line("  %-28s %7lld  %s", "side batting first wins", static_cast<long long>(t.battedFirstWins),
                percent(wilsonInterval(t.battedFirstWins, t.played)).c_str());
    if (!oneDay)
        out += line("  %-28s %7lld  %s", "draws (time ran out)", static_cast<long long>(t.timeRanOut),
                    percent(wilsonInterval(t.timeRanOut, t.played)).c_str());

    out += "\nInnings            mean  median   p10   p90\n";
    for (int k = 0; k < r.inningsPerMatch; ++k) {
        const InningsSummary s = summariseInnings(r, k);
        if (!s.count) continue;
        out +=
            line("%d runs        %8.1f %7.0f %5.0f %5.0f", k + 1, s.runs.mean, s.runs.median, s.runs.p10, s.runs.p90);
        out += line("  wickets     %8.2f %7.0f %5.0f %5.0f", s.wickets.mean, s.wickets.median, s.wickets.p10,
                    s.wickets.p90);
        out += line("  run rate    %8.2f %7.2f %5.2f %5.2f", s.runRate.mean, s.runRate.median, s.runRate.p10,
                    s.runRate.p90);
        out += line("  all out     %s", percent(s.allOut).c_str());
        out += line("  extras      %8.1f per innings", s.extras);
    }

    std::int64_t wickets = 0;
    for (int k = 1; k <= 8; ++k)
        wickets += t.dismissals[k];
    out += "\nDismissals\n";
    for (int k = 1; k <= 8; ++k)
        if (t.dismissals[k])
            out += line("  %-18s %5.1f%%", kKindNames[k],
                        100.0 * static_cast<double>(t.dismissals[k]) / static_cast<double>(wickets));

    out += "\nTop batsmen (runs per dismissal)\n";
    for (const Ranked& x : rank(r, true))
        out += "  " + padded(r.playerNames[x.slot][x.player], 16) + " " + padded(r.names[x.slot], 16) +
               line(" %7.2f  (%lld runs, %lld outs)", x.average, static_cast<long long>(x.runs),
                    static_cast<long long>(x.count));
    out += "\nTop bowlers (runs per wicket)\n";
    for (const Ranked& x : rank(r, false))
        out += "  " + padded(r.playerNames[x.slot][x.player], 16) + " " + padded(r.names[x.slot], 16) +
               line(" %7.2f  (%lld wickets, %lld runs)", x.average, static_cast<long long>(x.count),
                    static_cast<long long>(x.runs));
    return out;
}

std::string formatBatchJson(const BatchResult& r, const BatchSettings& settings)
{
    const BatchTotals& t = r.totals;
    nlohmann::json j;
    j["teams"] = {r.names[0], r.names[1]};
    j["matchType"] = matchKind(settings.options);
    j["matches"] = settings.matches;
    j["firstSeed"] = settings.firstSeed;
    j["played"] = t.played;
    j["refused"] = t.refused;
    j["results"] = {
        {"wins",
         {{{"team", r.names[0]}, {"count", t.wins[0]}, {"proportion", toJson(wilsonInterval(t.wins[0], t.played))}},
          {{"team", r.names[1]}, {"count", t.wins[1]}, {"proportion", toJson(wilsonInterval(t.wins[1], t.played))}}}},
        {"ties", {{"count", t.ties}, {"proportion", toJson(wilsonInterval(t.ties, t.played))}}},
        {"battedFirstWins",
         {{"count", t.battedFirstWins}, {"proportion", toJson(wilsonInterval(t.battedFirstWins, t.played))}}},
        {"draws", {{"count", t.timeRanOut}, {"proportion", toJson(wilsonInterval(t.timeRanOut, t.played))}}},
    };
    nlohmann::json innings = nlohmann::json::array();
    for (int k = 0; k < r.inningsPerMatch; ++k) {
        const InningsSummary s = summariseInnings(r, k);
        innings.push_back({{"innings", k + 1},
                           {"count", s.count},
                           {"runs", toJson(s.runs)},
                           {"wickets", toJson(s.wickets)},
                           {"runRate", toJson(s.runRate)},
                           {"allOut", toJson(s.allOut)},
                           {"extrasPerInnings", s.extras}});
    }
    j["innings"] = innings;
    nlohmann::json kinds = nlohmann::json::object();
    for (int k = 1; k <= 8; ++k)
        kinds[kKindNames[k]] = t.dismissals[k];
    j["dismissals"] = kinds;
    auto players = [&](bool batting) {
        nlohmann::json list = nlohmann::json::array();
        for (const Ranked& x : rank(r, batting))
            list.push_back({{"name", r.playerNames[x.slot][x.player]},
                            {"team", r.names[x.slot]},
                            {"average", x.average},
                            {batting ? "outs" : "wickets", x.count},
                            {batting ? "runs" : "runsConceded", x.runs}});
        return list;
    };
    j["topBatsmen"] = players(true);
    j["topBowlers"] = players(false);
    // Names are UTF-8 by construction; should one not be, it is replaced, never thrown over.
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
