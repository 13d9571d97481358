#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "match/match.h"
#include "presentation/scoreboard.h"

namespace {

constexpr int kH = 13;  // row height
constexpr int kW = 6;   // column width
constexpr int kSplit = 43 * kW;
// An odd width, so the second team's column shows the integer halving.
constexpr CanvasRect kArea{0, 0, 641, 400};

struct DrawCall {
    int x, y;
    std::string text;
    int entry;
    bool hasRect;
    CanvasRect rect;
    unsigned options;
};

std::ostream& operator<<(std::ostream& os, const CanvasRect& r)
{
    return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

std::ostream& operator<<(std::ostream& os, const DrawCall& c)
{
    os << "(" << c.x << "," << c.y << ") \"" << c.text << "\" entry " << c.entry << " options " << c.options;
    if (c.hasRect) os << " rect " << c.rect;
    return os;
}

class RecordingCanvas : public TextCanvas {
public:
    int lineHeight() const override { return kH; }
    int charWidth() const override { return kW; }
    CanvasRect paintArea() const override { return kArea; }
    void drawText(int x, int y, std::string_view text, int colourEntry, const CanvasRect* rect,
                  unsigned options) override
    {
        calls.push_back({x, y, std::string(text), colourEntry, rect != nullptr, rect ? *rect : CanvasRect{}, options});
    }

    std::vector<DrawCall> inRow(int row) const
    {
        std::vector<DrawCall> out;
        for (const DrawCall& c : calls)
            if (c.y == row * kH) out.push_back(c);
        return out;
    }
    // The last call drawn at a cell: what stays on the screen there.
    const DrawCall& at(int column, int row) const
    {
        static const DrawCall nothing{-1, -1, "<nothing drawn>", -99, false, {}, 0};
        const DrawCall* found = &nothing;
        for (const DrawCall& c : calls)
            if (c.x == column * kW && c.y == row * kH) found = &c;
        return *found;
    }
    bool drawn(int column, int row) const { return at(column, row).x != -1; }
    int countInRows(int firstRow, int lastRow) const
    {
        int n = 0;
        for (const DrawCall& c : calls)
            if (c.y >= firstRow * kH && c.y <= lastRow * kH) ++n;
        return n;
    }

    std::vector<DrawCall> calls;
};

Team loadSample(const char* file)
{
    Team t;
    const std::string path = std::string(PELMORA_SOURCE_DIR) + "/samples/" + file;
    EXPECT_EQ(t.load(path.c_str()), 1) << "cannot load " << path;
    return t;
}

CanvasRect rowRect(int row, int left = kArea.left, int right = kArea.right)
{
    return CanvasRect{left, row * kH, right, (row + 1) * kH};
}

constexpr int kAnyEntry = -1;

void expectCall(const DrawCall& call, const std::string& text, int entry, const CanvasRect& rect, unsigned options,
                const char* what)
{
    ASSERT_NE(call.x, -1) << what << ": nothing drawn";
    EXPECT_EQ(call.text, text) << what;
    if (entry != kAnyEntry) {
        EXPECT_EQ(call.entry, entry) << what << ": colour entry";
    }
    EXPECT_TRUE(call.hasRect) << what << ": no rectangle";
    EXPECT_EQ(call.rect, rect) << what << ": rectangle";
    EXPECT_EQ(call.options, options) << what << ": options";
}

// A one-day match between the two sample sides, a few balls into the first innings.
class ScoreboardInnings : public ::testing::Test {
protected:
    void SetUp() override
    {
        match.setTeam(0, loadSample("northshire.xi"));
        match.setTeam(1, loadSample("southmoor.xi"));
        match.options().oneDay = 1;
        match.context().random.seed(20240611u);
        ASSERT_TRUE(match.startPlay());
    }

    Innings& current() { return match.innings[match.currentInnings]; }

    void playBalls(int n)
    {
        for (int i = 0; i < n; ++i) ASSERT_EQ(match.playBall(), 7u) << "innings ended early at ball " << i;
    }

    // Plays until the innings closes.
    void finishInnings()
    {
        for (int i = 0; i < 5000 && !current().closed; ++i) match.playBall();
        ASSERT_TRUE(current().closed);
    }

    RecordingCanvas canvas;
    Match match;
};

}  // namespace

TEST(ScoreboardTeamSheet, NothingBeforeAnyTeamIsLoaded)
{
    Match match;
    RecordingCanvas canvas;
    Scoreboard::paint(canvas, match, nullptr, nullptr);
    EXPECT_TRUE(canvas.calls.empty()) << "first call: " << canvas.calls.front();
}

TEST(ScoreboardTeamSheet, ShowsBothSidesWithTheSecondAtHalfTheWidth)
{
    Match match;
    match.setTeam(0, loadSample("northshire.xi"));
    match.setTeam(1, loadSample("southmoor.xi"));
    RecordingCanvas canvas;
    // The sheet ignores the update rectangle.
    const CanvasRect tiny{600, 390, 601, 391};
    Scoreboard::paint(canvas, match, &tiny, nullptr);

    ASSERT_EQ(canvas.calls.size(), 24u);
    const int columnX[2] = {0, 320};
    for (int t = 0; t < 2; ++t) {
        const DrawCall& head = canvas.calls[t * 12];
        EXPECT_EQ(head.text, match.teams[t].name());
        EXPECT_EQ(head.x, columnX[t]) << "team " << t;
        EXPECT_EQ(head.y, 0);
        EXPECT_EQ(head.entry, 0) << "team name colour";
        EXPECT_FALSE(head.hasRect);
        EXPECT_EQ(head.options, 0u);
        for (int i = 0; i < 11; ++i) {
            const DrawCall& c = canvas.calls[t * 12 + 1 + i];
            EXPECT_EQ(c.text, match.teams[t].player(i)->name()) << "team " << t << " player " << i;
            EXPECT_EQ(c.x, columnX[t]);
            EXPECT_EQ(c.y, (i + 1) * kH);
            EXPECT_EQ(c.entry, 4) << "player name colour";
            EXPECT_FALSE(c.hasRect);
            EXPECT_EQ(c.options, 0u);
        }
    }
    EXPECT_EQ(canvas.calls[1].text, "Ashdown");
    EXPECT_EQ(canvas.calls[12].text, "Southmoor");
}

TEST(ScoreboardTeamSheet, SideWithEmptyNameIsLeftOut)
{
    Match match;
    match.setTeam(1, loadSample("southmoor.xi"));
    RecordingCanvas canvas;
    Scoreboard::paint(canvas, match, nullptr, nullptr);
    ASSERT_EQ(canvas.calls.size(), 12u) << "only the named side is drawn";
    for (const DrawCall& c : canvas.calls) EXPECT_EQ(c.x, 320) << c;
    EXPECT_EQ(canvas.calls[0].text, "Southmoor");
}

TEST_F(ScoreboardInnings, FullPaintPlacesEveryFieldOnItsCell)
{
    playBalls(20);
    Innings& inn = current();
    inn.batting[0].runs = 7;
    inn.batting[0].balls = 12;
    inn.batting[0].fours = 1;
    inn.batting[0].sixes = 0;
    inn.bowling[0].balls = 63;
    inn.bowling[0].maidens = 2;
    inn.bowling[0].runs = 41;
    inn.bowling[0].wickets = 3;
    inn.setCommentaryLine(4, "a line of commentary");

    Scoreboard::paint(canvas, match, nullptr, nullptr);

    // Batting position 0 on row 1: the row is filled first, then the fields clipped to it.
    const CanvasRect bat = rowRect(1);
    const std::vector<DrawCall> row1 = canvas.inRow(1);
    ASSERT_GE(row1.size(), 7u);
    expectCall(row1[0], "", kAnyEntry, bat, TextCanvas::Opaque, "batting row fill");
    EXPECT_EQ(row1[0].x, 0);
    char how[48];
    inn.dismissalText(0, how);
    expectCall(canvas.at(1, 1), match.teams[0].player(inn.battingOrder[0])->name(), kAnyEntry, bat,
               TextCanvas::Clipped, "batsman name");
    expectCall(canvas.at(17, 1), how, kAnyEntry, bat, TextCanvas::Clipped, "how out");
    expectCall(canvas.at(51, 1), "007", kAnyEntry, bat, TextCanvas::Clipped, "runs");
    expectCall(canvas.at(56, 1), "(012)", kAnyEntry, bat, TextCanvas::Clipped, "balls");
    expectCall(canvas.at(63, 1), "001", kAnyEntry, bat, TextCanvas::Clipped, "fours");
    expectCall(canvas.at(68, 1), "000", kAnyEntry, bat, TextCanvas::Clipped, "sixes");

    // Bowler position 0 on row 16, left of the split; the name clears the row.
    const CanvasRect bowl = rowRect(16, 0, kSplit);
    expectCall(canvas.at(1, 16), match.teams[1].player(match.teams[1].bowlerAt(0))->name(), kAnyEntry, bowl,
               TextCanvas::Opaque, "bowler name");
    expectCall(canvas.at(17, 16), "010.3", kAnyEntry, bowl, TextCanvas::Clipped, "overs");
    expectCall(canvas.at(24, 16), "002", kAnyEntry, bowl, TextCanvas::Clipped, "maidens");
    expectCall(canvas.at(29, 16), "041", kAnyEntry, bowl, TextCanvas::Clipped, "runs conceded");
    expectCall(canvas.at(34, 16), "03", kAnyEntry, bowl, TextCanvas::Clipped, "wickets");

    // Commentary line 4 on row 20, right of the split.
    expectCall(canvas.at(43, 20), "a line of commentary", 0, rowRect(20, kSplit, kArea.right),
               TextCanvas::Opaque | TextCanvas::Clipped, "commentary");

    // Nothing on rows 0 and 12, nor below the last commentary line.
    EXPECT_TRUE(canvas.inRow(0).empty());
    EXPECT_TRUE(canvas.inRow(12).empty());
    EXPECT_EQ(canvas.countInRows(28, 100), 0);
    // Batting rows only for the batsmen who have come in.
    for (int p = inn.batsmenIn; p < 11; ++p) EXPECT_TRUE(canvas.inRow(p + 1).empty()) << "position " << p;
}

TEST_F(ScoreboardInnings, EveryListedBowlerHasARowEvenBeforeBowling)
{
    playBalls(3);
    const Innings& inn = current();
    const int count = match.teams[1].bowlerCount();
    ASSERT_GT(count, 2);
    Scoreboard::paint(canvas, match, nullptr, nullptr);
    for (int b = 0; b < count; ++b) EXPECT_TRUE(canvas.drawn(1, b + 16)) << "bowler position " << b;
    for (int r = 16 + count; r < 26; ++r) EXPECT_FALSE(canvas.drawn(1, r)) << "row " << r;

    int idle = -1;
    for (int b = 0; b < count; ++b)
        if (inn.bowling[b].balls == 0) idle = b;
    ASSERT_NE(idle, -1) << "every bowler has bowled already";
    EXPECT_EQ(canvas.at(17, idle + 16).text, "000.0");
    EXPECT_EQ(canvas.at(24, idle + 16).text, "000");
    EXPECT_EQ(canvas.at(29, idle + 16).text, "000");
    EXPECT_EQ(canvas.at(34, idle + 16).text, "00");
}

TEST_F(ScoreboardInnings, FullPaintLeavesTheCurrentPlayersInTheirColours)
{
    playBalls(14);  // into the third over, so both ends have a bowler
    const Innings& inn = current();
    ASSERT_NE(inn.otherEndBowler, -1);
    ASSERT_NE(inn.striker, -1);
    ASSERT_NE(inn.nonStriker, -1);
    Scoreboard::paint(canvas, match, nullptr, nullptr);

    EXPECT_EQ(canvas.at(1, inn.striker + 1).entry, 1) << "striker red";
    EXPECT_EQ(canvas.at(1, inn.nonStriker + 1).entry, 2) << "non-striker blue";
    EXPECT_EQ(canvas.at(1, inn.bowler + 16).entry, 3) << "bowler of the over dark red";
    EXPECT_EQ(canvas.at(1, inn.otherEndBowler + 16).entry, 0) << "previous bowler plain";
    for (int b = 0; b < match.teams[1].bowlerCount(); ++b)
        if (b != inn.bowler) {
            EXPECT_EQ(canvas.at(1, b + 16).entry, 0) << "bowler position " << b;
        }
    // The highlight pass draws the striker's row a second time, over the plain one.
    const std::vector<DrawCall> strikerRow = canvas.inRow(inn.striker + 1);
    ASSERT_EQ(strikerRow.size(), 14u);
    EXPECT_EQ(strikerRow[0].entry, 0) << "plain pass first";
    EXPECT_EQ(strikerRow[7].entry, 1);
}

TEST_F(ScoreboardInnings, HintRepaintsOnlyTheFourLinesSummaryAndCommentary)
{
    playBalls(14);
    RepaintHint hint;
    match.repaintHint(hint);
    Scoreboard::paint(canvas, match, nullptr, &hint);

    for (int p = 0; p < 11; ++p) {
        const bool hinted = p == hint.striker || p == hint.nonStriker;
        EXPECT_EQ(canvas.inRow(p + 1).size(), hinted ? 7u : 0u) << "batting position " << p;
    }
    for (int b = 0; b < 10; ++b) {
        const bool hinted = b == hint.bowler || b == hint.otherEndBowler;
        EXPECT_EQ(canvas.drawn(1, b + 16), hinted) << "bowler position " << b;
    }
    for (int k = 0; k < 12; ++k) EXPECT_TRUE(canvas.drawn(43, k + 16)) << "commentary line " << k;
    EXPECT_EQ(canvas.inRow(13).size() + canvas.inRow(14).size() + canvas.inRow(15).size(), 3u);

    // A hint is painted even when the match is not playing.
    match.playing = 0;
    canvas.calls.clear();
    Scoreboard::paint(canvas, match, nullptr, &hint);
    EXPECT_FALSE(canvas.calls.empty());
}

TEST_F(ScoreboardInnings, PositionMinusOnePaintsNothing)
{
    playBalls(2);
    RepaintHint hint{-1, -1, -1, -1};
    Scoreboard::paint(canvas, match, nullptr, &hint);
    for (int r = 1; r <= 11; ++r) EXPECT_TRUE(canvas.inRow(r).empty()) << "row " << r;
    for (int r = 16; r <= 25; ++r) EXPECT_FALSE(canvas.drawn(1, r)) << "row " << r;
}

TEST_F(ScoreboardInnings, BatsmanColourFollowsHisState)
{
    playBalls(6);
    Innings& inn = current();
    const int striker = inn.striker;
    RepaintHint hint{striker, 5, -1, -1};
    inn.batting[striker].dismissal.kind = Caught;
    inn.batting[5].dismissal.kind = DidNotBat;
    Scoreboard::paint(canvas, match, nullptr, &hint);
    EXPECT_EQ(canvas.at(1, striker + 1).entry, 5) << "a dismissed striker is dark green, not red";
    EXPECT_EQ(canvas.at(1, 6).entry, 4) << "a batsman yet to bat is navy, not blue";

    for (int kind : {Bowled, Lbw, HitWicket, Stumped, RunOut, HandledBall, RetiredHurt}) {
        inn.batting[striker].dismissal.kind = kind;
        canvas.calls.clear();
        Scoreboard::paint(canvas, match, nullptr, &hint);
        EXPECT_EQ(canvas.at(1, striker + 1).entry, 5) << "dismissal kind " << kind;
    }
}

TEST_F(ScoreboardInnings, WicketBallShowsTheDismissedBatsmanInGreen)
{
    int guard = 0;
    while (current().wickets == 0 && guard++ < 300) playBalls(1);
    const Innings& inn = current();
    ASSERT_EQ(inn.wickets, 1);
    RepaintHint hint;
    match.repaintHint(hint);
    int out = -1;
    for (int p = 0; p < inn.batsmenIn; ++p)
        if (inn.batting[p].dismissal.kind != NotOut && inn.batting[p].dismissal.kind != DidNotBat) out = p;
    ASSERT_NE(out, -1);
    ASSERT_TRUE(out == hint.striker || out == hint.nonStriker) << "the dismissed batsman is still a hinted line";

    Scoreboard::paint(canvas, match, nullptr, &hint);
    char how[48];
    inn.dismissalText(out, how);
    EXPECT_EQ(canvas.at(1, out + 1).entry, 5);
    EXPECT_EQ(canvas.at(17, out + 1).text, how);
}

TEST_F(ScoreboardInnings, SummaryRowsTextsAndColours)
{
    Innings& inn = current();
    inn.runs = 45;
    inn.wickets = 2;
    inn.legalBalls = 63;
    inn.legByes = 3;
    inn.byes = 4;
    inn.wides = 2;
    inn.noBalls = 3;
    inn.fallOfWickets[0].score = 3;
    inn.fallOfWickets[1].score = 8;
    ASSERT_EQ(inn.target, -1);
    Scoreboard::paint(canvas, match, nullptr, nullptr);

    expectCall(canvas.at(0, 13), "Extras  12 (  3=LB   4=B   2=W   3=NB)", 0, rowRect(13), TextCanvas::Opaque,
               "extras row");
    expectCall(canvas.at(0, 14), " 45 /   2 in  10.3 overs. RunRate=4.286", 6, rowRect(14), TextCanvas::Opaque,
               "score row");
    expectCall(canvas.at(0, 15), "Current Partnership = 37", 0, rowRect(15), TextCanvas::Opaque,
               "partnership row");
}

TEST_F(ScoreboardInnings, RatesAreDoublePrecisionAndZeroWithoutBalls)
{
    Innings& inn = current();
    RepaintHint none{-1, -1, -1, -1};
    inn.runs = 27;
    inn.legalBalls = 160;
    inn.wickets = 0;
    Scoreboard::paint(canvas, match, nullptr, &none);
    EXPECT_EQ(canvas.at(0, 14).text, " 27 /   0 in  26.4 overs. RunRate=1.012");
    EXPECT_EQ(canvas.at(0, 15).text, "Current Partnership = 27") << "before the first wicket it is the score";

    inn.runs = 5;
    inn.legalBalls = 0;
    canvas.calls.clear();
    Scoreboard::paint(canvas, match, nullptr, &none);
    EXPECT_EQ(canvas.at(0, 14).text, "  5 /   0 in   0.0 overs. RunRate=0.000");

    inn.target = 250;
    inn.maxBalls = 300;
    canvas.calls.clear();
    Scoreboard::paint(canvas, match, nullptr, &none);
    EXPECT_EQ(canvas.at(0, 14).text,
              "  5 /   0 in   0.0 overs. RunRate = 0.000 chasing 251, Reqd. RunRate = 4.920");

    inn.runs = 123;
    inn.wickets = 4;
    inn.legalBalls = 182;
    canvas.calls.clear();
    Scoreboard::paint(canvas, match, nullptr, &none);
    EXPECT_EQ(canvas.at(0, 14).text,
              "123 /   4 in  30.2 overs. RunRate = 4.055 chasing 251, Reqd. RunRate = 6.508");

    inn.legalBalls = 300;
    canvas.calls.clear();
    Scoreboard::paint(canvas, match, nullptr, &none);
    EXPECT_EQ(canvas.at(0, 14).text,
              "123 /   4 in  50.0 overs. RunRate = 2.460 chasing 251, Reqd. RunRate = 0.000")
        << "no balls left: the required rate is 0";
}

TEST_F(ScoreboardInnings, SecondInningsChasesTheFirstInningsTotalPlusOne)
{
    finishInnings();
    const int first = current().runs;
    ASSERT_TRUE(match.startInnings(1, 1, 0));
    playBalls(1);
    const Innings& inn = current();
    Scoreboard::paint(canvas, match, nullptr, nullptr);

    char expected[160];
    std::snprintf(expected, sizeof expected, " chasing %3d, Reqd. RunRate = ", first + 1);
    const std::string score = canvas.at(0, 14).text;
    EXPECT_NE(score.find(expected), std::string::npos) << score;
    EXPECT_EQ(canvas.at(0, 14).entry, 6);
    // The sides have changed over: the batting card names the second side, the bowling card the first.
    EXPECT_EQ(canvas.at(1, inn.striker + 1).text, match.teams[1].player(inn.battingOrder[inn.striker])->name());
    EXPECT_EQ(canvas.at(1, 16).text, match.teams[0].player(match.teams[0].bowlerAt(0))->name());
}

TEST_F(ScoreboardInnings, NothingWithoutHintWhenNotPlaying)
{
    playBalls(3);
    match.playing = 0;
    Scoreboard::paint(canvas, match, nullptr, nullptr);
    EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(ScoreboardInnings, BowlingRowsStayLeftAndCommentaryRightOfTheSplit)
{
    playBalls(14);
    RepaintHint hint;
    match.repaintHint(hint);

    const CanvasRect rightOnly{kSplit, 0, kArea.right, kArea.bottom};
    Scoreboard::paint(canvas, match, &rightOnly, &hint);
    for (const DrawCall& c : canvas.calls)
        if (c.y >= 16 * kH) {
            EXPECT_EQ(c.x, kSplit) << "only commentary right of the split: " << c;
        }
    EXPECT_TRUE(canvas.drawn(43, 16));

    const CanvasRect leftOnly{0, 0, kSplit, kArea.bottom};
    canvas.calls.clear();
    Scoreboard::paint(canvas, match, &leftOnly, &hint);
    EXPECT_EQ(canvas.countInRows(26, 27), 0);
    for (int r = 16; r <= 25; ++r) EXPECT_FALSE(canvas.drawn(43, r)) << "commentary drawn on row " << r;
    const DrawCall& bowlerName = canvas.at(1, hint.bowler + 16);
    expectCall(bowlerName, bowlerName.text, 3, rowRect(hint.bowler + 16, 0, kSplit), TextCanvas::Opaque,
               "bowler row");

    // A rectangle across the split cuts both at column 43; the batting rows take its edges.
    const CanvasRect middle{100, 0, 400, kArea.bottom};
    canvas.calls.clear();
    Scoreboard::paint(canvas, match, &middle, &hint);
    EXPECT_EQ(canvas.at(1, hint.bowler + 16).rect, rowRect(hint.bowler + 16, 100, kSplit));
    EXPECT_EQ(canvas.at(43, 16).rect, rowRect(16, kSplit, 400));
    const std::vector<DrawCall> striker = canvas.inRow(hint.striker + 1);
    ASSERT_FALSE(striker.empty());
    EXPECT_EQ(striker[0].x, 100) << "the fill starts at the row's left edge";
    EXPECT_EQ(striker[0].rect, rowRect(hint.striker + 1, 100, 400));
    EXPECT_EQ(canvas.at(1, hint.striker + 1).rect, rowRect(hint.striker + 1, 100, 400))
        << "the name is clipped to the row, not to the rectangle's column";
}

TEST_F(ScoreboardInnings, RowsOutsideTheUpdateRectangleAreSkipped)
{
    playBalls(14);
    RepaintHint hint;
    match.repaintHint(hint);
    // Only the row of batting position 1.
    const CanvasRect oneRow{0, 2 * kH, kArea.right, 3 * kH};
    Scoreboard::paint(canvas, match, &oneRow, nullptr);
    for (const DrawCall& c : canvas.calls) {
        if (c.y == 2 * kH) continue;
        // The highlight pass covers the whole area.
        const bool highlighted = c.y == (hint.striker + 1) * kH || c.y == (hint.nonStriker + 1) * kH ||
                                 c.y == (hint.bowler + 16) * kH || c.y == (hint.otherEndBowler + 16) * kH ||
                                 (c.y >= 13 * kH && c.y <= 15 * kH) || c.y >= 16 * kH;
        EXPECT_TRUE(highlighted) << "drawn outside the update rectangle: " << c;
    }
    EXPECT_FALSE(canvas.inRow(2).empty());
}

TEST_F(ScoreboardInnings, SummaryStopsAtTheFirstRowOutsideTheUpdate)
{
    playBalls(5);
    RepaintHint hint;
    match.repaintHint(hint);
    const CanvasRect scoreAndPartnership{0, 14 * kH, kArea.right, 16 * kH};
    Scoreboard::paint(canvas, match, &scoreAndPartnership, &hint);
    EXPECT_EQ(canvas.countInRows(13, 15), 0) << "row 13 is outside, so 14 and 15 are not drawn either";

    canvas.calls.clear();
    Scoreboard::paint(canvas, match, &scoreAndPartnership, nullptr);
    EXPECT_EQ(canvas.inRow(13).size(), 1u) << "the highlight pass draws all three";
    EXPECT_EQ(canvas.inRow(14).size(), 1u);
    EXPECT_EQ(canvas.inRow(15).size(), 1u);

    const CanvasRect extrasOnly{0, 13 * kH, kArea.right, 14 * kH};
    canvas.calls.clear();
    Scoreboard::paint(canvas, match, &extrasOnly, &hint);
    EXPECT_EQ(canvas.inRow(13).size(), 1u);
    EXPECT_EQ(canvas.countInRows(14, 15), 0);
}
