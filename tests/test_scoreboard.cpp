// The scoreboard painter on a canvas that records every text it is asked to
// draw: where each field goes, in which colour, and what a partial repaint
// leaves out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "presentation/scoreboard.h"
#include "support.h"

namespace {

constexpr int kH = 13, kW = 6, kSplit = 43 * kW;  // row height, column width, the split at column 43
constexpr CanvasRect kArea{0, 0, 641, 400};       // odd, so halving the width rounds down

struct DrawCall {
    int x, y;
    std::string text;
    int entry;
    CanvasRect rect;  // all zero when none was given
    unsigned options;
};

std::ostream& operator<<(std::ostream& os, const DrawCall& c)
{
    return os << "(" << c.x << "," << c.y << ") \"" << c.text << "\" entry " << c.entry << " rect " << c.rect.left
              << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom << " options " << c.options;
}

CanvasRect rowRect(int row, int left = kArea.left, int right = kArea.right)
{
    return CanvasRect{left, row * kH, right, (row + 1) * kH};
}

// A one-day match between the two test sides, some balls into the first
// innings, painted on a canvas that records the calls.
struct Board : ::testing::Test, TextCanvas {
    Match match;
    std::vector<DrawCall> calls;

    int lineHeight() const override { return kH; }
    int charWidth() const override { return kW; }
    CanvasRect paintArea() const override { return kArea; }
    void drawText(int x, int y, std::string_view text, int entry, const CanvasRect* rect, unsigned options) override
    {
        calls.push_back({x, y, std::string(text), entry, rect ? *rect : CanvasRect{}, options});
    }

    void SetUp() override
    {
        match.setTeam(0, support::loadData("harbour.xi"));
        match.setTeam(1, support::loadData("upland.xi"));
        match.options().oneDay = 1;
        match.context().random.seed(20240611u);
        ASSERT_TRUE(match.startPlay());
        for (int i = 0; i < 14; ++i)
            match.playBall();  // into the third over: both ends have a bowler
    }
    Innings& inn() { return match.innings[0]; }
    RepaintHint hint() const
    {
        RepaintHint h;
        match.repaintHint(h);
        return h;
    }
    void paint(const CanvasRect* update, const RepaintHint* hint)
    {
        calls.clear();
        Scoreboard::paint(*this, match, update, hint);
    }
    int inRow(int row) const
    {
        return static_cast<int>(
            std::count_if(calls.begin(), calls.end(), [&](const DrawCall& c) { return c.y == row * kH; }));
    }
    // The last call drawn at a cell: what stays on the screen there.
    DrawCall at(int column, int row) const
    {
        DrawCall found{-1, -1, "<nothing drawn>", -99, {}, 0};
        for (const DrawCall& c : calls)
            if (c.x == column * kW && c.y == row * kH) found = c;
        return found;
    }
    bool drawn(int column, int row) const { return at(column, row).x != -1; }
};

}  // namespace

TEST_F(Board, TeamSheetShowsNamedSidesOnlyTheSecondAtHalfTheWidth)
{
    match.currentInnings = -1;
    match.teams[0].setName("");
    paint(nullptr, nullptr);
    ASSERT_EQ(calls.size(), 12u) << "a side without a name is left out";
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(calls[i].x, 320) << calls[i];
        EXPECT_EQ(calls[i].y, i * kH) << calls[i];
        EXPECT_EQ(calls[i].text, i == 0 ? "Upland" : match.teams[1].player(i - 1)->name());
        EXPECT_EQ(calls[i].entry, i == 0 ? 0 : 4) << calls[i];
    }
    match.teams[1].setName("");
    paint(nullptr, nullptr);
    EXPECT_TRUE(calls.empty()) << "nothing before any team is loaded";
}

TEST_F(Board, FullPaintPlacesEveryFieldOnItsCellAndTheCurrentPlayersInTheirColours)
{
    inn().batting[0] = BattingLine{7, 12, 1, 0, inn().batting[0].dismissal};
    inn().bowling[0] = BowlingLine{63, 2, 41, 3};
    inn().overBall = 5;
    inn().commentate(BallRecord{Wicket, Legal, NoRun, 0, 0, 0, 0, 0, 0, 0});
    const std::string commentary = inn().commentaryLine(4);
    ASSERT_FALSE(commentary.empty());
    paint(nullptr, nullptr);
    EXPECT_EQ(calls[0].rect, rowRect(1)) << "the batting row is filled first: " << calls[0];
    EXPECT_EQ(calls[0].options, TextCanvas::Opaque);
    char how[Innings::kHowOutBytes];
    inn().dismissalText(0, how);
    const Team& field = match.teams[1];
    struct Field {
        int column, row;
        std::string text;
        CanvasRect rect;
        unsigned options;
    } fields[] = {
        {1, 1, match.teams[0].player(inn().battingOrder[0])->name(), rowRect(1), TextCanvas::Clipped},
        {17, 1, how, rowRect(1), TextCanvas::Clipped},
        {51, 1, "007", rowRect(1), TextCanvas::Clipped},
        {56, 1, "(012)", rowRect(1), TextCanvas::Clipped},
        {63, 1, "001", rowRect(1), TextCanvas::Clipped},
        {68, 1, "000", rowRect(1), TextCanvas::Clipped},
        {1, 16, field.player(field.bowlerAt(0))->name(), rowRect(16, 0, kSplit), TextCanvas::Opaque},
        {17, 16, "010.3", rowRect(16, 0, kSplit), TextCanvas::Clipped},
        {24, 16, "002", rowRect(16, 0, kSplit), TextCanvas::Clipped},
        {29, 16, "041", rowRect(16, 0, kSplit), TextCanvas::Clipped},
        {34, 16, "03", rowRect(16, 0, kSplit), TextCanvas::Clipped},
        {43, 20, commentary, rowRect(20, kSplit, kArea.right), TextCanvas::Opaque | TextCanvas::Clipped},
    };
    for (const Field& f : fields) {
        const DrawCall c = at(f.column, f.row);
        EXPECT_EQ(c.text, f.text) << c;
        EXPECT_EQ(c.rect, f.rect) << c;
        EXPECT_EQ(c.options, f.options) << c;
    }
    EXPECT_EQ(inRow(0) + inRow(12), 0);
    for (int p = inn().batsmenIn; p < 11; ++p)
        EXPECT_EQ(inRow(p + 1), 0) << "position " << p << " has not batted";
    const int idle = field.bowlerCount() - 1;
    ASSERT_EQ(inn().bowling[idle].balls, 0);
    for (int b = 0; b < 10; ++b)
        EXPECT_EQ(drawn(1, b + 16), b < field.bowlerCount()) << "bowler position " << b;
    EXPECT_EQ(at(17, idle + 16).text + at(24, idle + 16).text + at(29, idle + 16).text + at(34, idle + 16).text,
              "000.000000000")
        << "a bowler who has not bowled still has his row";

    EXPECT_EQ(at(1, inn().striker + 1).entry, 1) << "striker red";
    EXPECT_EQ(at(1, inn().nonStriker + 1).entry, 2) << "non-striker blue";
    EXPECT_EQ(at(1, inn().bowler + 16).entry, 3) << "bowler of the over dark red";
    EXPECT_EQ(at(1, inn().otherEndBowler + 16).entry, 0) << "bowler at the other end plain";
    EXPECT_EQ(inRow(inn().striker + 1), 14) << "the highlight pass draws the striker's row over the plain one";
}

TEST_F(Board, DismissedBatsmenAreGreenWithTheirHowOutAndThoseYetToBatNavy)
{
    const int before = inn().wickets;
    for (int guard = 0; inn().wickets == before && guard < 300; ++guard)
        match.playBall();
    const RepaintHint h = hint();
    const int out = inn().batting[h.striker].dismissal.kind == NotOut ? h.nonStriker : h.striker;
    ASSERT_NE(inn().batting[out].dismissal.kind, NotOut) << "the dismissed batsman is still a hinted line";
    paint(nullptr, &h);
    char how[Innings::kHowOutBytes];
    inn().dismissalText(out, how);
    EXPECT_EQ(at(1, out + 1).entry, 5);
    EXPECT_EQ(at(17, out + 1).text, how);
    const RepaintHint yetToBat{10, -1, -1, -1};
    paint(nullptr, &yetToBat);
    EXPECT_EQ(at(1, 11).entry, 4);
}

TEST_F(Board, HintRepaintsOnlyItsLinesTheSummaryAndTheCommentaryEvenWhenNotPlaying)
{
    const RepaintHint h = hint();
    match.playing = 0;
    paint(nullptr, nullptr);
    EXPECT_TRUE(calls.empty()) << "nothing without a hint when not playing";
    paint(nullptr, &h);
    for (int p = 0; p < 11; ++p)
        EXPECT_EQ(inRow(p + 1), p == h.striker || p == h.nonStriker ? 7 : 0) << "batting position " << p;
    for (int b = 0; b < 10; ++b)
        EXPECT_EQ(drawn(1, b + 16), b == h.bowler || b == h.otherEndBowler) << "bowler position " << b;
    for (int k = 0; k < 12; ++k)
        EXPECT_TRUE(drawn(43, k + 16)) << "commentary line " << k;
    EXPECT_EQ(inRow(13) + inRow(14) + inRow(15), 3);
    const RepaintHint none{-1, -1, -1, -1};
    paint(nullptr, &none);
    EXPECT_EQ(calls.size(), 15u) << "a position of -1 paints no line";
}

TEST_F(Board, SummaryRowsTextsColoursAndRates)
{
    const RepaintHint none{-1, -1, -1, -1};
    Innings& i = inn();
    i.runs = 45;
    i.wickets = 2;
    i.legalBalls = 63;
    i.legByes = 3;
    i.byes = 4;
    i.wides = 2;
    i.noBalls = 3;
    i.fallOfWickets[1].score = 8;
    paint(nullptr, &none);
    EXPECT_EQ(at(0, 13).text, "Extras  12 (  3=LB   4=B   2=W   3=NB)");
    EXPECT_EQ(at(0, 14).text, " 45 /   2 in  10.3 overs. RunRate=4.286");
    EXPECT_EQ(at(0, 14).entry, 6);
    EXPECT_EQ(at(0, 15).text, "Current Partnership = 37");
    struct Case {
        int runs, wickets, balls, target;
        const char* score;
    } cases[] = {
        {27, 0, 160, -1, " 27 /   0 in  26.4 overs. RunRate=1.012"},
        {5, 0, 0, 250, "  5 /   0 in   0.0 overs. RunRate = 0.000 chasing 251, Reqd. RunRate = 4.920"},
        {123, 4, 300, 250, "123 /   4 in  50.0 overs. RunRate = 2.460 chasing 251, Reqd. RunRate = 0.000"},
    };
    for (const Case& c : cases) {
        i.runs = c.runs;
        i.wickets = c.wickets;
        i.legalBalls = c.balls;
        i.target = c.target;
        paint(nullptr, &none);
        EXPECT_EQ(at(0, 14).text, c.score);
        if (c.wickets == 0) {
            EXPECT_EQ(at(0, 15).text, "Current Partnership = " + std::to_string(c.runs)) << "before the first wicket";
        }
    }
}

TEST_F(Board, UpdateRectangleSplitsBowlingFromCommentaryAndEndsTheSummaryAtItsFirstRowOutside)
{
    const RepaintHint h = hint();
    const CanvasRect rightOnly{kSplit, 0, kArea.right, kArea.bottom}, leftOnly{0, 0, kSplit, kArea.bottom};
    paint(&rightOnly, &h);
    for (const DrawCall& c : calls)
        if (c.y >= 16 * kH) {
            EXPECT_EQ(c.x, kSplit) << "only commentary right of the split: " << c;
        }
    paint(&leftOnly, &h);
    for (int r = 16; r <= 27; ++r)
        EXPECT_FALSE(drawn(43, r)) << "commentary drawn on row " << r;
    const CanvasRect middle{100, 0, 400, kArea.bottom};
    paint(&middle, &h);
    EXPECT_EQ(at(1, h.bowler + 16).rect, rowRect(h.bowler + 16, 100, kSplit));
    EXPECT_EQ(at(43, 16).rect, rowRect(16, kSplit, 400));
    EXPECT_EQ(at(1, h.striker + 1).rect, rowRect(h.striker + 1, 100, 400));

    const CanvasRect scoreAndPartnership{0, 14 * kH, kArea.right, 16 * kH},
        extrasOnly{0, 13 * kH, kArea.right, 14 * kH};
    paint(&scoreAndPartnership, &h);
    EXPECT_EQ(inRow(13) + inRow(14) + inRow(15), 0);
    paint(&extrasOnly, &h);
    EXPECT_EQ(inRow(13), 1);
    EXPECT_EQ(inRow(14) + inRow(15), 0);
}
