// Tournaments: net run rate, the table's order, the tournament file's
// refusals, and the rules of a shorter match.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "analysis/tournament.h"
#include "match/match.h"
#include "match/unattended.h"
#include "support.h"

namespace {

NetRunRateFigures figures(int runsFor, int ballsFaced, int runsAgainst, int ballsBowled)
{
    return NetRunRateFigures{runsFor, ballsFaced, runsAgainst, ballsBowled};
}

}  // namespace

TEST(Tournament, NetRunRateCountsAnAllOutSideItsWholeAllowance)
{
    // A bowled out for 250 in 45 overs; B chases 251 in 40.2 overs.
    Match match;
    match.inningsCount = 2;
    Innings* inn = match.innings;
    inn[0].battingTeam = &match.teams[0];
    inn[0].runs = 250, inn[0].wickets = 10, inn[0].legalBalls = 270, inn[0].maxBalls = 300;
    inn[1].battingTeam = &match.teams[1];
    inn[1].runs = 251, inn[1].wickets = 3, inn[1].legalBalls = 242, inn[1].maxBalls = 300;
    NetRunRateFigures f[2];
    netRunRateFigures(match, f);
    EXPECT_EQ(f[0].ballsFaced, 300);
    EXPECT_EQ(f[1].ballsFaced, 242);
    EXPECT_NEAR(f[0].value(), 5.0 - 251.0 * 6 / 242, 1e-9);
    EXPECT_NEAR(f[1].value(), -f[0].value(), 1e-9);
    EXPECT_NEAR(f[1].value(), 1.2231, 1e-4);

    // Over a tournament the figures add up before dividing: 160 in 20 overs
    // and 100 in 20 overs (all out in 12) against 150 and 101 in 20 overs each.
    NetRunRateFigures total = figures(160, 120, 150, 120);
    total.add(figures(100, 120, 101, 120));
    EXPECT_NEAR(total.value(), 260.0 / 40 - 251.0 / 40, 1e-9);
    EXPECT_EQ(compareNetRunRate(figures(8, 6, 0, 6), figures(16, 12, 0, 12)), 0);  // exact, not floating
    EXPECT_GT(compareNetRunRate(figures(9, 6, 0, 6), figures(16, 12, 0, 12)), 0);
}

TEST(Tournament, TableOrdersByPointsThenNetRunRateThenHeadToHead)
{
    TournamentPlan plan;
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        Team t;
        t.setName(name);
        plan.sides.push_back(t);
    }
    auto result = [](int home, int away, int winner, NetRunRateFigures h) {
        MatchOutcome m;
        m.home = home, m.away = away, m.winner = winner;
        m.figures[0] = h;
        m.figures[1] = figures(h.runsAgainst, h.ballsBowled, h.runsFor, h.ballsFaced);
        return m;
    };
    const NetRunRateFigures even = figures(100, 120, 100, 120);
    // B and C end on 4 points, C ahead on net run rate although B beat C;
    // A and D on 3, A ahead on net run rate; E on 2.
    const std::vector<MatchOutcome> results = {
        result(1, 2, 1, even),                         // B beat C
        result(1, 3, 3, even),                         // D beat B
        result(1, 0, 1, even),                         // B beat A
        result(2, 3, 2, even),                         // C beat D
        result(2, 4, 2, even),                         // C beat E
        result(0, 3, -1, even),                        // A tied with D
        result(0, 4, 0, figures(150, 120, 100, 120)),  // A beat E well
        result(4, 1, 4, figures(130, 120, 100, 120)),  // E beat B
    };
    std::vector<int> order;
    for (const TableRow& r : groupTable(plan, 0, results, 7))
        order.push_back(r.side);
    EXPECT_EQ(order, (std::vector<int>{2, 1, 0, 3, 4}));

    // Level on points and net run rate: the match between them decides (B
    // beat A), else the seeded draw (C and D never met).
    const std::vector<MatchOutcome> level = {result(1, 0, 1, even), result(0, 2, 0, even), result(0, 3, 0, even),
                                             result(1, 2, 2, even), result(1, 3, 3, even), result(1, 4, 1, even)};
    const auto table = groupTable(plan, 0, level, 7);
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[0].side, 1);
    EXPECT_EQ(table[1].side, 0);
    std::set<int> drawn;
    for (std::uint64_t seed = 0; seed < 40; ++seed)
        drawn.insert(groupTable(plan, 0, level, seed)[2].side);
    EXPECT_EQ(drawn, (std::set<int>{2, 3}));
}

TEST(Tournament, TournamentFileRefusalsNameTheReason)
{
    const std::string a = std::string(PELMORA_SOURCE_DIR) + "/samples/kestrels.xi";
    const std::string b = std::string(PELMORA_SOURCE_DIR) + "/samples/harriers.xi";
    struct Case {
        std::string json;
        const char* says;
    } cases[] = {
        {R"({"sides": [")" + a + R"(", "nowhere.xi"]})", "cannot load team file "},
        {R"({"sides": [")" + a + R"("]})", "at least two sides, this one has 1"},
        {R"({"sides": [")" + a + R"(", ")" + a + R"("]})", "is listed twice"},
        {R"({"sides": [")" + a + R"(", ")" + b + R"("], "format": "swiss"})", "unknown format swiss"},
        {R"({"sides": [")" + a + R"(", ")" + b + R"("], "overs": 60})", "from 1 to 50"},
        {R"({"sides": [")" + a + R"(", ")" + b + R"("], "knockouts": "semi-finals"})", "cannot come evenly"},
        {R"({"sides": [")" + a + R"(", ")" + b + R"("], "venue": "x"})", "unknown field \"venue\""},
        {R"({"sides": [)", "not valid JSON"},
        {R"({"overs": 25555E555555555555})", "not a tournament file (not valid JSON: number overflow parsing"},
        {R"({"sides": [")" + a + R"(", ")" + b + R"("]})", ""},
    };
    for (const Case& c : cases) {
        TournamentPlan plan;
        std::string error;
        const bool ok = parseTournament(c.json, "", plan, error);
        EXPECT_EQ(ok, *c.says == '\0') << c.json << ": " << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    // Past Z the groups are named as spreadsheet columns.
    const std::pair<int, const char*> groups[] = {{0, "A"},   {25, "Z"},   {26, "AA"},
                                                  {27, "AB"}, {701, "ZZ"}, {702, "AAA"}};
    for (const auto& [g, name] : groups)
        EXPECT_EQ(groupLetters(g), name);
}

// At 20 overs the allowance is 120 balls and each bowler's quota 24 (4 overs);
// the rules that scale with the allowance keep every innings inside them.
TEST(Tournament, TwentyOversKeepsTheQuotasOfItsAllowance)
{
    const Team first = support::loadSample("kestrels.xi"), second = support::loadSample("harriers.xi");
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        Match match;
        match.options().overs = 20;
        ASSERT_EQ(playUnattended(match, first, second, seed), UnattendedResult::Played);
        for (int k = 0; k < 2; ++k) {
            const Innings& inn = match.innings[k];
            EXPECT_EQ(inn.maxBalls, 120);
            EXPECT_LE(inn.legalBalls, 120);
            for (int p = 0; p < inn.bowlingTeam->bowlerCount(); ++p)
                EXPECT_LE(inn.bowling[p].balls, 24) << seed;
        }
    }
}

// Hostile tournament files, parts and option mixes are refused with exit 2 and
// a reason naming the file or option; nothing is printed and no input changes.
TEST(Tournament, HostileFilesPartsAndOptionsAreRefusedWithAReason)
{
    using nlohmann::json;
    const std::string src = PELMORA_SOURCE_DIR;
    const json sides = {src + "/samples/kestrels.xi", src + "/samples/harriers.xi", support::dataPath("harbour.xi"),
                        support::dataPath("upland.xi")};
    const std::string cup = support::writeFile("hostile-cup.json", json{{"sides", sides}, {"overs", 2}}.dump());
    const std::string teams[] = {"/t1=" + support::dataPath("harbour.xi"), "/t2=" + support::dataPath("upland.xi")};
    auto part = [&](std::vector<std::string> args, const std::string& name) {
        args.push_back("--shard=" + name.substr(name.size() - 1) + "/2");
        const support::CliRun run = support::runCli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return json::parse(run.out);
    };
    const std::vector<std::string> forecast{"--tournament=" + cup, "/r=5", "--matches=4"};
    const std::vector<std::string> batch{teams[0], teams[1], "/r=5", "--overs=2", "--matches=6"};
    const json t1 = part(forecast, "t1"), t2 = part(forecast, "t2"), b1 = part(batch, "b1");
    std::vector<std::string> withOutfield = batch;
    withOutfield.push_back("--outfield=10");
    const json b2 = part(withOutfield, "b2");
    const std::string t2File = support::writeFile("hostile-t2.json", t2.dump());
    auto changed = [](json j, const json::json_pointer& at, const json& value) {
        if (value.is_null())
            j[at.parent_pointer()].erase(at.back());
        else
            j[at] = value;
        return j;
    };
    const std::string deep = std::string(60000, '[') + std::string(60000, ']');
    struct Case {
        std::string file;  // a part merged with t2, or a tournament file; empty: the arguments alone
        std::string text;
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {"finals",
         changed(t1, "/totals/finals"_json_pointer, json::array()).dump(),
         {},
         "\"finals\" is not a list of 4"},
        {"files", changed(t1, "/setup/files"_json_pointer, json::array()).dump(), {}, "\"files\" is not a list of 4"},
        {"knockouts", changed(t1, "/totals/knockouts"_json_pointer, {1}).dump(), {}, "\"knockouts\" is not a list"},
        {"negative", changed(t1, "/totals/tournaments"_json_pointer, -15).dump(), {}, "\"tournaments\" is not"},
        {"innings", changed(b1, "/setup/inningsPerMatch"_json_pointer, 1000).dump(), {}, "\"inningsPerMatch\""},
        {"older", changed(t1, "/fingerprint"_json_pointer, nullptr).dump(), {}, "play it again"},
        {"deep-part", deep, {}, "nested deeper than 64 levels"},
        {"outfield", b1.dump(), {}, "fingerprints differ"},
        {"deep-cup", "{\"sides\": [], \"format\": " + deep + "}", {}, "nested deeper than 64 levels"},
        {"key-cup", "{\"sides\": [], \"k\\u0007y\": 1}", {}, "unknown field \"k?y\""},
        {"", "", {"--tournament=/dev/zero"}, "larger than 1 MB"},
        {"", "", {"--tournament=" + cup, "--outfield=10"}, "does not go with --outfield="},
        {"", "", {"--tournament=" + cup, "--answers=" + cup}, "does not go with --answers="},
        {"", "", {"--tournament=" + cup, "--record=x.json"}, "does not go with --record="},
        {"", "", {"--tournament=" + cup, "--replay=" + cup}, "does not go with --replay="},
        {"", "", {teams[0], teams[1], "--matches=2", "--shard=1/2", "--format=json"}, "does not go with --format="},
        {"", "", {"--tournament=" + cup, "/o"}, "does not go with /o"},
        {"", "", {teams[0], teams[1], "--threads=2"}, "a single match has no summary: --threads="},
    };
    const std::string b2File = support::writeFile("hostile-b2.json", b2.dump());
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        std::string path;
        if (c.file.find("cup") != std::string::npos) {
            path = support::writeFile("hostile-" + c.file + ".json", c.text);
            args = {"--tournament=" + path};
        } else if (!c.file.empty()) {
            path = support::writeFile("hostile-" + c.file + ".json", c.text);
            args = {"--merge", path, c.file == "outfield" ? b2File : t2File};
        }
        const support::CliRun run = support::runCli(args);
        EXPECT_EQ(run.status, 2) << c.file << ": " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << c.file;
        if (!path.empty()) {
            EXPECT_NE(run.err.find(path), std::string::npos) << "names the file: " << run.err;
            EXPECT_EQ(support::readFile(path), c.text) << c.file;
        }
    }
    EXPECT_EQ(support::readFile(t2File), t2.dump());
}

// Whole tournaments driven by results decided here, with answers worked out
// by hand from the rules: who meets whom and when, the knock-out seeds, a tie
// sending the higher placed side through, and the finishing order.
TEST(Tournament, KnownResultsGiveTheFixturesSeedsAndPlacesWorkedOutByHand)
{
    struct Case {
        int sides, rounds, groups, playoff;
        std::vector<std::string> fixtures;  // "label home-away", in playing order
        std::vector<int> finishing;
        std::vector<Stage> reached;
    };
    using S = Stage;
    const Case cases[] = {
        // Five sides twice round: the lower number always wins by 50 runs,
        // so the table is 0..4; semis 0 v 3 (a tie: 0 through) and 1 v 2; in
        // the final the away side wins.
        {5,
         2,
         1,
         4,
         {"Round robin 0-1",  "Round robin 0-2",  "Round robin 0-3", "Round robin 0-4", "Round robin 1-2",
          "Round robin 1-3",  "Round robin 1-4",  "Round robin 2-3", "Round robin 2-4", "Round robin 3-4",
          "Round robin 1-0",  "Round robin 2-0",  "Round robin 3-0", "Round robin 4-0", "Round robin 2-1",
          "Round robin 3-1",  "Round robin 4-1",  "Round robin 3-2", "Round robin 4-2", "Round robin 4-3",
          "Semi-final 1 0-3", "Semi-final 2 1-2", "Final 0-1"},
         {1, 0, 2, 3, 4},
         {S::Final, S::Won, S::Knockouts, S::Knockouts, S::GroupStage}},
        // Two groups of two (sides go to groups in turn): the group winners
        // level on everything, A's placed first; the final is tied, so A's
        // winner takes the title.
        {4,
         1,
         2,
         2,
         {"Group A 0-2", "Group B 1-3", "Final 0-1"},
         {0, 1, 2, 3},
         {S::Won, S::Final, S::GroupStage, S::GroupStage}},
    };
    for (const Case& c : cases) {
        TournamentPlan plan;
        plan.rounds = c.rounds, plan.groups = c.groups, plan.playoff = c.playoff;
        plan.sides.resize(static_cast<std::size_t>(c.sides));
        TournamentProgress progress(plan, 9);
        std::vector<std::string> fixtures;
        while (!progress.finished() && fixtures.size() < 100) {
            const TournamentProgress::Fixture& f = progress.next();
            fixtures.push_back(f.label + " " + std::to_string(f.home) + "-" + std::to_string(f.away));
            MatchOutcome m;
            m.home = f.home, m.away = f.away;
            if (f.label == "Semi-final 1" || (f.label == "Final" && c.groups == 2))
                m.winner = -1;
            else if (f.label == "Final")
                m.winner = f.away;
            else
                m.winner = std::min(f.home, f.away);
            const bool homeWon = m.winner == f.home;  // by 50 runs (figures count in groups only)
            m.figures[0] = homeWon ? figures(150, 120, 100, 120) : figures(100, 120, 150, 120);
            m.figures[1] = homeWon ? figures(100, 120, 150, 120) : figures(150, 120, 100, 120);
            progress.record(m);
        }
        const std::string name = std::to_string(c.sides) + " sides, " + std::to_string(c.groups) + " groups";
        EXPECT_EQ(fixtures, c.fixtures) << name;
        EXPECT_EQ(progress.run().finishing, c.finishing) << name;
        EXPECT_EQ(progress.run().reached, c.reached) << name;
    }
}
