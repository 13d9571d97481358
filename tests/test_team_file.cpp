// Team records, bowler orderings and the team file loader.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support.h"
#include "teams/team.h"

using support::writeFile;

namespace {

// n player lines P1..Pn; the player at keeperAt (1-based, 0 for none) keeps
// wicket, and players 7.. bowl.
std::string playerLines(int n, int keeperAt = 6, int secondKeeper = 0)
{
    std::string text;
    for (int i = 1; i <= n; ++i) {
        const int keeper = (i == keeperAt || i == secondKeeper) ? 1 : 0;
        const int bowls = i >= 7 ? 1 : 0;
        text += "P" + std::to_string(i) + " " + std::to_string(400 + i) + " 120 500 " + std::to_string(keeper) + " " +
                std::to_string(bowls) + " " + std::to_string(300 + i) + " 110 " + std::to_string(i % 3) + "\n";
    }
    return text;
}

int load(Team& team, const std::string& name, const std::string& content, LoadDiagnosis* why = nullptr)
{
    const std::string path = writeFile(name, content);
    return team.load(path.c_str(), why);
}

}  // namespace

TEST(TeamFile, LoadsANameElevenPlayersAndOneKeeper)
{
    Team team;
    LoadDiagnosis why;
    const std::string path = writeFile("good.xi", "# a comment\nHarbour\n" + playerLines(11));
    ASSERT_EQ(team.load(path.c_str(), &why), 1) << why.reason;
    EXPECT_EQ(why.reason, "");
    EXPECT_STREQ(team.name(), "Harbour");
    EXPECT_STREQ(team.filePath(), path.c_str());
    EXPECT_EQ(team.keeper(), 5);
    ASSERT_EQ(team.bowlerCount(), 5);
    const int expected[10] = {6, 7, 8, 9, 10, -1, -1, -1, -1, -1};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(team.bowlers()[i], expected[i]) << "bowler slot " << i;
    const Player& p = *team.player(10);
    EXPECT_STREQ(p.name(), "P11");
    EXPECT_EQ(p.batTempo, 411);
    EXPECT_EQ(p.batRisk, 120);
    EXPECT_EQ(p.batSurvival, 500);
    EXPECT_EQ(p.isBowler, 1);
    EXPECT_EQ(p.bowlTempo, 311);
    EXPECT_EQ(p.bowlThreat, 110);
    EXPECT_EQ(p.bowlStyle, 2);
}

TEST(TeamFile, OnlyAHashInTheFirstColumnMakesAComment)
{
    Team team;
    ASSERT_EQ(load(team, "hash.xi", "# Ignored 1 2 3\n #Named\n" + playerLines(11)), 1);
    EXPECT_STREQ(team.name(), "#Named") << "a line starting with a blank is scanned, not skipped";
}

TEST(TeamFile, BlankLineIsAPlayerWithAnEmptyNameAndZeroRatings)
{
    Team team;
    ASSERT_EQ(load(team, "blank.xi", "Side\n\n" + playerLines(10)), 1);
    const Player& p = *team.player(0);
    EXPECT_STREQ(p.name(), "");
    EXPECT_EQ(p.batTempo, 0);
    EXPECT_EQ(p.bowlStyle, 0);
    EXPECT_STREQ(team.player(1)->name(), "P1");
}

TEST(TeamFile, WordAndOneIntegerIsAPlayerWithLaterRatingsZero)
{
    Team team;
    ASSERT_EQ(load(team, "one.xi", "Side\nZed 500\n" + playerLines(10)), 1);
    const Player& p = *team.player(0);
    EXPECT_STREQ(p.name(), "Zed");
    EXPECT_EQ(p.batTempo, 500);
    EXPECT_EQ(p.batRisk, 0);
    EXPECT_EQ(p.batSurvival, 0);
    EXPECT_EQ(p.isBowler, 0);
}

TEST(TeamFile, WordFollowedByANonIntegerIsANameLine)
{
    Team team;
    ASSERT_EQ(load(team, "words.xi", "Harbour City 1 2 3\n" + playerLines(11)), 1);
    EXPECT_STREQ(team.name(), "Harbour");
    EXPECT_STREQ(team.player(0)->name(), "P1") << "a name line must not count as a player";
    Team later;
    ASSERT_EQ(load(later, "twonames.xi", "First\n" + playerLines(3) + "Second\n" + playerLines(11)), 1);
    EXPECT_STREQ(later.name(), "Second") << "a later name line replaces an earlier one";
}

TEST(TeamFile, IntegersReadAsPercentDAndSaturate)
{
    Team team;
    ASSERT_EQ(load(team, "ints.xi", "Side\nBig 99999999999 -99999999999 12abc 7\nSigned +5 -3\n" + playerLines(9)), 1);
    const Player& big = *team.player(0);
    EXPECT_EQ(big.batTempo, INT_MAX);
    EXPECT_EQ(big.batRisk, INT_MIN);
    EXPECT_EQ(big.batSurvival, 12);
    EXPECT_EQ(big.isKeeper, 0) << "scanning stops at the first field that is not an integer";
    const Player& s = *team.player(1);
    EXPECT_EQ(s.batTempo, 5);
    EXPECT_EQ(s.batRisk, -3);
}

TEST(TeamFile, KeeperIsNormalisedIntoANonBowler)
{
    Team team;
    std::string text = "Side\n";
    text += "Keeps 400 120 500 1 1 350 140 2\n";
    for (int i = 2; i <= 11; ++i) text += "Q" + std::to_string(i) + " 400 120 500 0 1 300 100 0\n";
    ASSERT_EQ(load(team, "keeper.xi", text), 1);
    const Player& k = *team.player(0);
    EXPECT_EQ(k.isKeeper, 1);
    EXPECT_EQ(k.isBowler, 0);
    EXPECT_EQ(k.bowlTempo, 0);
    EXPECT_EQ(k.bowlThreat, 0);
    EXPECT_EQ(k.bowlStyle, 0);
    EXPECT_EQ(k.batTempo, 400);
    EXPECT_EQ(team.keeper(), 0);
    EXPECT_EQ(team.bowlerCount(), 10);
    EXPECT_EQ(team.bowlerPosition(0), 10) << "the keeper is never in the bowler list";
}

TEST(TeamFile, TwelfthPlayerLineAndAnythingAfterTheEleventhIsIgnored)
{
    Team team;
    team.setName("Before");
    ASSERT_EQ(load(team, "twelve.xi", playerLines(11) + "Extra 999 1 1 1 1 1 1 1\nLateName\n"), 1);
    EXPECT_STREQ(team.player(10)->name(), "P11");
    EXPECT_STREQ(team.name(), "Before") << "a name line after the eleventh player must never be read";
    EXPECT_EQ(team.keeper(), 5);
}

TEST(TeamFile, TenPlayersFailButLeaveWhatWasRead)
{
    Team team;
    LoadDiagnosis why;
    EXPECT_EQ(load(team, "ten.xi", "Short\n" + playerLines(10), &why), 0);
    EXPECT_EQ(why.reason, "only 10 of 11 players");
    EXPECT_STREQ(team.name(), "Short");
    EXPECT_STREQ(team.player(9)->name(), "P10");
    EXPECT_EQ(team.keeper(), -1) << "the keeper of a failed load is not set";
    EXPECT_EQ(team.bowlerCount(), 0);
}

TEST(TeamFile, TwoOrNoKeepersFailAndKeepThePreviousKeeperAndBowlers)
{
    Team team;
    ASSERT_EQ(load(team, "first.xi", "First\n" + playerLines(11, 3)), 1);
    ASSERT_EQ(team.keeper(), 2);
    ASSERT_EQ(team.bowlerCount(), 5);

    LoadDiagnosis why;
    std::string two = "Two\n";
    for (int i = 1; i <= 11; ++i)
        two += "T" + std::to_string(i) + " 1 2 3 " + (i == 1 || i == 9 ? "1" : "0") + " 1 5 6 0\n";
    EXPECT_EQ(load(team, "two.xi", two, &why), 0);
    EXPECT_EQ(why.reason, "2 wicket-keepers");
    EXPECT_STREQ(team.name(), "Two");
    EXPECT_STREQ(team.player(10)->name(), "T11") << "all eleven players are stored all the same";
    EXPECT_EQ(team.keeper(), 2);
    EXPECT_EQ(team.bowlerCount(), 5);
    EXPECT_EQ(team.bowlerAt(0), 6);

    EXPECT_EQ(load(team, "none.xi", "None\n" + playerLines(11, 0), &why), 0);
    EXPECT_EQ(why.reason, "no wicket-keeper");
    EXPECT_EQ(team.keeper(), 2);
    EXPECT_EQ(team.bowlerCount(), 5);
}

TEST(TeamFile, MissingFileFailsWithTheReasonAndOnlyThePathChanges)
{
    Team team;
    team.setName("Kept");
    LoadDiagnosis why;
    const std::string path = support::tempPath("does-not-exist.xi");
    EXPECT_EQ(team.load(path.c_str(), &why), 0);
    EXPECT_EQ(why.reason, "cannot be opened: No such file or directory");
    EXPECT_STREQ(team.filePath(), path.c_str());
    EXPECT_STREQ(team.name(), "Kept");
}

TEST(TeamFile, DirectoryIsRefusedWithoutWaitingForAnEnd)
{
    Team team;
    LoadDiagnosis why;
    EXPECT_EQ(team.load(support::scratchDir().c_str(), &why), 0);
    EXPECT_EQ(why.reason.rfind("cannot be read", 0), 0u) << why.reason;
}

TEST(TeamFile, FilePathIsCutTo259Characters)
{
    Team team;
    const std::string longPath(300, 'p');
    EXPECT_EQ(team.load(longPath.c_str()), 0);
    EXPECT_EQ(std::string(team.filePath()), longPath.substr(0, 259));
}

TEST(TeamFile, LongNamesAreCutTo15BytesAndNonAsciiBytesKept)
{
    Team team;
    // "Zoë" in UTF-8, and eight two-byte letters (16 bytes) cut in the middle of the last.
    const std::string zoe = "Zo\xC3\xAB";
    std::string wide;
    for (int i = 0; i < 8; ++i) wide += "\xC3\x91";
    std::string text = "ABCDEFGHIJKLMNOPQRST\n" + zoe + " 400 1 1\n" + wide + " 400 1 1\nTwentyCharacterName1 7\n";
    text += playerLines(8);
    ASSERT_EQ(load(team, "names.xi", text), 1);
    EXPECT_EQ(std::string(team.name()), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(std::string(team.player(0)->name()), zoe);
    EXPECT_EQ(std::string(team.player(1)->name()), wide.substr(0, 15));
    EXPECT_EQ(std::string(team.player(2)->name()), "TwentyCharacter");
    EXPECT_EQ(team.player(2)->batTempo, 7);
}

TEST(TeamFile, LongFirstWordIsConsumedWholeAndTheNextFieldFollowsIt)
{
    Team team;
    const std::string word(990, 'W');
    ASSERT_EQ(load(team, "longword.xi", "Side\n" + word + " 500 100 600 0 1 330 95 1\n" + playerLines(10)), 1);
    const Player& p = *team.player(0);
    EXPECT_EQ(std::string(p.name()), std::string(15, 'W'));
    EXPECT_EQ(p.batTempo, 500);
    EXPECT_EQ(p.batRisk, 100);
    EXPECT_EQ(p.batSurvival, 600);
    EXPECT_EQ(p.isBowler, 1);
    EXPECT_EQ(p.bowlStyle, 1);
    EXPECT_EQ(team.bowlerAt(0), 0);
}

TEST(TeamFile, LineIsReadInPiecesOf1023Characters)
{
    // 1022 characters and the line end fit one piece: a single name line.
    Team fits;
    ASSERT_EQ(load(fits, "fits.xi", std::string(1022, 'N') + "\n" + playerLines(11)), 1);
    EXPECT_STREQ(fits.player(0)->name(), "P1");
    EXPECT_EQ(std::string(fits.name()), std::string(15, 'N'));

    // 1023 characters fill a piece; the line end is then read as a line of its
    // own, an empty line, which is a blank player.
    Team full;
    ASSERT_EQ(load(full, "full.xi", "Side\n" + std::string(1023, 'N') + "\n" + playerLines(11)), 1);
    EXPECT_EQ(std::string(full.name()), std::string(15, 'N'));
    EXPECT_STREQ(full.player(0)->name(), "");
    EXPECT_STREQ(full.player(1)->name(), "P1");

    // A CR is a character of the piece like any other.
    Team crlf;
    ASSERT_EQ(load(crlf, "crlf-full.xi", "Side\r\n" + std::string(1022, 'N') + "\r\n" + playerLines(11)), 1);
    EXPECT_STREQ(crlf.player(0)->name(), "");
    EXPECT_STREQ(crlf.player(1)->name(), "P1");
}

TEST(TeamFile, HundredThousandCharacterLineIsReadPieceByPiece)
{
    // 97 pieces of 1023 letters are name lines; the last piece holds the
    // remaining 759 letters and three integers, which makes it a player.
    Team team;
    const std::string line = std::string(99990, 'X') + " 1 2 3";
    ASSERT_EQ(load(team, "huge.xi", "Side\n" + line + "\n" + playerLines(10)), 1);
    EXPECT_EQ(std::string(team.name()), std::string(15, 'X'));
    const Player& p = *team.player(0);
    EXPECT_EQ(std::string(p.name()), std::string(15, 'X'));
    EXPECT_EQ(p.batTempo, 1);
    EXPECT_EQ(p.batRisk, 2);
    EXPECT_EQ(p.batSurvival, 3);
    EXPECT_STREQ(team.player(10)->name(), "P10");
}

TEST(TeamFile, CrLfFileLoadsLikeTheSameFileWithLf)
{
    const std::string lf = "Side\n" + playerLines(11);
    std::string crlf;
    for (char c : lf) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    Team a, b;
    ASSERT_EQ(load(a, "lf.xi", lf), 1);
    ASSERT_EQ(load(b, "crlf.xi", crlf), 1);
    EXPECT_STREQ(b.name(), "Side") << "the CR must not become part of the name";
    for (int i = 0; i < 11; ++i) {
        EXPECT_STREQ(a.player(i)->name(), b.player(i)->name());
        EXPECT_EQ(a.player(i)->bowlStyle, b.player(i)->bowlStyle) << "player " << i;
    }
    EXPECT_EQ(a.keeper(), b.keeper());
    EXPECT_EQ(a.bowlerCount(), b.bowlerCount());
}

TEST(TeamFile, CrAloneLineAndNulFirstByteAreBlankPlayers)
{
    Team team;
    std::string text = "Side\n\r\n";
    text += std::string("\0Ghost 900 900\n", 15);
    text += std::string("Cut 400\0 500\n", 13);
    text += playerLines(8);
    ASSERT_EQ(load(team, "bytes.xi", text), 1);
    EXPECT_STREQ(team.player(0)->name(), "");
    EXPECT_EQ(team.player(0)->batTempo, 0);
    EXPECT_STREQ(team.player(1)->name(), "") << "a line whose first byte is NUL is an empty line";
    EXPECT_EQ(team.player(1)->batTempo, 0);
    EXPECT_STREQ(team.player(2)->name(), "Cut");
    EXPECT_EQ(team.player(2)->batTempo, 400);
    EXPECT_EQ(team.player(2)->batRisk, 0) << "bytes after a NUL in a line are ignored";
    EXPECT_STREQ(team.player(3)->name(), "P1");
}

TEST(TeamFile, SidesThatCannotBowlStillLoad)
{
    Team none, one;
    std::string noBowlers = "NoBowl\n";
    for (int i = 1; i <= 11; ++i) noBowlers += "N" + std::to_string(i) + " 1 1 1 " + (i == 2 ? "1" : "0") + " 0\n";
    EXPECT_EQ(load(none, "nobowl.xi", noBowlers), 1);
    EXPECT_EQ(none.bowlerCount(), 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(none.bowlers()[i], -1);
    std::string oneBowler = "One\n";
    for (int i = 1; i <= 11; ++i)
        oneBowler += "B" + std::to_string(i) + " 1 1 1 " + (i == 2 ? "1 0" : i == 11 ? "0 1" : "0 0") + "\n";
    EXPECT_EQ(load(one, "onebowl.xi", oneBowler), 1);
    EXPECT_EQ(one.bowlerCount(), 1);
    EXPECT_EQ(one.bowlerAt(0), 10);
}

TEST(TeamRecord, SetBowlersFillsTheRestWithMinusOne)
{
    Team team;
    const int list[3] = {2, 5, 9};
    team.setBowlers(list, 3);
    EXPECT_EQ(team.bowlerCount(), 3);
    for (int i = 3; i < 10; ++i) EXPECT_EQ(team.bowlers()[i], -1) << "slot " << i;
    EXPECT_EQ(team.bowlerAt(2), 9);
    EXPECT_EQ(team.bowlerAt(3), -1) << "bowlerAt(bowlerCount) must be -1";
    EXPECT_EQ(team.bowlerAt(-1), -1);
    EXPECT_EQ(team.bowlerPosition(5), 1);
    EXPECT_EQ(team.bowlerPosition(4), 3) << "a player who does not bowl is at bowlerCount";
    Team empty;
    empty.setBowlers(list, 0);
    EXPECT_EQ(empty.bowlerPosition(2), 0);
    EXPECT_EQ(empty.bowlerAt(0), -1);
}

TEST(TeamRecord, PlayerIndexOutsideTheSideHasNoPlayer)
{
    Team team;
    EXPECT_EQ(team.player(-1), nullptr);
    EXPECT_EQ(team.player(11), nullptr);
    EXPECT_NE(team.player(10), nullptr);
}

TEST(TeamRecord, CopyIsWholeAndSharesNothing)
{
    Team original = support::makeSide("Original", "O", 6);
    original.setFilePath("/some/where.xi");
    Team copy = original;
    original.setName("Changed");
    original.player(3)->setName("Renamed");
    original.player(3)->batTempo = 1;
    original.setKeeper(0);
    const int list[1] = {0};
    original.setBowlers(list, 1);
    original.setFilePath("/else.xi");

    EXPECT_STREQ(copy.name(), "Original");
    EXPECT_STREQ(copy.filePath(), "/some/where.xi");
    EXPECT_STREQ(copy.player(3)->name(), "OD");
    EXPECT_EQ(copy.player(3)->batTempo, 400);
    EXPECT_EQ(copy.keeper(), 4);
    EXPECT_EQ(copy.bowlerCount(), 6);
    EXPECT_EQ(copy.bowlerAt(0), 5);
    EXPECT_EQ(copy.bowlerAt(5), 10);
}

TEST(PlayerOrdering, StyleDecidesBetweenEqualThreatsAndLeadsTheStyleOrdering)
{
    Player neutral = support::makePlayer("N", 0, 0, 0, 0, 1, 300, 100, 2);
    Player pace = support::makePlayer("P", 0, 0, 0, 0, 1, 300, 100, 0);
    EXPECT_EQ(compareThreat(neutral, pace), 0);
    EXPECT_EQ(compareThreatThenStyle(neutral, pace), 1);
    EXPECT_EQ(compareThreatThenStyle(pace, neutral), -1);
    EXPECT_EQ(compareThreatThenStyle(pace, pace), 0);

    Player fierce = support::makePlayer("F", 0, 0, 0, 0, 1, 300, 200, 0);
    EXPECT_EQ(compareStyleThenThreat(neutral, fierce), 1) << "style comes before threat";
    EXPECT_EQ(compareThreatThenStyle(neutral, fierce), -1);

    Player quick = support::makePlayer("Q", 0, 0, 0, 0, 1, 400, 100, 0);
    EXPECT_EQ(compareThreat(quick, pace), 1) << "tempo breaks a tie in threat";
    EXPECT_EQ(compareStyleThenThreat(quick, pace), 1);
}
