#include "analysis/cricsheet.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>
#include <optional>

#include "match/match.h"

namespace {

using nlohmann::json;

const char* kindName(int kind, bool caughtByBowler)
{
    switch (kind) {
    case Bowled: return "bowled";
    case Lbw: return "lbw";
    case HitWicket: return "hit wicket";
    case Stumped: return "stumped";
    case Caught: return caughtByBowler ? "caught and bowled" : "caught";
    case RunOut: return "run out";
    case HandledBall: return "handled the ball";
    case RetiredHurt: return "retired hurt";
    default: return "";
    }
}

std::string nameOf(const Team* team, int index)
{
    const Player* p = team ? team->player(index) : nullptr;
    return p ? p->name() : "";
}

json inningsJson(const Innings& inn, bool oneDay)
{
    json overs = json::array();
    json current;
    int currentOver = -1;
    // The two at the crease: the striker is in every record; the dismissed
    // batsman is always the striker, and the next in the order replaces him.
    int pair[2] = {inn.battingOrder[0], inn.battingOrder[1]};
    int nextIn = 2;
    int legalBefore = 0;
    for (int i = 0; i < inn.deliveries; ++i) {
        const BallRecord& r = inn.ballRecord(i);
        const int over = legalBefore / 6;
        if (over != currentOver) {
            if (currentOver >= 0) overs.push_back(current);
            current = json{{"over", over}, {"deliveries", json::array()}};
            currentOver = over;
        }
        const int nonStriker = pair[0] == r.strikerPlayer ? pair[1] : pair[0];
        json d{{"batter", nameOf(inn.battingTeam, r.strikerPlayer)},
               {"bowler", nameOf(inn.bowlingTeam, r.bowlerPlayer)},
               {"non_striker", nameOf(inn.battingTeam, nonStriker)}};
        int batter = 0;
        json extras = json::object();
        if (r.event == Scoring) {
            switch (r.runKind) {
            case Bat: batter = r.runs; break;
            case BatOffNoBall:
                batter = r.runs;
                extras["noballs"] = 1;
                break;
            case NoBallRun: extras["noballs"] = r.runs; break;
            case WideRun: extras["wides"] = r.runs; break;
            case Byes: extras["byes"] = r.runs; break;
            case LegByes: extras["legbyes"] = r.runs; break;
            default: break;
            }
        }
        int extraRuns = 0;
        for (const auto& e : extras.items())
            extraRuns += e.value().get<int>();
        d["runs"] = {{"batter", batter}, {"extras", extraRuns}, {"total", batter + extraRuns}};
        if (!extras.empty()) d["extras"] = extras;

        if (r.event == Wicket) {
            const int position = inn.positionOf(r.strikerPlayer);
            const Dismissal dismissal = position < 11 ? inn.batting[position].dismissal : Dismissal{};
            const int fielder =
                (dismissal.fielder >= 0 && dismissal.fielder < 11) ? inn.fielders[dismissal.fielder] : -1;
            const int bowler = inn.bowlingTeam->bowlerAt(dismissal.bowler);
            const bool caughtByBowler = dismissal.kind == Caught && fielder == bowler;
            json w{{"player_out", nameOf(inn.battingTeam, r.strikerPlayer)},
                   {"kind", kindName(dismissal.kind, caughtByBowler)}};
            if ((dismissal.kind == Caught && !caughtByBowler) || dismissal.kind == RunOut)
                w["fielders"] = json::array({json{{"name", nameOf(inn.bowlingTeam, fielder)}}});
            d["wickets"] = json::array({w});
            const int out = r.strikerPlayer;
            if (nextIn < inn.batsmenIn) {
                const int incoming = inn.battingOrder[nextIn++];
                if (pair[0] == out)
                    pair[0] = incoming;
                else
                    pair[1] = incoming;
            }
        }
        current["deliveries"].push_back(d);
        if (r.delivery == Legal) ++legalBefore;
    }
    if (currentOver >= 0) overs.push_back(current);

    json j{{"team", inn.battingTeam->name()}, {"overs", overs}};
    // The score that wins; a target of no runs is no target at all.
    if (inn.target != -1 && inn.target + 1 >= 1) {
        j["target"] = {{"runs", inn.target + 1}};
        if (oneDay) j["target"]["overs"] = inn.maxBalls / 6;
    }
    // Closed by neither the tenth wicket, the allowance nor the target: declared.
    const bool chased = inn.target != -1 && inn.runs > inn.target;
    if (inn.closed && inn.wickets < 10 && inn.legalBalls < inn.maxBalls && !chased) j["declared"] = true;
    return j;
}

// How cricket reads the match: the innings it counts (from the first) and
// its outcome.
struct Reading {
    int innings = 0;
    json outcome;
};

Reading readMatch(const Match& match)
{
    const bool oneDay = match.inningsCount == 2;
    const json draw{{"result", "draw"}};
    int total[2] = {0, 0};  // by the side batting first, second
    for (int k = 0; k < match.inningsCount && k < 4; ++k) {
        const Innings& inn = match.innings[k];
        // A later innings that could not start ended the match there.
        if (!inn.battingTeam || inn.deliveries == 0) return {k, {{"result", "no result"}}};
        // The ball budget was spent before this innings: its one ball never
        // happened in cricket, time ran out.
        if (!oneDay && inn.maxBalls <= 0) return {k, draw};
        total[k % 2] += inn.runs;
        if (match.timeRanOutIn(k)) return {k + 1, draw};
        // Behind after both their innings: the side batting second has won
        // without batting again.
        if (k == 2 && total[0] < total[1])
            return {3, {{"winner", match.teams[1].name()}, {"by", {{"innings", 1}, {"runs", total[1] - total[0]}}}}};
    }
    const int n = match.inningsCount;
    if (total[1] > total[0])
        return {n, {{"winner", match.teams[1].name()}, {"by", {{"wickets", 10 - match.innings[n - 1].wickets}}}}};
    if (total[0] > total[1]) return {n, {{"winner", match.teams[0].name()}, {"by", {{"runs", total[0] - total[1]}}}}};
    return {n, {{"result", "tie"}}};
}

// The day a date written YYYY-MM-DD names, if it names one.
std::optional<std::chrono::sys_days> dayOf(const std::string& date)
{
    int y = 0;
    unsigned m = 0, d = 0;
    if (std::sscanf(date.c_str(), "%d-%u-%u", &y, &m, &d) != 3) return std::nullopt;
    const std::chrono::year_month_day day{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
    if (!day.ok()) return std::nullopt;
    return std::chrono::sys_days{day};
}

std::string dateText(std::chrono::sys_days day)
{
    const std::chrono::year_month_day ymd{day};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
    return text;
}

// Tests last at most 2700 balls: five days of ninety overs.
constexpr int kDaysOfATest = 5;

// One date per day played, at ninety overs a day.
json matchDates(const std::string& first, int legalBalls, bool oneDay)
{
    json dates = json::array({first});
    const int days = oneDay ? 1 : (legalBalls + 539) / 540;
    const auto day0 = dayOf(first);
    if (days <= 1 || !day0) return dates;
    for (int i = 1; i < days; ++i)
        dates.push_back(dateText(*day0 + std::chrono::days{i}));
    return dates;
}

}  // namespace

std::string cricsheetPlayerId(const std::string& side, const std::string& player)
{
    std::uint32_t h = 2166136261u;
    auto mix = [&h](unsigned char c) { h = (h ^ c) * 16777619u; };
    for (unsigned char c : side)
        mix(c);
    mix(0);
    for (unsigned char c : player)
        mix(c);
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(h));
    return text;
}

std::string cricsheetMatchDate(const std::string& first, long long index, bool oneDay)
{
    const auto day0 = dayOf(first);
    if (!day0 || index <= 0) return first;
    const int step = oneDay ? 1 : kDaysOfATest;
    const std::chrono::sys_days last{std::chrono::year{9999} / 12 / 31};
    const long long room = (last - *day0).count() / step + 1;  // matches that fit before the year 10000
    return dateText(*day0 + std::chrono::days{(index % room) * step});
}

std::string cricsheetJson(const Match& match, const std::string& date, const std::string& venue,
                          const CricsheetEvent* event)
{
    const bool oneDay = match.inningsCount == 2;
    const Reading reading = readMatch(match);
    int legalBalls = 0;
    for (int k = 0; k < reading.innings; ++k)
        legalBalls += match.innings[k].legalBalls;

    json info;
    info["balls_per_over"] = 6;
    info["dates"] = matchDates(date, legalBalls, oneDay);
    if (event) {
        json e = json::object();
        if (!event->name.empty()) e["name"] = event->name;
        if (event->matchNumber > 0) e["match_number"] = event->matchNumber;
        if (!event->group.empty()) e["group"] = event->group;
        if (!event->stage.empty()) e["stage"] = event->stage;
        info["event"] = e;
    }
    info["gender"] = "male";
    const int overs = Match::oneDayBalls(match.options()) / 6;
    info["match_type"] = oneDay ? (overs == 20 ? "T20" : "ODM") : "MDM";
    if (oneDay) info["overs"] = overs;
    info["outcome"] = reading.outcome;
    json players = json::object(), people = json::object();
    for (const Team& t : match.teams) {
        json list = json::array();
        for (int p = 0; p < Team::kPlayers; ++p) {
            const std::string name = t.player(p)->name();
            list.push_back(name);
            people[name] = cricsheetPlayerId(t.name(), name);
        }
        players[t.name()] = list;
    }
    info["players"] = players;
    info["registry"] = {{"people", people}};
    info["season"] = date.substr(0, 4);
    info["team_type"] = "club";
    info["teams"] = {match.teams[0].name(), match.teams[1].name()};
    if (match.tossWinner == 0 || match.tossWinner == 1)
        info["toss"] = {{"winner", match.teams[match.tossWinner].name()},
                        {"decision", match.tossWinner == 0 ? "bat" : "field"}};
    info["venue"] = venue.empty() ? kDefaultVenue : venue;

    json innings = json::array();
    for (int k = 0; k < reading.innings; ++k)
        innings.push_back(inningsJson(match.innings[k], oneDay));
    json doc{{"meta", {{"data_version", "1.1.0"}, {"created", date}, {"revision", 1}}},
             {"info", info},
             {"innings", innings}};
    // Names are UTF-8 already; should a byte not be, it must not stop the export.
    return doc.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string todayUtc()
{
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", &utc);
    return buf;
}
