#include "analysis/cricsheet.h"

#include <ctime>
#include <nlohmann/json.hpp>

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

json inningsJson(const Innings& inn)
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
        for (const auto& e : extras.items()) extraRuns += e.value().get<int>();
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
                if (pair[0] == out) pair[0] = incoming;
                else pair[1] = incoming;
            }
        }
        current["deliveries"].push_back(d);
        if (r.delivery == Legal) ++legalBefore;
    }
    if (currentOver >= 0) overs.push_back(current);

    json j{{"team", inn.battingTeam->name()}, {"overs", overs}};
    if (inn.target != -1) j["target"] = {{"runs", inn.target + 1}};
    // Closed by neither the tenth wicket, the allowance nor the target: declared.
    const bool chased = inn.target != -1 && inn.runs > inn.target;
    if (inn.closed && inn.wickets < 10 && inn.legalBalls < inn.maxBalls && !chased) j["declared"] = true;
    return j;
}

}  // namespace

std::string cricsheetJson(const Match& match, const std::string& date)
{
    const int n = match.inningsCount;
    const bool oneDay = n == 2;
    json info;
    info["balls_per_over"] = 6;
    info["dates"] = json::array({date});
    info["gender"] = "male";
    info["match_type"] = oneDay ? "ODM" : "MDM";
    if (oneDay) info["overs"] = Match::kOneDayBalls / 6;
    info["teams"] = {match.teams[0].name(), match.teams[1].name()};
    json players = json::object();
    for (const Team& t : match.teams) {
        json list = json::array();
        for (int p = 0; p < Team::kPlayers; ++p) list.push_back(t.player(p)->name());
        players[t.name()] = list;
    }
    info["players"] = players;
    if (match.tossWinner == 0 || match.tossWinner == 1)
        info["toss"] = {{"winner", match.teams[match.tossWinner].name()},
                        {"decision", match.tossWinner == 0 ? "bat" : "field"}};

    // The same result as the report's last line: aggregates decide, even a
    // Test that ran out of balls.
    const int a = match.innings[0].runs + (n > 2 ? match.innings[2].runs : 0);
    const int b = match.innings[1].runs + (n > 3 ? match.innings[3].runs : 0);
    if (a > b) {
        info["outcome"] = {{"winner", match.teams[0].name()}, {"by", {{"runs", a - b}}}};
    } else if (b > a) {
        const int last = n > 3 ? 3 : 1;
        info["outcome"] = {{"winner", match.teams[1].name()}, {"by", {{"wickets", 10 - match.innings[last].wickets}}}};
    } else {
        info["outcome"] = {{"result", "tie"}};
    }

    json innings = json::array();
    for (int k = 0; k < n; ++k) {
        const Innings& inn = match.innings[k];
        if (!inn.battingTeam || inn.deliveries == 0) continue;
        innings.push_back(inningsJson(inn));
    }
    json doc{{"meta", {{"data_version", "1.1.0"}, {"created", date}, {"revision", 1}}},
             {"info", info},
             {"innings", innings}};
    return doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
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
