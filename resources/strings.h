#pragma once
#include <string_view>

// The string table: every user-visible word of the program, by numeric id.
// Texts are kept exactly as they stand, typos included.
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
};
}  // namespace str

// The text of a string id; an unknown id gives the empty text.
std::string_view loadString(int id);
