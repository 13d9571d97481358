#include "presentation/scoreboard.h"

#include <cstdio>

#include "match/match.h"
#include "resources/strings.h"

namespace {

// The lower half splits here: bowling card to the left, commentary to the right.
constexpr int kSplitColumn = 43;
constexpr int kFirstBattingRow = 1;
constexpr int kExtrasRow = 13;
constexpr int kPartnershipRow = 15;
constexpr int kFirstBowlingRow = 16;

// Colour entries of kScoreboardColours.
constexpr int kPlain = 0;
constexpr int kYetToBat = 4;
constexpr int kDismissed = 5;
constexpr int kScoreRow = 6;

bool meets(const CanvasRect& row, const CanvasRect& update)
{
    return !CanvasRect::intersect(row, update).empty();
}

// Strings from the table are views, not necessarily terminated; print them with "%.*s".
int textLength(std::string_view s)
{
    return static_cast<int>(s.size());
}

const char* batsmanName(const Innings& inn, int position)
{
    const Player* p = inn.battingTeam ? inn.battingTeam->player(inn.battingOrder[position]) : nullptr;
    return p ? p->name() : "";
}

const char* bowlerName(const Innings& inn, int position)
{
    const Player* p = inn.bowlingTeam ? inn.bowlingTeam->player(inn.bowlingTeam->bowlerAt(position)) : nullptr;
    return p ? p->name() : "";
}

void paintTeamSheet(TextCanvas& canvas, const Match& match)
{
    const int h = canvas.lineHeight();
    const int width = canvas.paintArea().width();
    for (int t = 0; t < 2; ++t) {
        const Team& team = match.teams[t];
        if (team.name()[0] == '\0') continue;
        const int x = width * t / 2;
        canvas.drawText(x, 0, team.name(), kPlain, nullptr, 0);
        for (int i = 0; i < Team::kPlayers; ++i)
            canvas.drawText(x, (i + 1) * h, team.player(i)->name(), kYetToBat, nullptr, 0);
    }
}

void paintBatsmanLine(TextCanvas& canvas, const Innings& inn, const CanvasRect& update, int position, int notOutEntry)
{
    const BattingLine* line = inn.battingLine(position);
    if (!line) return;
    const int h = canvas.lineHeight();
    const int cw = canvas.charWidth();
    const int row = position + kFirstBattingRow;
    const CanvasRect rect{update.left, row * h, update.right, (row + 1) * h};
    if (!meets(rect, update)) return;

    char how[Innings::kHowOutBytes];
    inn.dismissalText(position, how);
    int entry = kDismissed;
    if (line->dismissal.kind == DidNotBat)
        entry = kYetToBat;
    else if (line->dismissal.kind == NotOut)
        entry = notOutEntry;

    canvas.drawText(rect.left, rect.top, {}, entry, &rect, TextCanvas::Opaque);
    canvas.drawText(1 * cw, rect.top, batsmanName(inn, position), entry, &rect, TextCanvas::Clipped);
    canvas.drawText(17 * cw, rect.top, how, entry, &rect, TextCanvas::Clipped);

    char number[16];
    std::snprintf(number, sizeof number, "%03d", line->runs);
    canvas.drawText(51 * cw, rect.top, number, entry, &rect, TextCanvas::Clipped);
    std::snprintf(number, sizeof number, "(%03d)", line->balls);
    canvas.drawText(56 * cw, rect.top, number, entry, &rect, TextCanvas::Clipped);
    std::snprintf(number, sizeof number, "%03d", line->fours);
    canvas.drawText(63 * cw, rect.top, number, entry, &rect, TextCanvas::Clipped);
    std::snprintf(number, sizeof number, "%03d", line->sixes);
    canvas.drawText(68 * cw, rect.top, number, entry, &rect, TextCanvas::Clipped);
}

void paintBowlerLine(TextCanvas& canvas, const Innings& inn, const CanvasRect& update, int position, int entry)
{
    const BowlingLine* line = inn.bowlingLine(position);
    if (!line) return;
    const int h = canvas.lineHeight();
    const int cw = canvas.charWidth();
    const int row = position + kFirstBowlingRow;
    const int split = kSplitColumn * cw;
    const CanvasRect rect{update.left, row * h, update.right < split ? update.right : split, (row + 1) * h};
    if (!meets(rect, update)) return;

    // The opaque name clears the row; the figures are only clipped to it.
    canvas.drawText(cw, rect.top, bowlerName(inn, position), entry, &rect, TextCanvas::Opaque);
    char number[24];
    std::snprintf(number, sizeof number, "%03d.%1d", line->balls / 6, line->balls % 6);
    canvas.drawText(17 * cw, rect.top, number, entry, &rect, TextCanvas::Clipped);
    std::snprintf(number, sizeof number, "%03d", line->maidens);
    canvas.drawText(24 * cw, rect.top, number, entry, &rect, TextCanvas::Clipped);
    std::snprintf(number, sizeof number, "%03d", line->runs);
    canvas.drawText(29 * cw, rect.top, number, entry, &rect, TextCanvas::Clipped);
    std::snprintf(number, sizeof number, "%02d", line->wickets);
    canvas.drawText(34 * cw, rect.top, number, entry, &rect, TextCanvas::Clipped);
}

void formatExtras(const Innings& inn, char* out, std::size_t size)
{
    const std::string_view extras = loadString(str::Extras);
    const int total = inn.noBalls + inn.wides + inn.byes + inn.legByes;
    std::snprintf(out, size, "%.*s %3d (%3d=LB %3d=B %3d=W %3d=NB)", textLength(extras), extras.data(), total,
                  inn.legByes, inn.byes, inn.wides, inn.noBalls);
}

void formatScore(const Innings& inn, char* out, std::size_t size)
{
    const std::string_view overs = loadString(str::Overs);
    const std::string_view runRate = loadString(str::RunRate);
    const double rate = inn.legalBalls == 0 ? 0.0 : static_cast<double>(inn.runs * 6) / inn.legalBalls;
    if (inn.target == -1) {
        std::snprintf(out, size, "%3d / %3d in %3d.%1d %.*s. %.*s=%.3f", inn.runs, inn.wickets, inn.legalBalls / 6,
                      inn.legalBalls % 6, textLength(overs), overs.data(), textLength(runRate), runRate.data(), rate);
        return;
    }
    const std::string_view chasing = loadString(str::Chasing);
    const std::string_view required = loadString(str::ReqdRunRate);
    const int remaining = inn.maxBalls - inn.legalBalls;
    // A Test innings whose allowance was used up before it began still has
    // its one ball: no balls remain, so no rate is required.
    const int needed = inn.target + 1 - inn.runs;
    const double requiredRate = remaining <= 0 ? 0.0 : static_cast<double>(needed * 6) / remaining;
    std::snprintf(out, size, "%3d / %3d in %3d.%1d %.*s. %.*s = %.3f %.*s %3d, %.*s = %.3f", inn.runs, inn.wickets,
                  inn.legalBalls / 6, inn.legalBalls % 6, textLength(overs), overs.data(), textLength(runRate),
                  runRate.data(), rate, textLength(chasing), chasing.data(), inn.target + 1, textLength(required),
                  required.data(), requiredRate);
}

void formatPartnership(const Innings& inn, char* out, std::size_t size)
{
    const std::string_view label = loadString(str::CurrentPartnership);
    int partnership = inn.runs;
    if (inn.wickets > 0 && inn.wickets <= 10) partnership -= inn.fallOfWickets[inn.wickets - 1].score;
    std::snprintf(out, size, "%.*s = %d", textLength(label), label.data(), partnership);
}

// Extras, score and partnership; the first row outside the update area ends it.
void paintSummary(TextCanvas& canvas, const Innings& inn, const CanvasRect& update)
{
    const int h = canvas.lineHeight();
    char text[160];
    for (int row = kExtrasRow; row <= kPartnershipRow; ++row) {
        const CanvasRect rect{update.left, row * h, update.right, (row + 1) * h};
        if (!meets(rect, update)) return;
        int entry = kPlain;
        if (row == kExtrasRow) {
            formatExtras(inn, text, sizeof text);
        } else if (row == kPartnershipRow) {
            formatPartnership(inn, text, sizeof text);
        } else {
            formatScore(inn, text, sizeof text);
            entry = kScoreRow;
        }
        canvas.drawText(0, rect.top, text, entry, &rect, TextCanvas::Opaque);
    }
}

void paintCommentaryLine(TextCanvas& canvas, const Innings& inn, const CanvasRect& update, int k)
{
    const int h = canvas.lineHeight();
    const int split = kSplitColumn * canvas.charWidth();
    const int row = k + kFirstBowlingRow;
    const CanvasRect rect{update.left > split ? update.left : split, row * h, update.right, (row + 1) * h};
    if (!meets(rect, update)) return;
    canvas.drawText(split, rect.top, inn.commentaryLine(k), kPlain, &rect, TextCanvas::Opaque | TextCanvas::Clipped);
}

void paintCommentary(TextCanvas& canvas, const Innings& inn, const CanvasRect& update)
{
    for (int k = 0; k < Innings::kCommentaryLines; ++k)
        paintCommentaryLine(canvas, inn, update, k);
}

// The four current players in their colours, then everything that changes with a ball.
void paintHighlights(TextCanvas& canvas, const Innings& inn, const CanvasRect& update, const RepaintHint& hint)
{
    paintBatsmanLine(canvas, inn, update, hint.striker, 1);
    paintBatsmanLine(canvas, inn, update, hint.nonStriker, 2);
    paintBowlerLine(canvas, inn, update, hint.bowler, 3);
    paintBowlerLine(canvas, inn, update, hint.otherEndBowler, kPlain);
    paintSummary(canvas, inn, update);
    paintCommentary(canvas, inn, update);
}

}  // namespace

void Scoreboard::paint(TextCanvas& canvas, const Match& match, const CanvasRect* update, const RepaintHint* hint)
{
    if (match.currentInnings == -1) {
        paintTeamSheet(canvas, match);
        return;
    }
    const Innings* inn = match.inningsAt(match.currentInnings);
    if (!inn) return;

    const CanvasRect area = canvas.paintArea();
    const CanvasRect& target = update ? *update : area;
    if (hint) {
        paintHighlights(canvas, *inn, target, *hint);
        return;
    }
    if (!match.playing) return;

    for (int p = 0; p < inn->batsmenIn; ++p)
        paintBatsmanLine(canvas, *inn, target, p, kPlain);
    const int bowlers = inn->bowlingTeam ? inn->bowlingTeam->bowlerCount() : 0;
    for (int b = 0; b < bowlers; ++b)
        paintBowlerLine(canvas, *inn, target, b, kPlain);
    paintSummary(canvas, *inn, target);
    paintCommentary(canvas, *inn, target);

    // The plain pass leaves every line in its resting colour; the current
    // players are then drawn over it across the whole area.
    RepaintHint current;
    match.repaintHint(current);
    paintHighlights(canvas, *inn, area, current);
}

Scoreboard::Spoken Scoreboard::spoken(const Match& match)
{
    Spoken out;
    const Innings* inn = match.currentInnings == -1 ? nullptr : match.inningsAt(match.currentInnings);
    if (!inn || !match.playing) return out;
    char text[160];
    formatScore(*inn, text, sizeof text);
    out.score = text;
    RepaintHint at;
    match.repaintHint(at);
    for (const int position : {at.striker, at.nonStriker}) {
        const BattingLine* line = inn->battingLine(position);
        if (!line) continue;
        std::snprintf(text, sizeof text, "%s%s %d (%d)", out.batsmen.empty() ? "" : ", ", batsmanName(*inn, position),
                      line->runs, line->balls);
        out.batsmen += text;
    }
    if (const BowlingLine* line = inn->bowlingLine(at.bowler)) {
        std::snprintf(text, sizeof text, "%s %d.%d-%d-%d-%d", bowlerName(*inn, at.bowler), line->balls / 6,
                      line->balls % 6, line->maidens, line->runs, line->wickets);
        out.bowler = text;
    }
    for (int k = Innings::kCommentaryLines - 1; k >= 0 && out.commentary.empty(); --k)
        out.commentary = inn->commentaryLine(k);
    return out;
}
