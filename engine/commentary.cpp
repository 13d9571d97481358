// The commentary line of each delivery and the how-out text of a batsman.
#include <cstdint>
#include <string_view>

#include "engine/engine_context.h"
#include "engine/innings.h"
#include "engine/text_buffer.h"
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

// Asked only of a hook: a spinner's is played as a sweep or a swing.
bool bowlsSpin(const Innings& innings)
{
    const Player* p = innings.bowlingTeam->player(innings.bowlingTeam->bowlerAt(innings.bowler));
    return p && p->bowlStyle == Player::Spin;
}

}  // namespace

void Innings::commentate(const BallRecord& record)
{
    // Only the drawn pieces are kept; the line is put together when something
    // reads it, which unattended play never does.
    Random& random = context().random;
    CommentaryPieces& line = commentary_[overBall - 1];
    line = CommentaryPieces{};
    line.batsman = static_cast<std::int16_t>(battingOrder[striker]);
    int count = 0;
    auto add = [&](int id, int spacesBefore) {
        line.text[count] = static_cast<std::int16_t>(id);
        line.spaces[count++] = static_cast<std::uint8_t>(spacesBefore);
    };

    // Drawn whether or not anybody reads the line, to keep replays aligned.
    auto fielding = [&](int spacesBefore) {
        if (random.below(1000) < 250)
            add(str::ThroughToKeeper, spacesBefore);
        else
            add(str::FirstFieldedAt + random.below(11), spacesBefore);
    };

    switch (record.event) {
    case DotBall: fielding(0); break;
    case Beaten: add(str::FirstReprieve + random.below(4), 0); break;
    case Wicket: add(str::Out, 0); break;
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
            if (phrase == str::HooksOver && bowlsSpin(*this))
                phrase = record.runs == 6 ? str::SwingsOver : str::SweepsTo;
            // "No Ball" is followed by a blank of its own before the stroke's.
            const bool noBall = record.delivery == NoBall;
            if (noBall) add(str::NoBall, 0);
            add(phrase, noBall ? 2 : 1);
            add(position, 1);
            break;
        }
        case Byes: add(str::Byes, 0); break;
        case LegByes: add(str::LegByes, 0); break;
        case NoBallRun:
            add(str::NoBall, 0);
            fielding(1);
            break;
        case WideRun: add(str::WideBall, 0); break;
        default: break;
        }
        break;
    default: break;
    }
    line.runs = static_cast<std::int16_t>(record.runs > 0 ? record.runs : 0);
}

const char* Innings::commentaryLine(int i) const
{
    if (i < 0 || i >= kCommentaryLines || commentary_[i].batsman < 0) return "";
    const CommentaryPieces& pieces = commentary_[i];
    TextBuffer<kCommentaryBytes> line;
    const Player* batsman = battingTeam ? battingTeam->player(pieces.batsman) : nullptr;
    line << (batsman ? batsman->name() : "") << " :";
    for (int k = 0; k < 3 && pieces.text[k] >= 0; ++k) {
        line << std::string_view("  ", pieces.spaces[k]);
        line << loadString(pieces.text[k]);
    }
    if (pieces.runs > 0) {
        line << " ";
        line.number(pieces.runs) << " " << loadString(str::Runs);
    }
    // Cut at kCommentaryChars characters, not bytes.
    const std::string_view text = line.view();
    std::size_t bytes = 0;
    for (int chars = 0; bytes < text.size(); ++bytes)
        if ((static_cast<unsigned char>(text[bytes]) & 0xC0) != 0x80 && chars++ == kCommentaryChars) break;
    storeText(formatted_, text.substr(0, bytes));
    return formatted_;
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
        if (f && k && fielderIndex == bowlerIndex)
            text << loadString(str::Ampersand);
        else
            text << fName;
        text << " " << loadString(str::BowledWord) << " " << kName;
        break;
    case RunOut: text << loadString(str::RunOutWord) << " (" << fName << ")"; break;
    case HandledBall: text << loadString(str::HandledBallText); break;
    case RetiredHurt: text << loadString(str::RetiredHurtText); break;
    default: break;
    }
    storeText(out, text.view());
}
