#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "analysis/charts.h"
#include "analysis/cricsheet.h"
#include "match/match.h"
#include "match/unattended.h"
#include "support.h"

namespace {

using nlohmann::json;

struct ReadInnings {
    std::string team;
    int runs = 0, wickets = 0, legalBalls = 0, extras = 0, wides = 0, noBalls = 0, byes = 0, legByes = 0;
    bool declared = false;
};

// What a reader makes of an innings: its figures, added up from the deliveries.
ReadInnings readInnings(const json& inn)
{
    ReadInnings r;
    r.team = inn.at("team");
    r.declared = inn.value("declared", false);
    for (const auto& over : inn.at("overs"))
        for (const auto& d : over.at("deliveries")) {
            r.runs += d.at("runs").at("total").get<int>();
            r.extras += d.at("runs").at("extras").get<int>();
            if (d.contains("wickets")) r.wickets += static_cast<int>(d["wickets"].size());
            const json e = d.value("extras", json::object());
            r.wides += e.value("wides", 0);
            r.noBalls += e.value("noballs", 0);
            r.byes += e.value("byes", 0);
            r.legByes += e.value("legbyes", 0);
            if (!e.contains("wides") && !e.contains("noballs")) ++r.legalBalls;
        }
    return r;
}

// The outcome by cricket's laws, from the deliveries alone: a last innings
// neither all out, declared, out of overs nor ahead is a draw; a side ahead
// after batting once against two completed innings has won by an innings.
json outcomeFromDeliveries(const json& doc)
{
    const json& info = doc.at("info");
    const bool limited = info.contains("overs");
    std::vector<ReadInnings> inns;
    for (const auto& inn : doc.at("innings"))
        inns.push_back(readInnings(inn));
    const std::string first = inns.at(0).team;
    const std::string second = info.at("teams")[0] == first ? info.at("teams")[1] : info.at("teams")[0];
    int total[2] = {0, 0};
    for (std::size_t k = 0; k < inns.size(); ++k)
        total[inns[k].team == first ? 0 : 1] += inns[k].runs;
    const ReadInnings& last = inns.back();
    const bool lastBatsSecond = last.team == second;
    const bool ahead = lastBatsSecond ? total[1] > total[0] : total[0] > total[1];
    const bool complete =
        last.wickets == 10 || last.declared || ahead || (limited && last.legalBalls == info.at("overs").get<int>() * 6);
    if (!complete) return {{"result", "draw"}};
    if (inns.size() == (limited ? 2u : 4u)) {
        if (total[1] > total[0]) return {{"winner", second}, {"by", {{"wickets", 10 - last.wickets}}}};
        if (total[0] > total[1]) return {{"winner", first}, {"by", {{"runs", total[0] - total[1]}}}};
        return {{"result", "tie"}};
    }
    if (inns.size() == 3 && total[1] > total[0])
        return {{"winner", second}, {"by", {{"innings", 1}, {"runs", total[1] - total[0]}}}};
    return {{"result", "draw"}};
}

bool isRegisterId(const json& id)
{
    return id.is_string() && id.get<std::string>().find_first_not_of("0123456789abcdef") == std::string::npos &&
           id.get<std::string>().size() == 8;
}

}  // namespace

// Read back as a reader would: every key it indexes is there, everyone named
// is in the register, each innings agrees with the scorecard, and the outcome
// follows from the deliveries. Both match types, many seeds, every outcome.
TEST(Cricsheet, ReadsBackAsCricket)
{
    const Team north = support::loadSample("northshire.xi"), south = support::loadSample("southmoor.xi");
    std::map<std::string, int> seen;
    for (int oneDay : {1, 0}) {
        // Ties are rare: the first one joins a few ordinary seeds.
        std::vector<unsigned> seeds{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
        for (unsigned seed = 1; oneDay && seed < 5000; ++seed) {
            Match match;
            match.options().oneDay = 1;
            playUnattended(match, north, south, seed);
            if (match.innings[0].runs == match.innings[1].runs) {
                seeds.push_back(seed);
                break;
            }
        }
        for (unsigned seed : seeds) {
            Match match;
            match.options().oneDay = oneDay;
            ASSERT_EQ(playUnattended(match, north, south, seed), UnattendedResult::Played);
            const json doc = json::parse(cricsheetJson(match, "2026-12-06", "Lord's"));
            const std::string where = "seed " + std::to_string(seed) + (oneDay ? " one-day" : " Test");
            const json& info = doc.at("info");
            EXPECT_EQ(info.at("team_type"), "club");
            EXPECT_EQ(info.at("venue"), "Lord's");
            EXPECT_EQ(info.at("season"), "2026");
            EXPECT_EQ(info.at("dates")[0], "2026-12-06");
            const json& people = info.at("registry").at("people");
            auto registered = [&](const json& name) {
                EXPECT_TRUE(people.contains(name.get<std::string>()) && isRegisterId(people[name.get<std::string>()]))
                    << where << ": " << name;
            };
            for (const auto& side : info.at("players"))
                for (const auto& name : side)
                    registered(name);

            const json& innings = doc.at("innings");
            for (std::size_t k = 0; k < innings.size(); ++k) {
                const Innings& inn = match.innings[k];
                const ReadInnings r = readInnings(innings[k]);
                EXPECT_EQ(r.team, inn.battingTeam->name()) << where;
                EXPECT_EQ(std::vector<int>(
                              {r.runs, r.wickets, r.legalBalls, r.extras, r.wides, r.noBalls, r.byes, r.legByes}),
                          std::vector<int>({inn.runs, inn.wickets, inn.legalBalls,
                                            inn.wides + inn.noBalls + inn.byes + inn.legByes, inn.wides, inn.noBalls,
                                            inn.byes, inn.legByes}))
                    << where << " innings " << k;
                for (const auto& over : innings[k]["overs"])
                    for (const auto& d : over["deliveries"]) {
                        for (const char* key : {"batter", "bowler", "non_striker"})
                            registered(d.at(key));
                        EXPECT_NE(d["batter"], d["non_striker"]) << where;
                        for (const auto& w : d.value("wickets", json::array())) {
                            const std::string kind = w.at("kind");
                            EXPECT_EQ(w.at("player_out"), d["batter"])
                                << where;  // the striker is always the batsman out
                            EXPECT_EQ(w.contains("fielders"), kind == "caught" || kind == "run out") << where << kind;
                            for (const auto& f : w.value("fielders", json::array()))
                                registered(f.at("name"));
                        }
                    }
                // Only the side batting last chases, and always something.
                if (innings[k].contains("target")) {
                    EXPECT_EQ(k + 1, static_cast<std::size_t>(match.inningsCount)) << where;
                    EXPECT_GE(innings[k]["target"].at("runs").get<int>(), 1) << where;
                    EXPECT_EQ(innings[k]["target"].value("overs", 0), oneDay ? 50 : 0) << where;
                }
            }

            const json& outcome = info.at("outcome");
            EXPECT_EQ(outcome, outcomeFromDeliveries(doc)) << where;
            const std::string kind =
                outcome.contains("result") ? outcome["result"].get<std::string>() : outcome["by"].begin().key();
            ++seen[kind];
            // The report's line differs only where cricket has no winner.
            const std::string line = match.resultLine();
            if (outcome.contains("winner")) {
                EXPECT_EQ(line.rfind(outcome["winner"].get<std::string>(), 0), 0u) << line;
            } else if (kind == "tie") {
                EXPECT_NE(line.find("tied the match"), std::string::npos) << line;
            }
        }
    }
    for (const char* kind : {"draw", "innings", "tie", "wickets", "runs"})
        EXPECT_GT(seen[kind], 0) << kind;
}

// A player keeps his identifier whichever match, order or opponent he is
// exported with; the scheme itself is part of the format readers keep.
TEST(Cricsheet, RegisterIdsAreStable)
{
    const Team north = support::loadSample("northshire.xi"), south = support::loadSample("southmoor.xi"),
               invicta = support::loadSample("invicta.xi");
    json people[2];
    const Team* opponents[2] = {&south, &invicta};
    for (int i = 0; i < 2; ++i) {
        Match match;
        ASSERT_EQ(playUnattended(match, *opponents[i], north, 5 + 17 * i), UnattendedResult::Played);
        people[i] =
            json::parse(cricsheetJson(match, "2026-01-0" + std::to_string(i + 1)))["info"]["registry"]["people"];
    }
    for (int p = 0; p < Team::kPlayers; ++p) {
        const std::string name = north.player(p)->name();
        EXPECT_EQ(people[0].at(name), people[1].at(name)) << name;
    }
    EXPECT_EQ(cricsheetPlayerId("North", "Smith"), "4cee0f1f");
    EXPECT_NE(cricsheetPlayerId("South", "Smith"), cricsheetPlayerId("North", "Smith"));
}

// Readers key matches by date and teams: the matches of a batch or a
// tournament are dated apart and numbered, from --date= or today.
TEST(Cricsheet, MatchesOfARunAreDatedApartAndNumbered)
{
    struct Row {
        const char* first;
        long long index;
        bool oneDay;
        const char* date;
    } const rows[] = {{"2024-02-28", 0, true, "2024-02-28"},
                      {"2024-02-28", 2, true, "2024-03-01"},
                      {"2024-02-28", 1, false, "2024-03-04"},
                      {"9999-12-30", 3, true, "9999-12-31"},
                      {"not a date", 3, true, "not a date"}};
    for (const Row& r : rows)
        EXPECT_EQ(cricsheetMatchDate(r.first, r.index, r.oneDay), r.date) << r.first << " + " << r.index;

    const std::string folder = support::tempPath("dated-batch");
    const support::CliRun batch =
        support::runCli({"/t1=" + support::dataPath("harbour.xi"), "/t2=" + support::dataPath("upland.xi"), "/r=-4",
                         "--overs=2", "--matches=3", "--date=2024-02-28", "--cricsheet=" + folder});
    ASSERT_EQ(batch.status, 0) << batch.err;
    for (int i = 0; i < 3; ++i) {
        const json info = json::parse(support::readFile(folder + "/" + std::to_string(i - 4) + ".json"))["info"];
        EXPECT_EQ(info["dates"][0], cricsheetMatchDate("2024-02-28", i, true));
        EXPECT_EQ(info["event"], json({{"name", "Pelmora batch"}, {"match_number", i + 1}}));
    }
    EXPECT_EQ(support::runCli({"--date=2024-02-30", "--cricsheet=x"}).status, 2) << "no such day";

    const std::string src = PELMORA_SOURCE_DIR;
    const std::string cup =
        support::writeFile("dated-cup.json", json{{"name", "Dated Cup"},
                                                  {"sides",
                                                   {src + "/samples/kestrels.xi", src + "/samples/harriers.xi",
                                                    support::dataPath("harbour.xi"), support::dataPath("upland.xi")}},
                                                  {"overs", 2},
                                                  {"groups", 2},
                                                  {"knockouts", "final"}}
                                                 .dump());
    const std::string files = support::tempPath("dated-cup");
    const support::CliRun cupRun = support::runCli(
        {"--tournament=" + cup, "/r=3", "--cricsheet=" + files, "--reports=" + support::tempPath("dated-cup-reports")});
    ASSERT_EQ(cupRun.status, 0) << cupRun.err;
    std::map<long long, json> events;
    std::set<std::string> days;
    for (const auto& entry : std::filesystem::directory_iterator(files)) {
        const json info = json::parse(support::readFile(entry.path().string()))["info"];
        events[info["event"]["match_number"].get<long long>()] = info["event"];
        days.insert(info["dates"][0].get<std::string>());
    }
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(days.size(), 3u);
    EXPECT_EQ(events[1], json({{"name", "Dated Cup"}, {"match_number", 1}, {"group", "A"}}));
    EXPECT_EQ(events[3]["stage"], "Final");
}

// Names set in memory may hold any bytes; the export still goes out.
TEST(Cricsheet, BytesThatAreNotUtf8DoNotStopTheExport)
{
    Match match;
    ASSERT_EQ(playUnattended(match, support::makeSide("Nor\xff", "N\xfe", 5), support::makeSide("South", "S", 5), 2),
              UnattendedResult::Played);
    std::string text;
    ASSERT_NO_THROW(text = cricsheetJson(match, "2026-12-06"));
    EXPECT_NE(text.find("\"Nor\xef\xbf\xbd\""), std::string::npos) << text.substr(0, 400);
}

TEST(Charts, PerOverRunsAndWicketsAgreeWithTheBallLog)
{
    Match match;
    ASSERT_EQ(playUnattended(match, support::loadSample("northshire.xi"), support::loadSample("southmoor.xi"), 11),
              UnattendedResult::Played);
    const std::vector<InningsChart> charts = chartData(match);
    ASSERT_EQ(charts.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        const Innings& inn = match.innings[k];
        int runs = 0, wickets = 0;
        for (const OverFigures& o : charts[k].overs) {
            runs += o.runs;
            wickets += o.wickets;
        }
        EXPECT_EQ(runs, inn.runs);
        EXPECT_EQ(wickets, inn.wickets);
        EXPECT_EQ(static_cast<int>(charts[k].overs.size()), (inn.legalBalls + 5) / 6);
        // Each over's runs are what the log shows between that over's first
        // delivery and the next over's.
        for (int over = 0; over + 1 < static_cast<int>(charts[k].overs.size()); ++over) {
            const int first = inn.overStart(over), next = inn.overStart(over + 1);
            const int before = first > 0 ? inn.ballRecord(first - 1).scoreAfter : 0;
            EXPECT_EQ(charts[k].overs[over].runs, inn.ballRecord(next - 1).scoreAfter - before) << "over " << over;
        }
    }
}
