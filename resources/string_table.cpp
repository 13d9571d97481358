#include <array>
#include <iterator>

#include "resources/strings.h"

namespace {

struct Entry {
    int id;
    std::string_view text;
};

// Sorted by id, so a lookup is a binary search and nothing is allocated.
constexpr Entry kTable[] = {
    {101, "&About Pelmora..."},
    {102, "No output file specified. Will not write output to file."},
    {103, "Failure opening output file."},
    {104, "Cannot create Main Timer"},
    {105, "Cannot create Title Timer"},
    {106,
     "Usage\n"
     "Pelmora [option] [option] ...\n"
     "options :\n"
     "\n"
     "/a[=FileName] : AutoPlay. Optional Bowler List FileName\n"
     "/nta : No Title Animation\n"
     "/t : Test Match\n"
     "/o : One Day Match(default)\n"
     "/t1=FileName : Team 1 FileName\n"
     "/t2=FileName : Team 2 FileName\n"
     "/s=FileName : Output File Name\n"
     "/d=Delay : Milliseconds to wait between deliveries\n"
     "/l : Long Output\n"
     "/r=Number : Random number seed : a whole number other than 0 (without it: from the clock)\n"
     "/? or --help : Usage\n"
     "--version : Version"},
    {107, "Pelmora"},
    {108, "Failure loading team file."},
    {109, "Failure writing output file."},
    {110, " cannot bowl an innings through: a Test match needs at least 2 bowlers, a one-day match at least 5."},
    {111, "Cannot start the next innings."},

    {901, "Extras"},
    {902, "LegByes"},
    {903, "Byes"},
    {907, "NoBall"},
    {908, "WideBall"},
    {910, "Did Not Bat"},
    {911, "Not Out"},
    {912, "b"},
    {913, "lbw"},
    {914, "st"},
    {915, "HitWkt"},
    {916, "c"},
    {917, "Runout"},
    {918, "Out : Handled the ball"},
    {919, "Retired hurt"},
    {920, "Out"},
    {921, "Run(s)"},
    {922, "Choose Batsman"},
    {923, "Choose Bowler"},
    {924, "overs"},
    {925, "RunRate"},
    {926, "chasing"},
    {927, "Reqd. RunRate"},
    {928, "Current Partnership"},
    {929, "Over"},
    {930, "Ball"},
    {931, "to"},
    {932, "Batsman scored"},
    {933, "No event"},
    {934, "************ END OF INNING ************"},
    {935, "************"},
    {936, "Fall of Wickets"},
    {938, "defeated"},
    {939, "wickets"},
    {940, "by"},
    {941, "tied the match"},
    {942, "and"},
    {943, "with"},
    {950, "End of Inning"},
    {951, "End of Game"},
    {952, "Outstanding performances in the inning"},
    {953, "Batting"},
    {954, "Bowling"},
    {961, " won the toss."},
    {962, " will bat first."},
    {963, "TOSS"},
    {964, "off the no ball"},
    {965, "&"},

    {1000, "Third Man"},
    {1001, "Point"},
    {1002, "Cover"},
    {1003, "Extra Cover"},
    {1004, "Mid Off"},
    {1005, "Bowler"},
    {1006, "Mid On"},
    {1007, "Midwicket"},
    {1008, "Square Leg"},
    {1009, "Long Leg"},
    {1010, "Fine Leg"},
    {1011, "Third Man fence"},
    {1012, "Point boundary"},
    {1013, "Cover boundary"},
    {1014, "Extra Cover fence"},
    {1015, "Long Off fence"},
    {1016, "Bowler back"},
    {1017, "Long On ropes"},
    {1018, "Midwicket boundary"},
    {1019, "Square Leg fence"},
    {1020, "Long Leg fence"},
    {1021, "Deep Fine Leg ropes"},

    {1100, "Drives to the left of"},
    {1101, "Drives to the right of"},
    {1102, "Drives stylishly to"},
    {1103, "Drives uppishly over"},
    {1104, "Drives dangerously to"},
    {1105, "Drives like a bullet to"},
    {1106, "Sq. Drives spuerbly to"},
    {1107, "Lofts over"},
    {1108, "Lofts dangerously over"},
    {1109, "Pushes firmly to"},
    {1110, "Pushes to"},
    {1111, "Flicks to"},
    {1112, "Flicks with wrist to"},
    {1113, "Flicks off the toes"},
    {1114, "Short arm pulls to"},
    {1115, "Pulls to"},
    {1116, "Pulls over"},
    {1117, "Sweeps to"},
    {1118, "Miscues to"},
    {1119, "Cuts to"},
    {1120, "Square cuts to"},
    {1121, "Hooks over"},
    {1122, "Glances to"},
    {1123, "Swings over"},
    {1124, "Snicks to"},
    {1126, "Hoists over"},
    {1127, "Guides to"},
    {1128, "Edges to"},
    {1130, "was almost bowled."},
    {1131, "beaten outside the off stump"},
    {1132, "lbw appeal, close. not granted"},
    {1133, "appeal for caught behind, rejected."},

    {1150, "through to the keeper"},
    {1151, "fielded at Third Man"},
    {1152, "fielded at Point"},
    {1153, "fielded at Covers"},
    {1154, "fielded at Extra Cover"},
    {1155, "fielded at Mid Off"},
    {1156, "fielded at Bowler"},
    {1157, "fielded at Mid On"},
    {1158, "fielded at MidWicket"},
    {1159, "fielded at Square Leg"},
    {1160, "fielded at Fine Leg"},
    {1161, "fielded at gully"},

    {1200, "&Game"},
    {1201, "&Choose Teams"},
    {1202, "&Options"},
    {1203, "&Play Game"},
    {1204, "&Help"},
    {1205, "&About"},
    {1210, "Pause/Go"},
    {1211, "OK"},
    {1212, "*.xi"},
    {1213, "*.txt"},
    {1220, "Pelmora : Brannock's Cricket Simlulator"},
    {1221, "Pelmora Version 1.0"},
    {1222, "Questions and bug reports: pelmora@example.org"},
    {1230, "Declare"},
    {1231, "Options"},
    {1240, "Game Options"},
    {1241, "Game Type"},
    {1242, "One Day"},
    {1243, "Test"},
    {1244, "Output File"},
    {1245, "Ball by Ball"},
    {1246, "GameSpeed"},
    {1247, "Fast"},
    {1248, "Slow"},
    {1249, "Pitch Surface"},
    {1250, "Bare"},
    {1251, "GreenTop"},
    {1252, "Pitch Type"},
    {1253, "Dull"},
    {1254, "Lively"},
    {1255, "Outfield"},
    {1256, "Wicket Difficulty"},
    {1257, "Batting Easy"},
    {1258, "Batting Tricky"},

    {1260, "&View"},
    {1261, "&Charts"},
    {1262, "&Export Cricsheet..."},
    {1263, "Worm"},
    {1264, "Manhattan"},
    {1265, "Pelmora charts"},
    {1266, "*.json"},
    {1267, "Failure writing Cricsheet file."},
    {1270, "The report file is a team file; choose another report file: "},
    {1271, "A match is being played: a tournament can start when it is over."},
    {1272, "The tournament cannot begin: "},

    {1300, "Choose the two teams with Game \u2192 Choose Teams,\nthen start the match with Game \u2192 Play Game."},
    {1301, "Open Team File"},
    {1302, "Save the Match Report As"},

    {1320, "&Team"},
    {1321, "&New Team..."},
    {1322, "&Edit Team..."},
    {1323, "Pelmora team editor"},
    {1324, "&Pick from players.csv..."},
    {1325,
     "How often he plays at the ball: added to the bowler's tempo, it sets the share of balls that are more than a dot "
     "ball (about the sum in 2000)."},
    {1326,
     "How often he is beaten when he plays at the ball: added to the bowler's threat. Higher means beaten, and out, "
     "more often."},
    {1327,
     "His chance in 1000 of a reprieve when beaten once he is in (8 runs or 8 balls); before that a beaten batsman is "
     "out. 999: never out once in."},
    {1328, "He keeps wicket. Exactly one player does, and the keeper does not bowl."},
    {1329, "He may bowl. A Test match needs at least 2 bowlers, a one-day match at least 5."},
    {1330, "How often the batsman plays at his deliveries: added to the batsman's tempo."},
    {1331,
     "How often he beats the batsman: added to the batsman's risk, and raised or lowered by the pitch surface as his "
     "style says."},
    {1332,
     "Pace gains as the pitch tends to a green top, spin as it tends to bare; neutral is not affected by the surface."},
    {1333, "pace"},
    {1334, "spin"},
    {1335, "neutral"},
    {1336, "Team name"},
    {1337, "Player "},
    {1338, ": needs a name."},
    {1339, ": must be one word, not starting with #."},
    {1340, ": holds characters that are not text."},
    {1341, ": is longer than 15 characters."},
    {1342, " wicket-keepers: exactly one player keeps wicket."},
    {1343, " bowlers: a Test match needs at least "},
    {1344, ", a one-day match at least "},
    {1345, "Ready: the side plays Test and one-day matches."},
    {1346, "Side"},
    {1347, "Cannot save team file "},
    {1348, "Players files (*.csv)"},
    {1349, "Cannot read players file "},
    {1360, "&Save Match..."},
    {1361, "&Open Match..."},
    {1362, "&Resume Last Match"},
    {1363, "Pelmora matches (*.pelmora-match)"},
    {1364, "Cannot open match file "},
    {1365, "Cannot save match file "},
    {1366, "No match has been played yet."},
    {1367, "Save Match"},
    {1368, "Open Match"},
    {1380, "Match stopped in innings"},
    {1381, "after"},
    {1382, "overs"},
    {1383, "an answer was refused"},
    {1384, "the match file ends here"},
    {1385, "the replay does not follow its match file"},
};

constexpr bool sortedById()
{
    for (std::size_t i = 1; i < std::size(kTable); ++i)
        if (kTable[i - 1].id >= kTable[i].id) return false;
    return true;
}
static_assert(sortedById(), "string table must stay sorted by id");

// Indexed by id, so the commentary of every ball looks its words up directly.
constexpr int kLastId = std::end(kTable)[-1].id;
constexpr std::array<std::string_view, kLastId + 1> kById = [] {
    std::array<std::string_view, kLastId + 1> byId{};
    for (const Entry& e : kTable)
        byId[static_cast<std::size_t>(e.id)] = e.text;
    return byId;
}();

}  // namespace

std::string_view loadString(int id)
{
    if (id < 0 || id > kLastId) return {};
    return kById[static_cast<std::size_t>(id)];
}
