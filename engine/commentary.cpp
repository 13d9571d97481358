// The commentary line of each delivery and the how-out text of a batsman.
#include <string_view>

#include "engine/innings.h"
#include "engine/text_buffer.h"
#include "engine/engine_context.h"
#include "resources/strings.h"

namespace {

// Stroke phrases (string ids) that send the ball to each fielding position;
// row r names position 1000 + r inside the boundary, 1011 + r at it.
constexpr int kGroundShots[11][5] = {
    {1127, 1119, 1128, 1124, 1118}, {1119, 1120, 1106, 1127, 1103}, {1102, 1110, 1104, 1107, 1109},
    {1102, 1110, 1104, 1107, 1109}, {1102, 1104, 1108, 1109, 1103}, {1100, 1101, 1108, 1109, 1103},
    {1102, 1103, 1112, 1113, 1107}, {1109, 1111, 1114, 1115, 1113}, {1113, 1115, 1116, 1112, 1109},
    {1113, 1115, 1116, 1121, 1123}, {1113, 1115, 1116, 1121, 1123},
};
constexpr int kBoundaryShots[11][5] = {
    {1127, 1119, 1128, 1124, 1118}, {1119, 1120, 1106, 1127, 1103}, {1102, 1105, 1104, 1107, 1126},
    {1102, 1103, 1104, 1105, 1107}, {1102, 1104, 1108, 1109, 1126}, {1100, 1101, 1108, 1109, 1126},
    {1102, 1103, 1112, 1113, 1107}, {1109, 1111, 1114, 1115, 1123}, {1113, 1115, 1116, 1112, 1123},
    {1113, 1115, 1116, 1121, 1121}, {1113, 1115, 1116, 1122, 1121},
};

}  // namespace

void Innings::commentate(const BallRecord& record)
{
    Random& random = context().random;
    TextBuffer<kCommentaryBytes> line;
    line << battingTeam->player(battingOrder[striker])->name() << " :";

    // Drawn whether or not anybody reads the line, to keep replays aligned.
    auto fielding = [&]() {
        if (random.below(1000) < 250) line << loadString(str::ThroughToKeeper);
        else line << loadString(str::FirstFieldedAt + random.below(11));
    };

    switch (record.event) {
    case DotBall:
        fielding();
        break;
    case Beaten:
        line << loadString(str::FirstReprieve + random.below(4));
        break;
    case Wicket:
        line << loadString(str::Out);
        break;
    case Scoring:
        switch (record.runKind) {
        case Bat:
        case BatOffNoBall: {
            int phrase, position;
            if (record.runs == 6) {
                // Sixes never go behind square on the off side.
                const int row = 3 + random.below(8);
                phrase = kBoundaryShots[row][4];
                position = str::FirstBoundaryPosition + row;
            } else if (record.runs == 4) {
                const int column = random.below(5);
                const int row = random.below(11);
                phrase = kBoundaryShots[row][column];
                position = str::FirstBoundaryPosition + row;
            } else {
                const int column = random.below(5);
                const int row = random.below(11);
                phrase = kGroundShots[row][column];
                position = str::FirstFieldingPosition + row;
            }
            const Player* bowlerPlayer = bowlingTeam->player(bowlingTeam->bowlerAt(bowler));
            if (phrase == str::HooksOver && bowlerPlayer && bowlerPlayer->bowlStyle == Player::Spin)
                phrase = record.runs == 6 ? str::SwingsOver : str::SweepsTo;
            if (record.delivery == NoBall) line << loadString(str::NoBall) << " ";
            line << " " << loadString(phrase) << " " << loadString(position);
            break;
        }
        case Byes: line << loadString(str::Byes); break;
        case LegByes: line << loadString(str::LegByes); break;
        case NoBallRun:
            line << loadString(str::NoBall) << " ";
            fielding();
            break;
        case WideRun: line << loadString(str::WideBall); break;
        default: break;
        }
        break;
    default:
        break;
    }
    if (record.runs > 0) {
        line << " ";
        line.number(record.runs) << " " << loadString(str::Runs);
    }
    setCommentaryLine(overBall - 1, line.c_str());
}

void Innings::dismissalText(int position, char (&out)[kHowOutBytes]) const
{
    TextBuffer<kHowOutBytes> text;
    if (position < 0 || position >= 11) {
        storeText(out, "");
        return;
    }
    const Dismissal& d = batting[position].dismissal;
    const int bowlerIndex = bowlingTeam ? bowlingTeam->bowlerAt(d.bowler) : -1;
    const int fielderIndex = (d.fielder >= 0 && d.fielder < 11) ? fielders[d.fielder] : -1;
    const Player* k = bowlingTeam ? bowlingTeam->player(bowlerIndex) : nullptr;
    const Player* f = bowlingTeam ? bowlingTeam->player(fielderIndex) : nullptr;
    const char* kName = k ? k->name() : "";
    const char* fName = f ? f->name() : "";

    switch (d.kind) {
    case DidNotBat: text << loadString(str::DidNotBat); break;
    case NotOut: text << loadString(str::NotOut); break;
    case Bowled: text << loadString(str::BowledWord) << " " << kName; break;
    case Lbw: text << loadString(str::LbwWord) << " " << kName; break;
    case HitWicket: text << loadString(str::HitWicketWord) << " " << kName; break;
    case Stumped: text << loadString(str::StumpedWord) << " " << kName; break;
    case Caught:
        text << loadString(str::CaughtWord) << " ";
        if (f && k && fielderIndex == bowlerIndex) text << loadString(str::Ampersand);
        else text << fName;
        text << " " << loadString(str::BowledWord) << " " << kName;
        break;
    case RunOut: text << loadString(str::RunOutWord) << " (" << fName << ")"; break;
    case HandledBall: text << loadString(str::HandledBallText); break;
    case RetiredHurt: text << loadString(str::RetiredHurtText); break;
    default: break;
    }
    storeText(out, text.view());
}
