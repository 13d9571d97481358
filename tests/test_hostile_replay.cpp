// Match files and answers files that are damaged, hostile or ask for more than
// this program can play: each is refused with a message naming the reason,
// with the right exit status, and leaves the outputs named as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "analysis/printable_text.h"
#include "support.h"

using support::CliRun;
using support::readFile;
using support::runCli;
using support::tempPath;
using support::writeFile;

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    if (at == std::string::npos) ADD_FAILURE() << "no " << from << " in the match file";
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

TEST(HostileReplay, RefusedWithTheReasonAndTheOutputsKept)
{
    const std::string north = "/t1=" + support::dataPath("harbour.xi"), south = "/t2=" + support::dataPath("upland.xi");
    const std::string twenty = tempPath("twenty.pelmora-match");
    ASSERT_EQ(runCli({north, south, "/r=5", "--overs=20", "--record=" + twenty}).status, 0);
    const std::string text = readFile(twenty);
    auto file = [](const std::string& name, const std::string& contents) { return writeFile(name, contents); };
    // Written before the overs were kept: played again at 50 overs, it does not end where the file's did.
    nlohmann::ordered_json format1 = nlohmann::ordered_json::parse(text);
    format1["version"] = 1;
    format1["settings"].erase("overs");
    format1["played"].erase("score");
    nlohmann::ordered_json otherScore = nlohmann::ordered_json::parse(text);
    otherScore["played"]["score"][0][1] = 10;
    const std::string fifo = tempPath("answers.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string manyAnswers;
    for (int i = 0; i <= 100000; ++i)
        manyAnswers += "options outfield=1\n";

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;  // in the error output
        bool outputsKept = true;
    } cases[] = {
        {{"--replay=" + twenty, "--overs=20"}, 2, "does not go with --overs="},
        {{"--replay=" + twenty, "/t", "/l"}, 2, "does not go with /t, /l"},
        {{"--replay=" + twenty, "--tournament=" + twenty}, 2, "does not go with /s=, --record=, --replay="},
        {{"--replay=" + file("v1.json", format1.dump())}, 1, "played again, the match ", false},
        {{"--replay=" + file("score.json", otherScore.dump())}, 1, "the score is ", false},
        {{"--replay=" + file("overs.json", replaced(text, "\"overs\": 20", "\"overs\": 51"))},
         2,
         "\"overs\" is 51, outside 1..50"},
        {{"--replay=" + file("key.json", replaced(text, "\"overs\": 20", "\"overs\": 20, \"\\u001b[2J\": 1"))},
         2,
         "\"settings\" holds \"?[2J\", which this program does not know"},
        {{"--replay=" + file("draws.json", replaced(text, "\"captionDraws\": []",
                                                    "\"captionDraws\": [{\"innings\": 0, \"delivery\": 0, "
                                                    "\"count\": 2147483647}]"))},
         2,
         "more than 1000000 caption draws"},
        {{"--replay=" +
          file("deep.json",
               replaced(text, "\"events\": []", "\"events\": " + std::string(100000, '[') + std::string(100000, ']')))},
         2,
         "nested deeper than 64 levels"},
        {{"--replay=/dev/zero"}, 2, "cannot replay match file /dev/zero: larger than 16 MB"},
        {{north, south, "--answers=/dev/zero"}, 2, "cannot read answers file /dev/zero: larger than 16 MB"},
        {{north, south, "--answers=" + file("many.txt", manyAnswers)}, 2, "many.txt:100001: more than 100000 answers"},
        {{north, south, "--answers=" + file("escape.txt", "bowler 1 \x1b]0;title\x07\n")},
         2,
         "unexpected \"?]0;title?\" after bowler 1"},
        {{north, south, "/r=5", "--answers=" + file("bom.txt", "\xEF\xBB\xBF# kept\nbatsman 0\n")}, 0, "", false},
        {{"/a=" + fifo, "--version"}, 0, ""},
    };
    for (const Case& c : cases) {
        const std::string report = writeFile("kept-report.txt", "kept\n");
        const std::string record = writeFile("kept-record.json", "kept\n");
        std::vector<std::string> args = c.args;
        args.push_back("/s=" + report);
        args.push_back("--record=" + record);
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, c.status) << c.args[0] << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err.substr(0, 500);
        if (c.message.empty()) {
            EXPECT_EQ(run.err, "");
        }
        EXPECT_EQ(readFile(report) == "kept\n", c.outputsKept) << c.args[0];
        EXPECT_EQ(readFile(record) == "kept\n", c.outputsKept) << c.args[0];
    }
}

TEST(HostileReplay, PrintableTextShowsControlCharactersAndBrokenBytesAsQuestionMarks)
{
    EXPECT_EQ(printableText("Zoë \x1b[31mred\x7f\r\n"), "Zoë ?[31mred???");
    EXPECT_EQ(printableText("\xC2\x9B"
                            "2J \xC3\xA9 \xFF\xC3"),
              "?2J é ??");
    EXPECT_EQ(printableText(std::string(100, 'x'), 4), "xxxx...");
}
