#include "rating/match_record.h"

#include <nlohmann/json.hpp>
#include <unordered_map>

#include "analysis/bounded_input.h"
#include "analysis/json_document.h"
#include "match/match.h"

namespace {

using nlohmann::json;

OutKind outKindOf(const std::string& kind)
{
    static const std::unordered_map<std::string, OutKind> kinds = {
        {"bowled", OutKind::Bowled},
        {"caught", OutKind::Caught},
        {"caught and bowled", OutKind::CaughtAndBowled},
        {"lbw", OutKind::Lbw},
        {"stumped", OutKind::Stumped},
        {"run out", OutKind::RunOut},
        {"hit wicket", OutKind::HitWicket},
        {"retired hurt", OutKind::RetiredHurt},
        {"retired not out", OutKind::RetiredNotOut},
    };
    const auto it = kinds.find(kind);
    return it == kinds.end() ? OutKind::Other : it->second;
}

int intOr(const json& object, const char* key, int fallback)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_number_integer() ? it->get<int>() : fallback;
}

// People of one match by side and name; a name missing from the elevens
// (a substitute, a file that lists fewer) is added to the side it played for.
class People {
public:
    explicit People(MatchRecord& match) : match_(match) {}

    int add(const std::string& name, int side)
    {
        const auto it = index_[side].find(name);
        if (it != index_[side].end()) return it->second;
        const int i = static_cast<int>(match_.people.size());
        match_.people.push_back(PersonRecord{name, {}, side});
        index_[side].emplace(name, i);
        return i;
    }

    int find(const std::string& name, int side) const
    {
        const auto it = index_[side].find(name);
        return it == index_[side].end() ? -1 : it->second;
    }

private:
    MatchRecord& match_;
    std::unordered_map<std::string, int> index_[2];
};

// Who came in for whom; a team that is neither side is not one of these.
void parseReplacements(const json& d, MatchRecord& match, People& people)
{
    const auto r = d.find("replacements");
    if (r == d.end() || !r->is_object()) return;
    const auto list = r->find("match");
    if (list == r->end() || !list->is_array()) return;
    for (const json& entry : *list) {
        const std::string team = entry.value("team", std::string());
        const int side = team == match.sides[0] ? 0 : team == match.sides[1] ? 1 : -1;
        if (side < 0 || !entry.contains("in") || !entry.contains("out")) continue;
        const int in = people.add(entry["in"].get<std::string>(), side);
        const int out = people.add(entry["out"].get<std::string>(), side);
        match.replacements.push_back({in, out});
    }
}

void parseDelivery(const json& d, int batting, People& people, DeliveryRecord& out)
{
    const int bowling = 1 - batting;
    out.batter = people.add(d.at("batter").get<std::string>(), batting);
    out.bowler = people.add(d.at("bowler").get<std::string>(), bowling);
    if (d.contains("non_striker")) out.nonStriker = people.add(d["non_striker"].get<std::string>(), batting);
    const json& runs = d.at("runs");
    out.batterRuns = runs.at("batter").get<int>();
    out.boundary = (out.batterRuns == 4 || out.batterRuns == 6) && !runs.value("non_boundary", false);
    if (const auto e = d.find("extras"); e != d.end()) {
        out.wides = intOr(*e, "wides", 0);
        out.noBalls = intOr(*e, "noballs", 0);
    }
    if (const auto w = d.find("wickets"); w != d.end()) {
        for (const json& wicket : *w) {
            if (out.wicketCount == 2) break;
            WicketRecord& r = out.wickets[out.wicketCount++];
            r.playerOut = people.add(wicket.at("player_out").get<std::string>(), batting);
            r.kind = outKindOf(wicket.at("kind").get<std::string>());
            if (r.kind == OutKind::CaughtAndBowled) r.fielder = out.bowler;
            if (const auto f = wicket.find("fielders"); f != wicket.end() && f->is_array() && !f->empty()) {
                const json& first = (*f)[0];
                if (first.contains("name") && !first.value("substitute", false))
                    r.fielder = people.add(first["name"].get<std::string>(), bowling);
            }
        }
    }
}

}  // namespace

namespace {

// A text member of an object, empty when absent or not text.
std::string textOr(const json& object, const char* key)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// Reads the file; with `innings` the deliveries too, otherwise only info.
bool parseMatch(const std::string& text, bool innings, MatchRecord& out, std::string& why)
{
    out = MatchRecord{};
    json doc;
    if (!parseJsonDocument(text, "Cricsheet match file", doc, why)) return false;
    try {
        if (!doc.is_object() || !doc.contains("info") || (innings && !doc.contains("innings"))) {
            why = innings ? "not a Cricsheet match file (no info or innings)" : "not a Cricsheet match file (no info)";
            return false;
        }
        const json& info = doc["info"];
        const json& teams = info.at("teams");
        if (!teams.is_array() || teams.size() != 2) {
            why = "not a Cricsheet match file (info.teams is not two sides)";
            return false;
        }
        out.sides[0] = teams[0].get<std::string>();
        out.sides[1] = teams[1].get<std::string>();
        out.matchType = textOr(info, "match_type");
        out.gender = textOr(info, "gender");
        out.teamType = textOr(info, "team_type");
        if (const auto event = info.find("event"); event != info.end() && event->is_object())
            out.event = textOr(*event, "name");
        out.overs = intOr(info, "overs", 0);
        if (const auto dates = info.find("dates"); dates != info.end() && dates->is_array() && !dates->empty()) {
            out.firstDate = dates->front().get<std::string>();
            out.date = dates->back().get<std::string>();
        }
        if (const auto outcome = info.find("outcome"); outcome != info.end() && outcome->is_object()) {
            const std::string winner = textOr(*outcome, "winner");
            out.winner = winner.empty() ? -1 : winner == out.sides[0] ? 0 : winner == out.sides[1] ? 1 : -1;
            out.result = textOr(*outcome, "result");
        }

        if (const auto toss = info.find("toss"); toss != info.end() && toss->is_object()) {
            const std::string winner = textOr(*toss, "winner"), decision = textOr(*toss, "decision");
            const int won = winner == out.sides[0] ? 0 : winner == out.sides[1] ? 1 : -1;
            if (won >= 0 && (decision == "bat" || decision == "field"))
                out.battedFirst = decision == "bat" ? won : 1 - won;
        }

        People people(out);
        if (const auto players = info.find("players"); players != info.end()) {
            for (int s = 0; s < 2; ++s) {
                const auto list = players->find(out.sides[s]);
                if (list == players->end()) continue;
                for (const json& name : *list)
                    people.add(name.get<std::string>(), s);
            }
        }
        out.listed = static_cast<int>(out.people.size());
        static const json none = json::array();
        for (const json& inn : innings ? doc["innings"] : none) {
            // A super over decides a tie; it is not part of anyone's figures.
            if (inn.is_object() && inn.value("super_over", false)) continue;
            const std::string team = inn.at("team").get<std::string>();
            InningsRecord record;
            if (team == out.sides[0])
                record.side = 0;
            else if (team == out.sides[1])
                record.side = 1;
            else {
                why = "innings of \"" + team + "\", who is not one of the two sides";
                return false;
            }
            if (const auto overs = inn.find("overs"); overs != inn.end()) {
                for (const json& over : *overs) {
                    const int number = intOr(over, "over", 0);
                    for (const json& d : over.at("deliveries")) {
                        parseReplacements(d, out, people);
                        record.deliveries.emplace_back();
                        record.deliveries.back().over = number;
                        parseDelivery(d, record.side, people, record.deliveries.back());
                    }
                }
            }
            out.innings.push_back(std::move(record));
        }

        // Files with a register name every person by a stable identifier.
        const auto registry = info.find("registry");
        if (registry != info.end() && registry->contains("people")) {
            const json& ids = (*registry)["people"];
            for (PersonRecord& p : out.people) {
                const auto id = ids.find(p.name);
                if (id != ids.end() && id->is_string()) p.id = id->get<std::string>();
            }
        }
    } catch (const json::exception& e) {
        why = std::string("not a Cricsheet match file (") + e.what() + ")";
        return false;
    }
    return true;
}

}  // namespace

bool parseCricsheet(const std::string& text, MatchRecord& out, std::string& why)
{
    return parseMatch(text, true, out, why);
}

bool parseCricsheetInfo(const std::string& text, MatchRecord& out, std::string& why)
{
    return parseMatch(text, false, out, why);
}

void recordOfMatch(const Match& match, MatchRecord& out)
{
    out.sides[0] = match.teams[0].name();
    out.sides[1] = match.teams[1].name();
    out.overs = match.inningsCount == 2 ? Match::oneDayBalls(match.options()) / 6 : 0;
    out.matchType = match.inningsCount == 2 ? "ODM" : "MDM";
    out.people.resize(2 * Team::kPlayers);
    out.listed = 2 * Team::kPlayers;
    for (int s = 0; s < 2; ++s)
        for (int p = 0; p < Team::kPlayers; ++p) {
            PersonRecord& person = out.people[s * Team::kPlayers + p];
            person.name = match.teams[s].player(p)->name();
            person.side = s;
        }
    out.innings.resize(0);
    for (int k = 0; k < match.inningsCount; ++k) {
        const Innings& inn = match.innings[k];
        if (!inn.battingTeam || inn.deliveries == 0) continue;
        const int batting = inn.battingTeam == &match.teams[0] ? 0 : 1;
        const int base = batting * Team::kPlayers, other = (1 - batting) * Team::kPlayers;
        InningsRecord& record = out.innings.emplace_back();
        record.side = batting;
        record.deliveries.resize(static_cast<std::size_t>(inn.deliveries));
        // The dismissed batsman is always the striker; the next in the order replaces him.
        int pair[2] = {inn.battingOrder[0], inn.battingOrder[1]};
        int nextIn = 2;
        int legalBefore = 0;
        for (int i = 0; i < inn.deliveries; ++i) {
            const BallRecord& r = inn.ballRecord(i);
            DeliveryRecord& d = record.deliveries[static_cast<std::size_t>(i)];
            d.over = legalBefore / 6;
            if (r.delivery == Legal) ++legalBefore;
            d.batter = base + r.strikerPlayer;
            d.nonStriker = base + (pair[0] == r.strikerPlayer ? pair[1] : pair[0]);
            d.bowler = other + r.bowlerPlayer;
            if (r.event == Scoring) {
                switch (r.runKind) {
                case Bat: d.batterRuns = r.runs; break;
                case BatOffNoBall:
                    d.batterRuns = r.runs;
                    d.noBalls = 1;
                    break;
                case NoBallRun: d.noBalls = r.runs; break;
                case WideRun: d.wides = r.runs; break;
                default: break;
                }
                d.boundary = d.batterRuns == 4 || d.batterRuns == 6;
            }
            if (r.event != Wicket) continue;
            const int position = inn.positionOf(r.strikerPlayer);
            const Dismissal dismissal = position < 11 ? inn.batting[position].dismissal : Dismissal{};
            const int fielder =
                (dismissal.fielder >= 0 && dismissal.fielder < 11) ? inn.fielders[dismissal.fielder] : -1;
            WicketRecord& w = d.wickets[d.wicketCount++];
            w.playerOut = d.batter;
            switch (dismissal.kind) {
            case Bowled: w.kind = OutKind::Bowled; break;
            case Lbw: w.kind = OutKind::Lbw; break;
            case HitWicket: w.kind = OutKind::HitWicket; break;
            case Stumped: w.kind = OutKind::Stumped; break;
            case Caught: w.kind = fielder == r.bowlerPlayer ? OutKind::CaughtAndBowled : OutKind::Caught; break;
            case RunOut: w.kind = OutKind::RunOut; break;
            case RetiredHurt: w.kind = OutKind::RetiredHurt; break;
            default: w.kind = OutKind::Other; break;
            }
            if (fielder >= 0 && (w.kind == OutKind::Caught || w.kind == OutKind::CaughtAndBowled ||
                                 w.kind == OutKind::RunOut || w.kind == OutKind::Stumped))
                w.fielder = other + fielder;
            if (nextIn < inn.batsmenIn) {
                const int incoming = inn.battingOrder[nextIn++];
                if (pair[0] == r.strikerPlayer)
                    pair[0] = incoming;
                else
                    pair[1] = incoming;
            }
        }
    }
}
