#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "app/team_editor_model.h"
#include "support.h"

namespace {

TeamEditorModel sampleModel()
{
    TeamEditorModel model;
    model.setTeam(support::loadSample("northshire.xi"));
    return model;
}

// Saved, loaded by the team loader and taken back into an editor.
TeamEditorModel throughTheLoader(const TeamEditorModel& model, bool& loaded)
{
    // Saving over an earlier file keeps its mode.
    const std::string path = support::writeFile("edited.xi", "");
    ::chmod(path.c_str(), 0640);
    std::string why;
    EXPECT_TRUE(model.save(path, why)) << why;
    struct stat saved {};
    EXPECT_TRUE(::stat(path.c_str(), &saved) == 0 && (saved.st_mode & 07777) == 0640);
    Team team;
    loaded = team.load(path.c_str()) == 1;
    TeamEditorModel back;
    back.setTeam(team);
    return back;
}

}  // namespace

// The editor refuses what the loader would refuse or read back differently,
// and warns of what play would refuse; what it saves loads back the same.
TEST(TeamEditor, ChecksAsLoadingAndPlayDo)
{
    const struct {
        const char* what;
        std::function<void(TeamEditorModel&)> edit;
        bool refused;
        bool cannotPlay;
        int row;  // of the first problem; -1 for the side
    } cases[] = {
        {"a sample side", [](TeamEditorModel&) {}, false, false, -1},
        {"an unnamed player", [](TeamEditorModel& m) { m.players[2].name.clear(); }, true, false, 2},
        {"two words", [](TeamEditorModel& m) { m.players[3].name = "Van Dyk"; }, true, false, 3},
        {"a comment", [](TeamEditorModel& m) { m.players[0].name = "#1"; }, true, false, 0},
        {"16 characters", [](TeamEditorModel& m) { m.players[1].name = "Abcdefghijklmnop"; }, true, false, 1},
        {"15 characters", [](TeamEditorModel& m) { m.players[1].name = "Abcdefghijklmno"; }, false, false, -1},
        {"UTF-8", [](TeamEditorModel& m) { m.players[1].name = "\xC3\x86r\xC3\xB8"; }, false, false, -1},
        {"not UTF-8", [](TeamEditorModel& m) { m.players[1].name = "\xFFr"; }, true, false, 1},
        {"a control character", [](TeamEditorModel& m) { m.players[1].name = "A\x01"; }, true, false, 1},
        {"an unnamed side", [](TeamEditorModel& m) { m.name.clear(); }, true, false, -1},
        {"no keeper", [](TeamEditorModel& m) { m.players[5].ratings[EditorPlayer::kIsKeeper] = 0; }, true, false, -1},
        {"two keepers", [](TeamEditorModel& m) { m.players[0].ratings[EditorPlayer::kIsKeeper] = 1; }, true, false, -1},
        // A keeper's bowling is dropped, as loading drops it: six bowlers less
        // the new keeper and one who stops bowling are four.
        {"a bowling keeper",
         [](TeamEditorModel& m) {
             m.players[5].ratings[EditorPlayer::kIsKeeper] = 0;
             m.players[2].ratings[EditorPlayer::kIsKeeper] = 1;
             m.players[4].ratings[EditorPlayer::kIsBowler] = 0;
         },
         false, true, -1},
        {"one bowler",
         [](TeamEditorModel& m) {
             for (int i = 3; i < 11; ++i)
                 m.players[i].ratings[EditorPlayer::kIsBowler] = 0;
         },
         false, true, -1},
    };
    for (const auto& c : cases) {
        TeamEditorModel model = sampleModel();
        c.edit(model);
        const std::vector<EditorProblem> problems = model.problems();
        bool refused = false, cannotPlay = false;
        for (const EditorProblem& p : problems)
            (p.severity == EditorProblem::Refused ? refused : cannotPlay) = true;
        EXPECT_EQ(refused, c.refused) << c.what;
        EXPECT_EQ(cannotPlay, c.cannotPlay) << c.what;
        EXPECT_EQ(model.canSave(), !c.refused) << c.what;
        if (!problems.empty()) {
            EXPECT_EQ(problems[0].row, c.row) << c.what << ": " << problems[0].text;
        }
        if (refused) continue;
        bool loaded = false;
        const TeamEditorModel back = throughTheLoader(model, loaded);
        EXPECT_TRUE(loaded) << c.what;
        EXPECT_EQ(back.fileText(), model.fileText()) << c.what;
        const Team a = model.team(), b = back.team();
        EXPECT_EQ(a.keeper(), b.keeper()) << c.what;
        EXPECT_EQ(std::vector<int>(a.bowlers(), a.bowlers() + 10), std::vector<int>(b.bowlers(), b.bowlers() + 10))
            << c.what;
    }
}

// Named columns in any order among others, quoted fields, a spreadsheet's
// byte-order mark; the chosen eleven become one-word names of the side.
TEST(TeamEditor, PicksAnElevenFromAPlayersList)
{
    std::string csv =
        "\xEF\xBB\xBFid,side,name,runs,batTempo,batRisk,batSurvival,isKeeper,isBowler,bowlTempo,bowlThreat,"
        "bowlStyle,simRuns\r\n";
    for (int i = 0; i < 13; ++i) {
        const std::string n = std::to_string(i);
        csv += "a" + n + ",\"South Africa\",\"JP de Villiers, " + n + "\",1," + n + ",100,500," + (i == 4 ? "1" : "0") +
               "," + (i > 5 ? "1" : "0") + ",300,90,1,7\r\n";
    }
    csv += "b1,England,JM Anderson,1,400,100,500,0,1,300,95,0,1\n";
    std::vector<ListedPlayer> listed;
    std::string why;
    ASSERT_TRUE(readPlayersCsv(csv, listed, why)) << why;
    ASSERT_EQ(listed.size(), 14u);
    EXPECT_EQ(sidesOf(listed), (std::vector<std::string>{"South Africa", "England"}));
    EXPECT_EQ(listed[3].player.name, "JP de Villiers, 3");
    EXPECT_EQ(listed[3].player.ratings, (std::array<int, 8>{3, 100, 500, 0, 0, 300, 90, 1}));

    TeamEditorModel model;
    model.pick("South Africa", std::vector<ListedPlayer>(listed.begin() + 2, listed.begin() + 13));
    EXPECT_EQ(model.name, "South_Africa");
    EXPECT_EQ(model.players[0].name, "JP_de_Villiers,");  // cut to 15 characters
    EXPECT_EQ(model.players[0].ratings[0], 2);
    EXPECT_EQ(model.problems().size(), 0u) << model.problems()[0].text;

    for (const auto& [text, reason] :
         std::vector<std::pair<std::string, std::string>>{{"name,side,batTempo\n", "line 1: no column batRisk"},
                                                          {"name,side,batTempo,batRisk,batSurvival,isKeeper,isBowler,"
                                                           "bowlTempo,bowlThreat,bowlStyle\nA,B,1,2,x,0,0,0,0,0\n",
                                                           "line 2: batSurvival \"x\" is not a whole number"}}) {
        EXPECT_FALSE(readPlayersCsv(text, listed, why));
        EXPECT_EQ(why, reason);
    }
}
