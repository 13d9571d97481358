#include <fcntl.h>
#include <gtest/gtest.h>
#include <zip.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <tuple>

#include "app/match_file.h"
#include "app/team_editor_model.h"
#include "match/unattended.h"
#include "rating/figures.h"
#include "rating/fit.h"
#include "rating/match_record.h"
#include "rating/side_file.h"
#include "support.h"

using support::CliRun;
using support::runRate;

namespace {

std::string dataFile(const std::string& name)
{
    std::ifstream in(std::string(PELMORA_SOURCE_DIR) + "/tests/data/rating/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The two hand-written matches of tests/data/rating, counted.
Archive tinyArchive()
{
    Archive archive;
    int sequence = 0;
    for (const char* name : {"match1.json", "match2.json"}) {
        MatchRecord record;
        std::string why;
        EXPECT_TRUE(parseCricsheet(dataFile(name), record, why)) << name << ": " << why;
        archive.add(record, sequence++);
    }
    return archive;
}

// Every file below root but outside `except`, with its contents (a link's target).
std::map<std::string, std::string> filesBelow(const std::string& root, const std::string& except)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string path = it->path().string();
        if (!except.empty() && path.rfind(except, 0) == 0) continue;
        if (it->is_symlink())
            files[path] = "-> " + fs::read_symlink(it->path()).string();
        else if (it->is_regular_file())
            files[path] = support::readFile(path);
    }
    return files;
}

const PlayerRecord* find(const Archive& a, const std::string& name)
{
    for (const PlayerRecord& p : a.players)
        if (p.name == name) return &p;
    return nullptr;
}

}  // namespace

TEST(Rating, FiguresOfASmallArchiveAgreeWithAHandCount)
{
    const Archive archive = tinyArchive();
    struct Expected {
        const char* name;
        std::int64_t innings, balls, runs, outs, fours, sixes, earlyBalls, earlyOuts, lateBalls, lateOuts;
        std::int64_t bowlBalls, conceded, wickets, wides, noBalls, catches, stumpings;
    };
    // Kay is in once he has 8 runs, Moss after 8 runs off 2 balls; Ng is run
    // out backing up; Dee's four was run; a wide is no ball faced, a no-ball is.
    const Expected cases[] = {
        {"Al Kay", 2, 7, 13, 1, 3, 0, 6, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0},
        {"Ben Lee", 2, 1, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"Cal Moss", 1, 3, 8, 1, 0, 1, 2, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0},
        {"Dee Ng", 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {"Bo Dee", 2, 2, 5, 0, 0, 0, 2, 0, 0, 0, 8, 23, 3, 1, 1, 0, 0},
        {"Cy Fox", 2, 3, 2, 2, 0, 0, 3, 2, 0, 0, 3, 1, 0, 0, 0, 1, 0},
        {"Dan Roe", 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
        {"Ed Poe", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 7, 2, 0, 0, 1, 0},
    };
    for (const Expected& e : cases) {
        const PlayerRecord* p = find(archive, e.name);
        ASSERT_NE(p, nullptr) << e.name;
        const Figures& f = p->figures;
        EXPECT_EQ(f.matches, 2) << e.name;
        const std::int64_t got[] = {f.innings,    f.balls,     f.runs,      f.outs,     f.fours,     f.sixes,
                                    f.earlyBalls, f.earlyOuts, f.lateBalls, f.lateOuts, f.bowlBalls, f.conceded,
                                    f.wickets,    f.wides,     f.noBalls,   f.catches,  f.stumpings};
        const std::int64_t want[] = {e.innings,    e.balls,     e.runs,      e.outs,     e.fours,     e.sixes,
                                     e.earlyBalls, e.earlyOuts, e.lateBalls, e.lateOuts, e.bowlBalls, e.conceded,
                                     e.wickets,    e.wides,     e.noBalls,   e.catches,  e.stumpings};
        for (std::size_t k = 0; k < std::size(got); ++k)
            EXPECT_EQ(got[k], want[k]) << e.name << " field " << k;
    }
    EXPECT_EQ(find(archive, "Al Kay")->id, "00000001");  // keyed by the register
    EXPECT_EQ(archive.players.size(), 22u);
}

// Each filter leaves match1.json out by its own option, or lets it through;
// a fixture's info alone gives the side the toss sent in first.
TEST(Rating, EachFilterSaysWhichOptionLeftAMatchOutAndTheTossWhoBattedFirst)
{
    MatchRecord match;
    std::string why;
    nlohmann::json m = nlohmann::json::parse(dataFile("match1.json"));
    m["info"]["team_type"] = "club";
    m["info"]["event"] = {{"name", "Northern Cup"}, {"match_number", 3}};
    m["info"]["dates"] = {"2024-01-31", "2024-02-01"};
    ASSERT_TRUE(parseCricsheet(m.dump(), match, why)) << why;
    struct Case {
        std::function<void(MatchFilter&)> set;
        const char* leftOutBy;
    };
    const Case cases[] = {
        {[](MatchFilter&) {}, ""},
        {[](MatchFilter& f) { f.format = MatchFilter::Format::Test; }, "--format"},
        {[](MatchFilter& f) { f.matchType = "odi"; }, ""},
        {[](MatchFilter& f) { f.matchType = "T20"; }, "--match-type"},
        {[](MatchFilter& f) { f.teamType = "international"; }, "--team-type"},
        {[](MatchFilter& f) { f.event = "Northern Cup"; }, ""},
        {[](MatchFilter& f) { f.event = "northern cup"; }, "--event"},
        {[](MatchFilter& f) { f.gender = "female"; }, "--gender"},
        {[](MatchFilter& f) { f.from = "2024-02-01"; }, "--from"},  // the first day counts
        {[](MatchFilter& f) { f.to = "2024-01-31"; }, ""},
        {[](MatchFilter& f) { f.to = "2024-01-30"; }, "--to"},
        {[](MatchFilter& f) { f.teams = {"Gamma"}; }, "--team"},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        MatchFilter filter;
        cases[k].set(filter);
        EXPECT_EQ(filter.leftOutBy(match), cases[k].leftOutBy) << "row " << k;
    }
    m.erase("innings");
    const std::tuple<const char*, const char*, int> tosses[] = {
        {"Alpha", "bat", 0}, {"Alpha", "field", 1}, {"Beta", "field", 0}, {"Gamma", "bat", -1}, {"Beta", "", -1}};
    for (const auto& [winner, decision, battedFirst] : tosses) {
        m["info"]["toss"] = {{"winner", winner}, {"decision", decision}};
        ASSERT_TRUE(parseCricsheetInfo(m.dump(), match, why)) << why;
        EXPECT_EQ(match.battedFirst, battedFirst) << winner << " " << decision;
        EXPECT_EQ(match.listed, 22) << "the elevens from info.players";
    }
}

// match1.json changed as a row says, then counted: the fit plays it again with
// the eleven who took part, or the reason it cannot is counted.
TEST(Rating, ElevensAreMadeFromThoseWhoTookPartElseTheMatchIsCountedAsNotPlayedAgain)
{
    using nlohmann::json;
    const auto impactPlayer = [](json& m) {
        m["info"]["players"]["Alpha"].push_back("A12");
        json& first = m["innings"][1]["overs"][0]["deliveries"][0];
        first["bowler"] = "A12";
        first["replacements"]["match"] =
            json::array({{{"in", "A12"}, {"out", "Ed Poe"}, {"team", "Alpha"}, {"reason", "impact_player"}}});
    };
    struct Case {
        const char* what;
        std::function<void(json&)> edit;
        const char* reason;  // empty when played again
        const char* inEleven;
        const char* notInEleven;
    };
    const Case cases[] = {
        {"eleven listed", [](json&) {}, "", "A11", ""},
        {"a twelfth listed takes no part", [](json& m) { m["info"]["players"]["Alpha"].push_back("A12"); }, "", "A11",
         "A12"},
        {"an impact player bowls in the place of the one he replaced", impactPlayer, "", "A12", "Ed Poe"},
        {"ten listed", [](json& m) { m["info"]["players"]["Alpha"].erase(10); }, "fewer than eleven", "", ""},
        {"a super over is in no figure",
         [](json& m) {
             json over = m["innings"][0];
             over["super_over"] = true;
             over["overs"][0]["deliveries"][0]["batter"] = "Super Sub";
             m["innings"].push_back(over);
         },
         "", "A11", "Super Sub"},
    };
    for (const Case& c : cases) {
        json m = json::parse(dataFile("match1.json"));
        c.edit(m);
        MatchRecord record;
        std::string why;
        ASSERT_TRUE(parseCricsheet(m.dump(), record, why)) << c.what << ": " << why;
        Archive archive;
        archive.add(record, 0);
        EXPECT_EQ(record.innings.size(), 2u) << c.what;
        EXPECT_EQ(find(archive, "Super Sub"), nullptr) << c.what;
        if (*c.reason) {
            ASSERT_EQ(archive.notReplayed.size(), 1u) << c.what;
            EXPECT_NE(archive.notReplayed.begin()->first.find(c.reason), std::string::npos) << c.what;
            EXPECT_TRUE(archive.fixtures.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(archive.fixtures.size(), 1u) << c.what;
        std::string alpha;  // batted first
        for (int p : archive.fixtures[0].sides[0].players)
            alpha += "," + archive.players[static_cast<std::size_t>(p)].name + ",";
        EXPECT_EQ(archive.fixtures[0].sides[0].players.size(), 11u) << c.what;
        EXPECT_NE(alpha.find("," + std::string(c.inEleven) + ","), std::string::npos) << c.what << ": " << alpha;
        if (*c.notInEleven) {
            EXPECT_EQ(alpha.find("," + std::string(c.notInEleven) + ","), std::string::npos) << c.what << ": " << alpha;
        }
    }
}

TEST(Rating, KeeperIsInferredFromStumpingsElseNamed)
{
    const Archive archive = tinyArchive();
    const FitResult none;
    SideFile beta, alpha;
    std::string why;
    ASSERT_TRUE(sideFile("Beta", archive, none, true, "", beta, why)) << why;
    // Beta's latest eleven in the order they came in, the stumper keeping.
    EXPECT_EQ(beta.fileName, "Beta.xi");
    // A long name: the whole of it names the file; in the file sides stay apart.
    for (const auto& [name, shortName, file] :
         {std::tuple<const char*, const char*, const char*>{"Royal Challengers Bengaluru", "RoyalCB",
                                                            "RoyalChallengersBengaluru.xi"},
          {"Royal Challengers Bangalore Women", "RoyalCBW", "RoyalChallengersBangaloreWomen.xi"},
          {"Chennai Super Kings", "ChennaiSK", "ChennaiSuperKings.xi"},
          {"Rajasthan Royals", "RajasthanRoyals", "RajasthanRoyals.xi"},
          {"Worcestershire Rapids", "WorcestershireR", "WorcestershireRapids.xi"}}) {
        EXPECT_EQ(sideShortName(name), shortName);
        EXPECT_EQ(sideFileName(name), file);
    }
    std::istringstream lines(beta.text);
    std::string line, names;
    int keepers = 0, bowlers = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#' || line == "Beta") continue;
        std::istringstream f(line);
        std::string name;
        int v[8] = {};
        f >> name >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5] >> v[6] >> v[7];
        names += name + " ";
        keepers += v[3];
        bowlers += v[4];
        if (v[3]) {
            EXPECT_EQ(name, "Roe");
            EXPECT_EQ(v[4], 0) << "the keeper never bowls";
        }
    }
    EXPECT_EQ(names.substr(0, 12), "Fox Roe Dee ");
    EXPECT_EQ(keepers, 1);
    EXPECT_EQ(bowlers, 5) << "topped up to the one-day minimum";

    // Alpha has no stumper and no catch by a non-bowler: only --keeper helps.
    EXPECT_FALSE(sideFile("Alpha", archive, none, true, "", alpha, why));
    EXPECT_NE(why.find("--keeper"), std::string::npos) << why;
    ASSERT_TRUE(sideFile("Alpha", archive, none, true, "Cal Moss", alpha, why)) << why;
    EXPECT_NE(alpha.text.find("\nMoss"), std::string::npos);
    Team loaded;
    const std::string path = support::tempPath("alpha.xi");
    std::ofstream(path) << alpha.text;
    ASSERT_EQ(loaded.load(path.c_str()), 1);
    EXPECT_STREQ(loaded.player(loaded.keeper())->name(), "Moss");
    std::remove(path.c_str());

    // The bowlers are all who bowled in the matches read: B4 only in the first.
    Archive window;
    for (const char* name : {"match1.json", "match2.json"}) {
        nlohmann::json m = nlohmann::json::parse(dataFile(name));
        if (name[5] == '1') m["innings"][0]["overs"][0]["deliveries"][0]["bowler"] = "B4";
        MatchRecord record;
        ASSERT_TRUE(parseCricsheet(m.dump(), record, why)) << why;
        window.add(record, name[5]);
    }
    ASSERT_TRUE(sideFile("Beta", window, none, false, "", beta, why)) << why;
    ASSERT_TRUE(loadTeamText(loaded, beta.text, "Beta.xi", nullptr));
    std::string bowlerNames;
    for (int k = 0; k < 11; ++k)
        if (loaded.player(k)->isBowler) bowlerNames += std::string(loaded.player(k)->name()) + " ";
    EXPECT_EQ(bowlerNames, "Fox Dee B4 ");
}

TEST(Rating, FitReproducesTheFiguresOfEngineMatchesWhateverTheThreads)
{
    const Team north = support::loadSample("northshire.xi"), south = support::loadSample("southmoor.xi");
    Archive archive;
    MatchRecord record;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        Match match;
        ASSERT_EQ(playUnattended(match, north, south, seed), UnattendedResult::Played);
        recordOfMatch(match, record);
        archive.add(record, seed);
    }
    // Styles read from use: the captain opens with the neutral bowlers, then spin, then pace.
    const std::pair<const char*, int> styles[] = {{"Carrow", 2},  {"Gatcombe", 2},  {"Elsworth", 1}, {"Jessop", 0},
                                                  {"Quarrie", 2}, {"Oldcastle", 1}, {"Vosper", 0}};
    for (const auto& [name, style] : styles)
        EXPECT_EQ(styleByUse(find(archive, name)->figures), style) << name;
    std::vector<Figures> real;
    for (const PlayerRecord& p : archive.players)
        real.push_back(p.figures);
    // A number 3 of five balls, in no match played again: his rating is the prior of his position.
    Figures few;
    few.matches = few.innings = few.atPosition[2] = 1;
    few.balls = few.earlyBalls = 5;
    real.push_back(few);
    // The fit stops when the ratings settle, long before the simulations run
    // out; with too few for a second round it stops after the first.
    FitSettings settings;
    settings.simulations = 100000;
    settings.tolerance = 10;
    settings.threads = 2;
    const FitResult fit = fitRatings(real, archive.fixtures, {}, settings);
    EXPECT_LE(fit.movement, settings.tolerance);
    EXPECT_GT(fit.rounds, 2);
    EXPECT_LT(fit.matchesPlayed, 20000);
    settings.threads = 1;
    const FitResult single = fitRatings(real, archive.fixtures, {}, settings);
    EXPECT_EQ(single.matchesPlayed, fit.matchesPlayed);
    settings.simulations = 100;
    const FitResult once = fitRatings(real, archive.fixtures, {}, settings);
    EXPECT_EQ(once.rounds, 1);
    EXPECT_EQ(once.matchesPlayed, 300);
    double tempo = 0, balls = 0;
    for (std::size_t i = 0; i < archive.players.size(); ++i)
        if (real[i].usualPosition() == 3 && real[i].balls >= kFewestBallsRated) {
            tempo += double(real[i].balls) * fit.ratings[i].batTempo;
            balls += double(real[i].balls);
        }
    ASSERT_GT(balls, 0);
    EXPECT_NEAR(fit.ratings.back().batTempo, tempo / balls, 0.5);
    for (std::size_t i = 0; i < archive.players.size(); ++i) {
        const Figures& r = real[i];
        const Figures& s = fit.simulated[i];
        const std::string& name = archive.players[i].name;
        EXPECT_EQ(fit.ratings[i].batTempo, single.ratings[i].batTempo) << name;
        EXPECT_EQ(fit.ratings[i].bowlThreat, single.ratings[i].bowlThreat) << name;
        if (r.balls > 3000) {
            const double realRate = double(r.runs) / double(r.balls);
            const double simRate = double(s.runs) / double(s.balls);
            EXPECT_NEAR(simRate / realRate, 1.0, 0.06) << name << " runs per ball";
        }
        if (r.bowlBalls > 3000) {
            const double realRate = double(r.conceded) / double(r.bowlBalls);
            const double simRate = double(s.conceded) / double(s.bowlBalls);
            EXPECT_NEAR(simRate / realRate, 1.0, 0.06) << name << " runs per ball bowled";
        }
    }
}

TEST(Rating, HostileArchivesAreSkippedOrMadeSafeAndNothingIsWrittenOutsideTheOutFolder)
{
    namespace fs = std::filesystem;
    const std::string root = support::tempPath("hostile"), in = root + "/in", out = root + "/out";
    fs::create_directories(in);
    fs::create_directories(out);
    // A side named as a path, with a comment sign and an escape; a formula and a
    // line break for names; a keeper whose surname starts a comment.
    const auto hostile = [](std::string text) {
        for (const auto& [from, to] : {std::pair<std::string, std::string>{"\"Beta\"", R"("../Be#ta\u001b[31m")"},
                                       {"\"Cy Fox\"", R"("=HYPERLINK(\"h\"),\rFox")"},
                                       {"\"Dan Roe\"", R"("Dan #Roe\n")"}})
            for (std::size_t at; (at = text.find(from)) != std::string::npos;)
                text.replace(at, from.size(), to);
        return text;
    };
    std::ofstream(in + "/hostile2.json") << hostile(dataFile("match2.json"));
    std::ofstream(in + "/bad.zip") << "PK\x03\x04 not really an archive";
    std::ofstream(in + "/\x1b[2J.json") << std::string(100000, '[');
    const std::string zipPath = in + "/matches.zip";
    const std::string entries[][2] = {
        {"1.json", hostile(dataFile("match1.json"))}, {"2.json", "{\"info\": {\"teams\": [\"A\""},
        {"3.json", "{\"people\": [1, 2, 3]}"},        {"4.json", dataFile("match2.json")},
        {"5.json", std::string(17 << 20, ' ')},       {"README.txt", "not a match"}};
    int error = 0;
    zip_t* z = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& e : entries) {
        zip_source_t* src = zip_source_buffer(z, e[1].data(), e[1].size(), 0);
        const zip_int64_t i = zip_file_add(z, e[0].c_str(), src, ZIP_FL_OVERWRITE);
        ASSERT_GE(i, 0);
        if (e[0] != "5.json") zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(z), 0);
    // Damage 4.json inside the archive: its checksum no longer agrees.
    {
        std::fstream f(zipPath, std::ios::in | std::ios::out | std::ios::binary);
        std::ostringstream all;
        all << f.rdbuf();
        const std::size_t at = all.str().rfind("Cy Fox");
        ASSERT_NE(at, std::string::npos);
        f.seekp(static_cast<std::streamoff>(at));
        f.put('X');
    }
    std::ofstream(root + "/victim") << "precious";
    fs::create_symlink("../victim", out + "/.players.csv.tmp");
    const auto before = filesBelow(root, out);

    const CliRun run = runRate({"--simulations=100", "--threads=2", "--out=" + out, "--side=../Be#ta\x1b[31m", in});
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* name : {"2.json: skipped", "3.json: skipped", "4.json: skipped",
                             "5.json: skipped: damaged in the archive: unpacks to more than 16 MB",
                             "?[2J.json: skipped: not a Cricsheet match file (nested deeper", "bad.zip: skipped"})
        EXPECT_NE(run.err.find(name), std::string::npos) << name << " in:\n" << run.err;
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("README"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("2 matches rated (6 skipped"), std::string::npos) << run.out;
    EXPECT_EQ(filesBelow(root, out), before) << "written outside --out";

    // players.csv: RFC 4180 quoting, no formula; the team editor reads it back.
    const std::string csv = support::readFile(out + "/players.csv");
    EXPECT_NE(csv.find(R"(,"'=HYPERLINK(""h""),)"
                       "\rFox\",../Be#ta\x1b[31m,"),
              std::string::npos)
        << csv;
    std::vector<ListedPlayer> listed;
    std::string why;
    ASSERT_TRUE(readPlayersCsv(csv, listed, why)) << why;
    EXPECT_EQ(listed.size(), 22u);
    std::string keepers;  // one a side at most: Alpha has no stumper
    for (const ListedPlayer& p : listed)
        if (p.player.keeps()) keepers += p.player.name + ";";
    EXPECT_EQ(keepers, "Dan #Roe\n;");
    // The side file is in the out folder under a safe name and loads.
    Team side;
    const std::string xi = out + "/_._Be_ta_[31m.xi";
    ASSERT_EQ(side.load(xi.c_str()), 1) << support::readFile(xi);
    EXPECT_STREQ(side.name(), "../Be_ta_[31m");
    EXPECT_STREQ(side.player(side.keeper())->name(), "_Roe");
}

TEST(Rating, RefusedCommandLinesFailAtOnceAndWriteNothing)
{
    namespace fs = std::filesystem;
    const std::string root = support::tempPath("refused"), out = root + "/out";
    fs::create_directories(root + "/folder");
    fs::create_directories(out);
    std::ofstream(root + "/victim") << "precious";
    std::ofstream(out + "/players.csv") << dataFile("match1.json");
    std::string women = dataFile("match2.json");
    women.replace(women.find("\"male\""), 6, "\"female\"");
    std::ofstream(root + "/women.json") << women;
    std::string domestic = dataFile("match2.json");
    domestic.replace(domestic.find("\"ODI\""), 5, "\"ODM\"");
    std::ofstream(root + "/odm.json") << domestic;
    const std::string m1 = support::dataPath("rating/match1.json"), m2 = support::dataPath("rating/match2.json");
    const std::string o = "--out=" + out;
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--out=" + root + "/victim", m1}, "not a folder that can be written"},
        {{"--out=" + root + "/victim/deeper", m1}, "not a folder that can be written"},
        {{"--styles=" + root + "/folder", o, m1}, "--styles="},
        {{"--styles=" + root + "/none", o, m1}, "--styles="},
        {{o, o, m1}, "given more than once"},
        {{"--keeper=Dan Roe", o, m1}, "give --side too"},
        {{"--side=", o, m1}, "needs a value"},
        {{"--from=2025-01-01", "--to=2024-01-01", o, m1}, "is after"},
        {{o, out + "/players.csv"}, "would write over"},
        {{"--team=Nobody", o, m1, m2}, "--team=Nobody: no match"},
        {{"--side=Nobody", o, m1, m2}, "no match of the side"},
        {{"--side=Beta", "--keeper=Nobody", o, m1, m2}, "--keeper=Nobody: not in"},
        {{"--gender=men", o, m1}, "--gender is male or female"},
        {{"--side=Beta=Two Words", o, m1}, "one word of at most 15 characters"},
        {{"--side=Alpha=AB", "--side=Beta=AB", o, m1}, "would both be called AB"},
        {{o, m1, root + "/women.json"}, "mixes genders (female 1, male 1): choose one with --gender="},
        {{o, m1, root + "/odm.json"}, "mixes match types (ODI 1, ODM 1): choose one with --match-type="},
        {{"--team-type=county", o, m1}, "--team-type is international or club"},
        {{"--tolerance=0", o, m1}, "--tolerance needs a whole number from 1 to 1000"},
        {{"--backtest", o, m1}, "--backtest goes with --forecast=DIR"},
        {{"--forecast=" + root + "/none", o, m1}, "--forecast="},
        {{"--forecast=" + root + "/folder", "--side=Beta", o, m1}, "give one of them"},
    };
    const auto before = filesBelow(root, "");
    for (const Case& c : cases) {
        const CliRun run = runRate(c.args);
        EXPECT_EQ(run.status, 2) << c.args[0] << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args[0] << ": " << run.err;
        EXPECT_EQ(filesBelow(root, ""), before) << c.args[0];
    }
    const CliRun version = runRate({"--version", "--out=" + root + "/victim"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "pelmora-rate 1.0\n");
    const std::string manPage = support::readFile(std::string(PELMORA_SOURCE_DIR) + "/docs/man/pelmora-rate.6");
    EXPECT_EQ(support::longOptionsIn(runRate({"--help"}).out, false), support::longOptionsIn(manPage, true))
        << "the man page documents every option --help lists, and no other";
}

// Two archive matches (Alpha won the first, Beta the second; a women's match
// left out) and four fixtures made of match1.json's info: one before the
// archive, then a win, a tie and a no result, in which a debutant plays.
TEST(Rating, ForecastWritesAShareRowPerFixtureAndBacktestScoresItBesideACoinAndElo)
{
    namespace fs = std::filesystem;
    using nlohmann::json;
    const std::string root = support::tempPath("forecast");
    fs::create_directories(root + "/archive");
    fs::create_directories(root + "/fixtures");
    json m1 = json::parse(dataFile("match1.json")), m2 = json::parse(dataFile("match2.json"));
    m1["info"]["outcome"] = {{"winner", "Alpha"}, {"by", {{"runs", 3}}}};
    m2["info"]["outcome"] = {{"winner", "Beta"}, {"by", {{"wickets", 2}}}};
    std::ofstream(root + "/archive/1.json") << m1.dump();
    std::ofstream(root + "/archive/2.json") << m2.dump();
    m2["info"]["gender"] = "female";
    std::ofstream(root + "/archive/3.json") << m2.dump();
    const std::tuple<const char*, const char*, const char*, json> fixtures[] = {
        {"f0", "2023-12-01", "Alpha", {{"winner", "Alpha"}}},
        {"f1", "2024-01-15", "Alpha", {{"winner", "Alpha"}}},
        {"f2", "2024-03-01", "Beta", {{"result", "tie"}}},
        {"f3", "2024-03-01", "Alpha", {{"result", "no result"}}},
    };
    for (const auto& [name, day, first, outcome] : fixtures) {
        json info = m1["info"];
        info["dates"] = {day};
        info["teams"] = {first, first == std::string("Alpha") ? "Beta" : "Alpha"};
        info["outcome"] = outcome;
        if (name == std::string("f3")) info["players"]["Alpha"][0] = "New Boy";
        std::ofstream(root + "/fixtures/" + name + ".json") << json{{"info", info}}.dump();
    }
    const CliRun run = runRate({root + "/archive", "--forecast=" + root + "/fixtures", "--out=" + root, "--backtest",
                                "--gender=male", "--simulations=200", "--matches=100", "--threads=2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("f0.json: not forecast: no match of the archive is dated before it"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("1 match left out by the filters (--gender 1)"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("3 fixtures forecast (1 skipped) from 2 archive matches, 2 fixture days, debutants 1"),
              std::string::npos)
        << run.out;
    // Elo: after 1.json Alpha 1510, Beta 1490, so f1 gives Alpha 1/(1+10^(-20/400)) = 0.528751, (1-p)^2 = 0.222076;
    // after 2.json Beta 1500.575, Alpha 1499.425, so f2 gives Beta 0.501655, (p-0.5)^2 = 0.000003.
    EXPECT_NE(run.out.find("Brier score over 2 fixtures (1 without a result left out): forecast "), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(", coin 0.125000, Elo 0.111039\n"), std::string::npos) << run.out;

    std::istringstream csv(support::readFile(root + "/forecast.csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "file,date,team1,team2,p_team1,p_team2,p_tie");
    const char* expected[][3] = {
        {"f1.json", "Alpha", "Beta"}, {"f2.json", "Beta", "Alpha"}, {"f3.json", "Alpha", "Beta"}};
    for (const auto& [file, team1, team2] : expected) {
        ASSERT_TRUE(std::getline(csv, line)) << file;
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            fields.push_back(cell);
        ASSERT_EQ(fields.size(), 7u) << line;
        EXPECT_NE(fields[0].find(file), std::string::npos) << line;
        EXPECT_EQ(fields[2] + "," + fields[3], std::string(team1) + "," + team2) << line;
        const double p[3] = {std::stod(fields[4]), std::stod(fields[5]), std::stod(fields[6])};
        for (double v : p)
            EXPECT_TRUE(v >= 0 && v <= 1) << line;
        EXPECT_NEAR(p[0] + p[1] + p[2], 1.0, 1e-9) << line;
    }
    EXPECT_FALSE(std::getline(csv, line)) << line;
}

TEST(Rating, BatchModeWritesEveryMatchAsAFileNamedBySeed)
{
    const std::string dir = support::tempPath("archive/new");
    const std::string command = std::string("'") + PELMORA_CLI + "' /t1=" + PELMORA_SOURCE_DIR +
                                "/samples/northshire.xi /t2=" + PELMORA_SOURCE_DIR +
                                "/samples/southmoor.xi /r=40 --matches=3 --threads=2 --cricsheet='" + dir +
                                "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (int seed : {40, 41, 42}) {
        std::ifstream in(dir + "/" + std::to_string(seed) + ".json");
        std::ostringstream text;
        text << in.rdbuf();
        MatchRecord record;
        std::string why;
        EXPECT_TRUE(parseCricsheet(text.str(), record, why)) << seed << ": " << why;
        EXPECT_EQ(record.innings.size(), 2u) << seed;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 3);
}
