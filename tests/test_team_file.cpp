// The team file loader.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support.h"
#include "teams/team.h"

namespace {

// n player lines P1..Pn; the player at keeperAt (1-based, 0 for none) keeps
// wicket, and he and players 7.. claim to bowl.
std::string playerLines(int n, int keeperAt = 6, const char* end = "\n")
{
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += std::string("P") + std::to_string(i) + " " + std::to_string(400 + i) + " 120 500 " +
                (i == keeperAt ? "1" : "0") + (i >= 7 || i == keeperAt ? " 1 " : " 0 ") + std::to_string(300 + i) +
                " 110 " + std::to_string(i % 3) + end;
    return text;
}

int load(Team& team, const std::string& name, const std::string& content, LoadDiagnosis* why = nullptr)
{
    return team.load(support::writeFile(name, content).c_str(), why);
}

// A player as a team file line: his name and eight ratings.
std::string line(const Player& p)
{
    std::string text = p.name();
    for (int v : {p.batTempo, p.batRisk, p.batSurvival, p.isKeeper, p.isBowler, p.bowlTempo, p.bowlThreat, p.bowlStyle})
        (text += ' ') += std::to_string(v);
    return text;
}

}  // namespace

TEST(TeamFile, EveryKindOfLineLoadsAsTheFormatSays)
{
    const std::string blank = " 0 0 0 0 0 0 0 0";
    struct Case {
        const char* what;
        std::string text, name;
        std::vector<std::pair<int, std::string>> players;  // index and line
    } cases[] = {
        {"a name, eleven players and a keeper whose bowling is dropped",
         "Harbour\n" + playerLines(11),
         "Harbour",
         {{5, "P6 406 120 500 1 0 0 0 0"}, {10, "P11 411 120 500 0 1 311 110 2"}}},
        {"comments only in column 1; name lines, the last before the eleventh player wins; blank and short lines",
         "# Ignored 1 2 3\nHarbour City 1 2 3\n\nZed 500\n #Named\n" + playerLines(9) + "Late 1 2 3\nLateName\n",
         "#Named",
         {{0, blank}, {1, "Zed 500 0 0 0 0 0 0 0"}, {10, "P9 409 120 500 0 1 309 110 0"}}},
        {"integers read as %d, saturating",
         "Side\nBig 99999999999 -99999999999 12abc 7\nSigned +5 -3\n" + playerLines(9),
         "Side",
         {{0, "Big 2147483647 -2147483648 12 0 0 0 0 0"}, {1, "Signed 5 -3 0 0 0 0 0 0"}}},
        {"a long first word is consumed whole; names keep 15 bytes",
         "ABCDEFGHIJKLMNOPQRST\nZo\xC3\xAB 400\n" + std::string(990, 'W') + " 500 100 600 0 1 330 95 1\n" +
             playerLines(9),
         "ABCDEFGHIJKLMNO",
         {{0, "Zo\xC3\xAB 400 0 0 0 0 0 0 0"}, {1, std::string(15, 'W') + " 500 100 600 0 1 330 95 1"}}},
        {"1022 characters and the line end fit one piece",
         std::string(1022, 'N') + "\n" + playerLines(11),
         std::string(15, 'N'),
         {{0, "P1 401 120 500 0 0 301 110 1"}}},
        {"1022 characters and a CR fill a piece; the line end is then a blank player",
         "Side\r\n" + std::string(1022, 'N') + "\r\n" + playerLines(11, 6, "\r\n"),
         std::string(15, 'N'),
         {{0, blank}, {1, "P1 401 120 500 0 0 301 110 1"}}},
        {"97 pieces of a long line are name lines, the last one a player",
         "Side\n" + std::string(99990, 'X') + " 1 2 3\n" + playerLines(10),
         std::string(15, 'X'),
         {{0, std::string(15, 'X') + " 1 2 3 0 0 0 0 0"}}},
        {"a CR alone and a NUL first byte make blank players; bytes after a NUL are ignored",
         "Side\r\n\r\n" + std::string("\0Ghost 900 900\n", 15) + std::string("Cut 400\0 500\r\n", 14) + playerLines(8),
         "Side",
         {{0, blank}, {1, blank}, {2, "Cut 400 0 0 0 0 0 0 0"}}},
    };
    for (const Case& c : cases) {
        Team team;
        LoadDiagnosis why;
        ASSERT_EQ(load(team, "case.xi", c.text, &why), 1) << c.what << ": " << why.reason;
        EXPECT_EQ(std::string(team.name()), c.name) << c.what;
        for (const auto& [index, expected] : c.players)
            EXPECT_EQ(line(*team.player(index)), expected) << c.what;
    }
}

TEST(TeamFile, FailedLoadsKeepWhatWasReadAndThePreviousKeeperAndBowlers)
{
    Team fresh;
    LoadDiagnosis why;
    EXPECT_EQ(load(fresh, "ten.xi", "Short\n" + playerLines(10), &why), 0);
    EXPECT_EQ(why.reason, "only 10 of 11 players");
    EXPECT_STREQ(fresh.name(), "Short");
    EXPECT_STREQ(fresh.player(9)->name(), "P10");
    EXPECT_EQ(fresh.keeper(), -1);

    Team team;
    ASSERT_EQ(load(team, "first.xi", "First\n" + playerLines(11, 3)), 1);
    EXPECT_EQ(std::vector<int>(team.bowlers(), team.bowlers() + 10),
              (std::vector<int>{6, 7, 8, 9, 10, -1, -1, -1, -1, -1}));
    std::string two = "Two\n";
    for (int i = 1; i <= 11; ++i)
        two += std::string("T") + std::to_string(i) + " 1 2 3 " + (i == 1 || i == 9 ? "1" : "0") + " 1 5 6 0\n";
    EXPECT_EQ(load(team, "two.xi", two, &why), 0);
    EXPECT_EQ(why.reason, "2 wicket-keepers");
    EXPECT_STREQ(team.player(10)->name(), "T11") << "all eleven players are stored all the same";
    EXPECT_EQ(load(team, "none.xi", "None\n" + playerLines(11, 0), &why), 0);
    EXPECT_EQ(why.reason, "no wicket-keeper");
    EXPECT_EQ(team.keeper(), 2);
    EXPECT_EQ(team.bowlerCount(), 5);
    EXPECT_EQ(team.bowlerAt(0), 6);
}

TEST(TeamFile, FilesThatCannotBeOpenedOrReadFailWithTheReason)
{
    Team team;
    LoadDiagnosis why;
    EXPECT_EQ(team.load(support::tempPath("does-not-exist.xi").c_str(), &why), 0);
    EXPECT_EQ(why.reason, "cannot be opened: No such file or directory");
    EXPECT_EQ(team.load(support::tempPath(".").c_str(), &why), 0) << "a directory never reaches an end of file";
    EXPECT_EQ(why.reason.rfind("cannot be read", 0), 0u) << why.reason;
}

TEST(TeamFile, NamesAreUtf8CutByCharactersWithoutControlCharacters)
{
    struct Case {
        const char* what;
        std::string file, side, first;
    } cases[] = {
        {"UTF-8 is kept; 15 characters, not bytes",
         "\xC3\x84sterby\n" + std::string("Abcdefghijklmn\xC3\xBC\xC3\xBC 1\n"), "\xC3\x84sterby",
         "Abcdefghijklmn\xC3\xBC"},
        {"a file that is not UTF-8 is Latin-1", "K\xF6ln\nM\xFCller 1\n", "K\xC3\xB6ln", "M\xC3\xBCller"},
        {"one stray byte anywhere makes the whole file Latin-1", "Zo\xC3\xAB\n# caf\xE9\nA 1\n", "Zo\xC3\x83\xC2\xAB",
         "A"},
        {"control characters become '?'", "Side\nRed\x1B[31m\x7F 1\n", "Side", "Red?[31m?"},
        {"C1 controls of Latin-1 too", "Side\nA\x85Z 1\n", "Side", "A?Z"},
        {"a byte-order mark is not part of the name", "\xEF\xBB\xBFSide\nA 1\n", "Side", "A"},
    };
    for (const Case& c : cases) {
        Team team;
        LoadDiagnosis why;
        // The first player line has no keeper; the eleventh does.
        ASSERT_EQ(load(team, "names.xi", c.file + playerLines(10, 10), &why), 1) << c.what << ": " << why.reason;
        EXPECT_EQ(std::string(team.name()), c.side) << c.what;
        EXPECT_EQ(std::string(team.player(0)->name()), c.first) << c.what;
    }
}
