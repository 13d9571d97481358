#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "analysis/charts.h"
#include "analysis/cricsheet.h"
#include "match/match.h"
#include "match/unattended.h"
#include "support.h"

// The export must agree with the scorecard: totals, wickets and extras of
// every innings, for many seeds of both match types.
TEST(Cricsheet, RoundTripAgreesWithTheScorecard)
{
    const Team north = support::loadSample("northshire.xi"), south = support::loadSample("southmoor.xi");
    for (int oneDay : {1, 0}) {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            Match match;
            match.options().oneDay = oneDay;
            ASSERT_EQ(playUnattended(match, north, south, seed), UnattendedResult::Played);
            const nlohmann::json doc = nlohmann::json::parse(cricsheetJson(match, "2026-12-06"));
            ASSERT_EQ(doc["innings"].size(), static_cast<std::size_t>(match.inningsCount - (match.innings[match.inningsCount - 1].deliveries == 0)));
            for (std::size_t k = 0; k < doc["innings"].size(); ++k) {
                const Innings& inn = match.innings[k];
                int total = 0, wickets = 0, extras = 0, wides = 0, noBalls = 0, byes = 0, legByes = 0, balls = 0;
                for (const auto& over : doc["innings"][k]["overs"]) {
                    for (const auto& d : over["deliveries"]) {
                        total += d["runs"]["total"].get<int>();
                        extras += d["runs"]["extras"].get<int>();
                        if (d.contains("wickets")) wickets += static_cast<int>(d["wickets"].size());
                        if (d.contains("extras")) {
                            const auto& e = d["extras"];
                            wides += e.value("wides", 0);
                            noBalls += e.value("noballs", 0);
                            byes += e.value("byes", 0);
                            legByes += e.value("legbyes", 0);
                            if (!e.contains("wides") && !e.contains("noballs")) ++balls;
                        } else {
                            ++balls;
                        }
                    }
                }
                const std::string where = "seed " + std::to_string(seed) + " innings " + std::to_string(k);
                EXPECT_EQ(doc["innings"][k]["team"], inn.battingTeam->name()) << where;
                EXPECT_EQ(total, inn.runs) << where;
                EXPECT_EQ(wickets, inn.wickets) << where;
                EXPECT_EQ(extras, inn.wides + inn.noBalls + inn.byes + inn.legByes) << where;
                EXPECT_EQ(wides, inn.wides) << where;
                EXPECT_EQ(noBalls, inn.noBalls) << where;
                EXPECT_EQ(byes, inn.byes) << where;
                EXPECT_EQ(legByes, inn.legByes) << where;
                EXPECT_EQ(balls, inn.legalBalls) << where;
            }
            const auto& outcome = doc["info"]["outcome"];
            const std::string result = match.resultLine();
            if (outcome.contains("winner"))
                EXPECT_EQ(result.rfind(outcome["winner"].get<std::string>(), 0), 0u) << result;
            else
                EXPECT_NE(result.find("tied the match"), std::string::npos) << result;
        }
    }
}

TEST(Cricsheet, NonStrikerAndFieldersAreNamed)
{
    Match match;
    ASSERT_EQ(playUnattended(match, support::loadSample("northshire.xi"), support::loadSample("southmoor.xi"), 3), UnattendedResult::Played);
    const nlohmann::json doc = nlohmann::json::parse(cricsheetJson(match, "2026-12-06"));
    for (const auto& inn : doc["innings"])
        for (const auto& over : inn["overs"])
            for (const auto& d : over["deliveries"]) {
                EXPECT_NE(d["batter"], d["non_striker"]);
                EXPECT_FALSE(d["non_striker"].get<std::string>().empty());
                if (d.contains("wickets"))
                    for (const auto& w : d["wickets"]) {
                        const std::string kind = w["kind"];
                        EXPECT_EQ(w["player_out"], d["batter"]);  // the striker is always the batsman out
                        EXPECT_EQ(w.contains("fielders"), kind == "caught" || kind == "run out") << kind;
                    }
            }
}

TEST(Charts, PerOverRunsAndWicketsAgreeWithTheBallLog)
{
    Match match;
    ASSERT_EQ(playUnattended(match, support::loadSample("northshire.xi"), support::loadSample("southmoor.xi"), 11), UnattendedResult::Played);
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
