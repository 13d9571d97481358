#pragma once
#include <string>
#include <string_view>

// The string table: every user-visible word of the program, by numeric id.
// A changed text changes the reports and commentary it appears in, byte for
// byte, so the texts stay as they are.
namespace str {
enum : int {
    AboutMenuItem = 101,
    NoOutputFile = 102,
    FailureOpeningOutput = 103,
    CannotCreateMainTimer = 104,
    CannotCreateTitleTimer = 105,
    Usage = 106,
    AppName = 107,
    FailureLoadingTeam = 108,
    FailureWritingOutput = 109,
    CannotBowlThrough = 110,
    CannotStartInnings = 111,

    Extras = 901,
    LegByes = 902,
    Byes = 903,
    NoBall = 907,
    WideBall = 908,
    DidNotBat = 910,
    NotOut = 911,
    BowledWord = 912,
    LbwWord = 913,
    StumpedWord = 914,
    HitWicketWord = 915,
    CaughtWord = 916,
    RunOutWord = 917,
    HandledBallText = 918,
    RetiredHurtText = 919,
    Out = 920,
    Runs = 921,
    ChooseBatsman = 922,
    ChooseBowler = 923,
    Overs = 924,
    RunRate = 925,
    Chasing = 926,
    ReqdRunRate = 927,
    CurrentPartnership = 928,
    Over = 929,
    Ball = 930,
    To = 931,
    BatsmanScored = 932,
    NoEvent = 933,
    EndOfInningBanner = 934,
    Stars = 935,
    FallOfWickets = 936,
    Defeated = 938,
    Wickets = 939,
    By = 940,
    TiedTheMatch = 941,
    And = 942,
    With = 943,
    EndOfInning = 950,
    EndOfGame = 951,
    OutstandingPerformances = 952,
    Batting = 953,
    Bowling = 954,
    WonTheToss = 961,
    WillBatFirst = 962,
    Toss = 963,
    OffTheNoBall = 964,
    Ampersand = 965,

    FirstFieldingPosition = 1000,  // 1000..1010 inside the boundary
    FirstBoundaryPosition = 1011,  // 1011..1021 at the boundary
    SweepsTo = 1117,
    HooksOver = 1121,
    SwingsOver = 1123,
    FirstReprieve = 1130,  // 1130..1133
    ThroughToKeeper = 1150,
    FirstFieldedAt = 1151,  // 1151..1161

    // The Game and Help menus and the texts of the dialogs: About, the main
    // window, Choose Player and Game Options.
    GameMenu = 1200,
    ChooseTeamsItem = 1201,
    OptionsItem = 1202,
    PlayGameItem = 1203,
    HelpMenu = 1204,
    HelpAboutItem = 1205,
    PauseGo = 1210,
    OkButton = 1211,
    TeamFilePattern = 1212,
    ReportFilePattern = 1213,
    AboutCaption = 1220,
    AboutVersion = 1221,
    AboutContact = 1222,
    DeclareButton = 1230,
    OptionsButton = 1231,
    GameOptionsCaption = 1240,
    GameTypeGroup = 1241,
    OneDayRadio = 1242,
    TestRadio = 1243,
    OutputFileGroup = 1244,
    BallByBallCheck = 1245,
    GameSpeedGroup = 1246,
    FastLabel = 1247,
    SlowLabel = 1248,
    PitchSurfaceGroup = 1249,
    BareLabel = 1250,
    GreenTopLabel = 1251,
    PitchTypeGroup = 1252,
    DullLabel = 1253,
    LivelyLabel = 1254,
    OutfieldGroup = 1255,
    WicketDifficultyGroup = 1256,
    BattingEasyLabel = 1257,
    BattingTrickyLabel = 1258,

    // The charts and the Cricsheet export.
    ViewMenu = 1260,
    ChartsItem = 1261,
    ExportCricsheetItem = 1262,
    WormTab = 1263,
    ManhattanTab = 1264,
    ChartsCaption = 1265,
    CricsheetFilePattern = 1266,
    FailureWritingCricsheet = 1267,

    // Files that must not be written over.
    ReportWouldOverwrite = 1270,
    TournamentWhilePlaying = 1271,
    TournamentSeedsRefused = 1272,

    // The window's hint on an empty board and its file dialogs.
    StartHint = 1300,
    OpenTeamFileTitle = 1301,
    SaveReportTitle = 1302,

    // The team editor.
    TeamMenu = 1320,
    NewTeamItem = 1321,
    EditTeamItem = 1322,
    TeamEditorCaption = 1323,
    PickFromPlayersButton = 1324,
    BatTempoTip = 1325,  // the eight rating tips in team-file order
    BatRiskTip = 1326,
    BatSurvivalTip = 1327,
    IsKeeperTip = 1328,
    IsBowlerTip = 1329,
    BowlTempoTip = 1330,
    BowlThreatTip = 1331,
    BowlStyleTip = 1332,
    PaceStyle = 1333,
    SpinStyle = 1334,
    NeutralStyle = 1335,
    TeamNameLabel = 1336,
    PlayerLabel = 1337,
    NameMissing = 1338,
    NameNotOneWord = 1339,
    NameNotText = 1340,
    NameTooLong = 1341,
    KeepersNeeded = 1342,
    BowlersNeededTest = 1343,
    BowlersNeededOneDay = 1344,
    SideReady = 1345,
    SideLabel = 1346,
    CannotSaveTeam = 1347,
    PlayersFilePattern = 1348,
    CannotReadPlayers = 1349,

    // Match files.
    SaveMatchItem = 1360,
    OpenMatchItem = 1361,
    ResumeLastMatchItem = 1362,
    MatchFilePattern = 1363,
    CannotOpenMatch = 1364,
    CannotSaveMatch = 1365,
    NoMatchToSave = 1366,
    SaveMatchTitle = 1367,
    OpenMatchTitle = 1368,

    // The last line of a match stopped before its end.
    MatchStoppedInInnings = 1380,
    StoppedAfter = 1381,
    StoppedOvers = 1382,
    StoppedAnswerRefused = 1383,
    StoppedMatchFileEnds = 1384,
    StoppedReplayDiffers = 1385,
};
}  // namespace str

// The text of a string id; an unknown id gives the empty text.
std::string_view loadString(int id);
// The same text as a string, for messages put together from several pieces.
inline std::string loadText(int id)
{
    return std::string(loadString(id));
}
