// Answers files, ground options and match files: the console runner answers
// as a person at the window would, and every match replays to the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/answers.h"
#include "fake_platform.h"
#include "support.h"

using fake::Harness;
using support::CliRun;
using support::readFile;
using support::runCli;
using support::tempPath;

namespace {

const std::string kHarbour = "/t1=" + support::dataPath("harbour.xi");
const std::string kUpland = "/t2=" + support::dataPath("upland.xi");

// A declaration closes every innings of this Test; the first is played on a changed ground.
const std::string kDeclaringTest =
    "# a declaration in each innings\n"
    "batsman 4\nbatsman 2\nbowler 1\n"
    "options outfield=70 wicketDifficulty=30\n"
    "declare\n\n"
    "batsman 0\nbatsman 1\nbowler 3\ndeclare\n"
    "batsman 0\nbatsman 1\nbowler 0\ndeclare\n"
    "batsman 0\nbatsman 1\nbowler 2\ndeclare\n";

// The same answers given in the window's dialogs, as a person would.
void answerInDialogs(Harness& h, const std::vector<Answer>& answers)
{
    auto next = std::make_shared<std::size_t>(0);
    h.platform.chooser = [&h, answers, next](ChoosePlayerModel& m) {
        for (; *next < answers.size() && answers[*next].kind == Answer::Options; ++*next) {
            const GroundSettings ground = answers[*next].ground;
            h.platform.optionsDialog = [ground](OptionsModel& o) {
                ground.fill(o);
                return true;
            };
            m.openOptions();
        }
        if (*next >= answers.size()) return answerAutomatically(m);
        const Answer& a = answers[(*next)++];
        if (a.kind == Answer::Declare) return m.declare();
        for (int row = 0; row < m.rowCount(); ++row)
            if (m.rowMap(row) == a.value) m.select(row);
    };
}

}  // namespace

TEST(MatchFiles, AnswersInTheConsoleGiveTheWindowTheSameBytesAndTheRecordReplaysThem)
{
    const std::string answersFile = support::writeFile("declaring.txt", kDeclaringTest);
    const std::string record = tempPath("declaring.pelmora-match");
    const CliRun console =
        runCli({kHarbour, kUpland, "/r=77", "/t", "/nta", "/l", "--answers=" + answersFile, "--record=" + record});
    ASSERT_EQ(console.status, 0) << console.err;
    EXPECT_EQ(console.err, "");

    Harness h;
    h.settings.titleAnimation = 0;
    h.options.oneDay = 0;
    h.options.briefOutput = 0;
    h.preset(tempPath("declaring-window.txt")).open();
    std::vector<Answer> answers;
    std::string error;
    ASSERT_TRUE(parseAnswers(kDeclaringTest, "declaring.txt", answers, error)) << error;
    answerInDialogs(h, answers);
    h.window->playGame();
    h.playToEnd();
    ASSERT_EQ(h.match().gameOver, 1);
    for (int k = 0; k < 4; ++k)
        EXPECT_LT(h.match().innings[k].legalBalls, 40) << "innings " << k << " was declared";
    EXPECT_EQ(readFile(tempPath("declaring-window.txt")), console.out);

    const CliRun replay = runCli({"--replay=" + record});
    EXPECT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(replay.out, console.out);
}

// Refused before play (status 2, nothing created), or when reached (status 2,
// the report of what was played); a line that is not a listed row is a warning.
TEST(MatchFiles, AnswersFileRefusalsAndWarnings)
{
    std::string bowlersOnly = "batsman 0\nbatsman 1\n";
    for (int i = 0; i < 60; ++i)
        bowlersOnly += i % 2 ? "bowler 1\n" : "bowler 2\n";
    struct Case {
        std::string text, matchType, message;
        bool beforePlay;
    } cases[] = {
        {"bat 3\n", "/o", "refused.txt:1: \"bat\" is not batsman, bowler, declare or options", true},
        {"batsman 11\n", "/o", "refused.txt:1: batsman needs a whole number from 0 to 10, not \"11\"", true},
        {"# ok\noptions outfield=101\n", "/o", "refused.txt:2: outfield needs a whole number from 0 to 100", true},
        {"options\n", "/t", "refused.txt:1: options names no setting", true},
        {"batsman 0\ndeclare\n", "/o", "refused.txt:2: declare is for Test matches", true},
        {"batsman 0\nbowler 1\n", "/t", "refused.txt:2: a batsman is asked for here, not a bowler", true},
        {"declare\nbatsman 0\nbatsman 1\nbatsman 2\n", "/t", "refused.txt:4: a bowler is asked for here", true},
        {bowlersOnly, "/o", "a batsman is asked for here, not a bowler", false},
        {bowlersOnly, "/t", "a batsman is asked for here, not a bowler", false},
    };
    for (const Case& c : cases) {
        const std::string file = support::writeFile("refused.txt", c.text);
        const std::string report = tempPath("refused-report.txt"), record = tempPath("refused.pelmora-match");
        std::filesystem::remove(report);
        std::filesystem::remove(record);
        const CliRun run =
            runCli({kHarbour, kUpland, "/r=5", c.matchType, "--answers=" + file, "/s=" + report, "--record=" + record});
        EXPECT_EQ(run.status, 2) << c.text;
        EXPECT_EQ(run.err.rfind("pelmora-cli: " + file + ":", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(std::filesystem::exists(report), !c.beforePlay) << c.text;
        if (c.beforePlay) continue;
        // Stopped part-way: the report says so instead of naming a winner, and
        // the match file replays to the same point and the same scorecards.
        const std::string played = readFile(report);
        EXPECT_NE(played.find("Did Not Bat"), std::string::npos);
        const std::size_t last = played.rfind('\n', played.size() - 2) + 1;
        EXPECT_EQ(played.substr(last).rfind("Match stopped in innings ", 0), 0u) << played.substr(last);
        EXPECT_NE(played.find(" overs: an answer was refused\n", last), std::string::npos) << played.substr(last);
        const CliRun replay = runCli({"--replay=" + record});
        EXPECT_EQ(replay.status, 0) << replay.err;
        EXPECT_EQ(replay.out.substr(0, last), played.substr(0, last));
        EXPECT_NE(replay.out.find(" overs: the match file ends here\n", last), std::string::npos);
    }

    const std::string unlisted = support::writeFile("unlisted.txt", "batsman 0\nbatsman 0\n");
    const CliRun warned = runCli({kHarbour, kUpland, "/r=5", "--answers=" + unlisted});
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.err, "pelmora-cli: " + unlisted +
                              ":2: batsman 0 has batted or is batting; the first listed batsman is taken\n");
    EXPECT_EQ(warned.out, runCli({kHarbour, kUpland, "/r=5"}).out) << "team order, as autoplay plays it";
}

// The ground options are one confirmation of the dialog before play, and
// answers are taken alike, in single matches and in batch mode; the match
// file carries both.
TEST(MatchFiles, GroundOptionsAndAnswersShapePlayInSingleAndBatchMatchesAndReplay)
{
    const std::vector<std::string> ground{"--outfield=90", "--pitch-pace=80", "--pitch-surface=100",
                                          "--wicket-difficulty=70",
                                          "--answers=" + support::writeFile("tail.txt", "batsman 10\nbatsman 9\n")};
    std::vector<std::string> single{kHarbour, kUpland, "/r=31", "--cricsheet=" + tempPath("ground-one.json"),
                                    "--record=" + tempPath("ground.pelmora-match")};
    single.insert(single.end(), ground.begin(), ground.end());
    const CliRun one = runCli(single);
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_NE(one.out, runCli({kHarbour, kUpland, "/r=31"}).out) << "the ground changes the match";

    std::vector<std::string> batch{kHarbour, kUpland, "/r=31", "--matches=1",
                                   "--cricsheet=" + tempPath("ground-batch")};
    batch.insert(batch.end(), ground.begin(), ground.end());
    ASSERT_EQ(runCli(batch).status, 0);
    // A batch's file numbers the match; the rest is the single match's.
    nlohmann::json batchFile = nlohmann::json::parse(readFile(tempPath("ground-batch/31.json")));
    batchFile["info"].erase("event");
    EXPECT_EQ(batchFile, nlohmann::json::parse(readFile(tempPath("ground-one.json"))));

    const CliRun replay =
        runCli({"--replay=" + tempPath("ground.pelmora-match"), "--cricsheet=" + tempPath("ground-replay.json")});
    EXPECT_EQ(replay.out, one.out);
    EXPECT_EQ(readFile(tempPath("ground-replay.json")), readFile(tempPath("ground-one.json")));

    const std::string wrongKind = support::writeFile("wrong.txt", "batsman 1\nbatsman 2\nbowler 0\nbatsman 3\n");
    const CliRun refused = runCli({kHarbour, kUpland, "/r=31", "--matches=3", "--answers=" + wrongKind});
    EXPECT_EQ(refused.status, 2) << "a refusal reached in a batch";
    EXPECT_NE(refused.err.find(wrongKind + ":4: a bowler is asked for here, not a batsman (seed "), std::string::npos)
        << refused.err;

    const CliRun bad = runCli({kHarbour, kUpland, "--pitch-pace=101"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "pelmora-cli: --pitch-pace needs a whole number from 0 to 100, not \"101\" (see --help)\n");
}

// A match captained by hand in the window, with the caption animation on, is
// kept as it is played; closed part-way, it resumes, and the console replays
// the kept file to the window's bytes.
TEST(MatchFiles, WindowKeepsResumesAndSavesTheMatchAndTheConsoleReplaysIt)
{
    const std::string last = tempPath("last.pelmora-match");
    auto lastRow = [](ChoosePlayerModel& m) { m.select(m.rowCount() - 1); };
    const std::string report = tempPath("window-match.txt");
    {
        Harness first;
        first.platform.lastMatch = last;
        first.platform.chooser = lastRow;
        first.preset(report).open();
        first.window->playGame();
        for (int i = 0; i < 150; ++i) {
            first.tick();
            for (int t = 0; t < 7; ++t)
                first.window->tick(MatchController::kTitleTimer);
        }
        first.window->showOptions();  // cancelled: nothing recorded
        first.platform.matchFile = tempPath("saved.pelmora-match");
        first.window->saveMatch();
        EXPECT_EQ(readFile(*first.platform.matchFile), readFile(last));
    }
    Harness resumed;
    resumed.platform.lastMatch = last;
    resumed.platform.chooser = lastRow;
    resumed.preset(report).open();
    resumed.window->resumeLastMatch();
    EXPECT_EQ(resumed.platform.boxes, std::vector<std::string>{});
    EXPECT_GT(resumed.currentDeliveries() + resumed.match().currentInnings * 300, 140) << "replayed to where it was";
    const int choicesBefore = resumed.platform.chooses;
    resumed.playToEnd();
    ASSERT_EQ(resumed.match().gameOver, 1);
    EXPECT_GT(resumed.platform.chooses, choicesBefore) << "play goes on interactively";

    const CliRun replay = runCli({"--replay=" + last});
    EXPECT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(replay.out, readFile(report));

    Harness ended;
    ended.platform.matchFile = last;
    ended.open();
    ended.window->openMatchCommand();
    EXPECT_EQ(ended.match().gameOver, 1) << "an ended match opens on its final board";
    EXPECT_EQ(ended.platform.boxes,
              std::vector<std::string>{"No output file specified. Will not write output to file."});
}

TEST(MatchFiles, DamagedTruncatedOrForeignMatchFilesAreRefusedClearly)
{
    const std::string good = tempPath("good.pelmora-match");
    ASSERT_EQ(runCli({kHarbour, kUpland, "/r=3", "/t", "--record=" + good}).status, 0);
    std::string text = readFile(good);
    std::string laterVersion = text, badSide = text;
    laterVersion.replace(laterVersion.find("\"version\": 2"), 12, "\"version\": 3");
    const std::size_t file = badSide.find("\"file\": \"") + 9;
    badSide.erase(file, badSide.find("\"\n", file) - file);  // an empty team file
    struct Case {
        std::string contents, reason;
    } cases[] = {
        {"", "not a Pelmora match file (the file is empty)"},
        {text.substr(0, text.size() / 2), "not a Pelmora match file (not valid JSON at line "},
        {"{\"teams\": []}", "not a Pelmora match file"},
        {"[1, 2]", "not a Pelmora match file"},
        {laterVersion, "written in match file format 3"},
        {badSide, "side 1 (" + support::dataPath("harbour.xi") + ") does not load: only 0 of 11 players"},
    };
    for (const Case& c : cases) {
        const std::string file = support::writeFile("damaged.pelmora-match", c.contents);
        const CliRun run = runCli({"--replay=" + file});
        EXPECT_NE(run.status, 0);
        EXPECT_EQ(run.err.rfind("pelmora-cli: cannot replay match file " + file + ": " + c.reason, 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");

        Harness h;
        h.platform.matchFile = file;
        h.open();
        h.window->openMatchCommand();
        ASSERT_EQ(h.platform.boxes.size(), 1u);
        EXPECT_EQ(h.platform.boxes[0].rfind("Cannot open match file " + file + ": " + c.reason, 0), 0u);
        EXPECT_EQ(h.match().gameStarted, 0);
    }
}

namespace {

// The match file as format 1 wrote it: no overs, no score.
std::string asFormat1(const std::string& text)
{
    nlohmann::ordered_json file = nlohmann::ordered_json::parse(text);
    file["version"] = 1;
    file["settings"].erase("overs");
    file["played"].erase("score");
    return file.dump(1);
}

}  // namespace

// Every kind of match replays from its match file to the same report,
// commentary and Cricsheet bytes; a file of format 1 (before the overs were
// kept) still replays its 50-over or Test match. A tournament's fixture is the
// match of its sides, seed and overs, so that match's file replays the fixture.
TEST(MatchFiles, EveryKindOfMatchReplaysToTheSameBytes)
{
    const std::string cup = tempPath("cup-reports"), samples = std::string(PELMORA_SOURCE_DIR) + "/samples/";
    ASSERT_EQ(runCli({"--tournament=" + samples + "t20_cup.json", "/r=100", "--reports=" + cup}).status, 0);
    struct Case {
        std::string name;
        std::vector<std::string> play;
        bool format1 = false;
        std::string fixtureReport = {};  // the tournament's report of this match
    } cases[] = {
        {"one-day", {kHarbour, kUpland, "/r=11"}, true},
        {"test", {kHarbour, kUpland, "/r=12", "/t", "/l"}, true},
        {"twenty", {kHarbour, kUpland, "/r=5", "--overs=20"}},
        {"seven", {kHarbour, kUpland, "/r=13", "--overs=7", "--outfield=80", "/l"}},
        {"one", {kHarbour, kUpland, "/r=14", "--overs=1"}},
        {"fixture",
         {"/t1=" + samples + "kestrels.xi", "/t2=" + samples + "harriers.xi", "/r=100", "--overs=20"},
         false,
         cup + "/001-Round_robin-Kestrels-v-Harriers.txt"},
    };
    for (const Case& c : cases) {
        const std::string record = tempPath(c.name + ".pelmora-match");
        auto outputs = [&](const std::string& tag) {
            return std::vector<std::string>{"--commentary=" + tempPath(c.name + tag + ".txt"),
                                            "--cricsheet=" + tempPath(c.name + tag + ".json")};
        };
        std::vector<std::string> args = c.play;
        args.push_back("--record=" + record);
        for (const std::string& o : outputs("-played"))
            args.push_back(o);
        const CliRun played = runCli(args);
        ASSERT_EQ(played.status, 0) << c.name << ": " << played.err;
        if (!c.fixtureReport.empty()) {
            EXPECT_EQ(played.out, readFile(c.fixtureReport));
        }

        std::vector<std::string> files{record};
        if (c.format1) files.push_back(support::writeFile(c.name + "-1.pelmora-match", asFormat1(readFile(record))));
        for (const std::string& file : files) {
            std::vector<std::string> again{"--replay=" + file};
            for (const std::string& o : outputs("-again"))
                again.push_back(o);
            const CliRun replay = runCli(again);
            EXPECT_EQ(replay.status, 0) << c.name << ": " << replay.err;
            EXPECT_EQ(replay.out, played.out) << file;
            for (const char* kind : {".txt", ".json"}) {
                const std::string first = readFile(tempPath(c.name + "-played" + kind));
                EXPECT_FALSE(first.empty()) << c.name << kind;
                EXPECT_EQ(readFile(tempPath(c.name + "-again" + kind)), first) << file << kind;
            }
            // The window's Open Match plays it to the same end, without a complaint.
            Harness window;
            window.platform.matchFile = file;
            window.open();
            window.window->openMatchCommand();
            EXPECT_EQ(window.match().gameOver, 1) << file;
            EXPECT_EQ(window.platform.boxes,
                      std::vector<std::string>{"No output file specified. Will not write output to file."});
        }
    }
}

// The first over's bowler, answered, never bowls the second too when the
// answers run out and the automatic choice takes over.
TEST(MatchFiles, AnAnsweredFirstOverIsNeverFollowedByTheSameBowler)
{
    auto bowlerOf = [](const std::string& report, const std::string& over) {
        const std::size_t at = report.find("(Over #  " + over + " Ball #1) ");
        if (at == std::string::npos) return std::string();
        const std::size_t name = report.find(')', at) + 2;
        return report.substr(name, report.find(" to ", name) - name);
    };
    for (int position = 0; position < 5; ++position) {
        const std::string answers =
            support::writeFile("first-over.txt", "batsman 0\nbatsman 1\nbowler " + std::to_string(position) + "\n");
        for (const char* type : {"/o", "/t"}) {
            const CliRun run = runCli({kHarbour, kUpland, "/r=9", type, "/l", "--answers=" + answers});
            ASSERT_EQ(run.status, 0) << run.err;
            EXPECT_NE(bowlerOf(run.out, "1"), "");
            EXPECT_NE(bowlerOf(run.out, "1"), bowlerOf(run.out, "2")) << "bowler " << position << " " << type;
        }
    }
}
