#include "presentation/scorecard_writer.h"

#include <cstdio>
#include <string>
#include <utility>

#include "engine/text_buffer.h"
#include "match/match.h"
#include "resources/strings.h"

namespace {

// Report lines are put together in place, without printf or a string each.
using Line = TextBuffer<512>;

// The whole report, gathered in memory and handed to the file in one write:
// a write per line through stdio cost more than putting the line together.
class ReportText {
public:
    explicit ReportText(std::size_t expectedBytes) { text_.reserve(expectedBytes); }
    void line(std::string_view s)
    {
        text_.append(s);
        text_.push_back('\n');
    }
    void blank() { text_.push_back('\n'); }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

std::string_view text(int id)
{
    return loadString(id);
}

const char* playerName(const Team* team, int index)
{
    const Player* p = team ? team->player(index) : nullptr;
    return p ? p->name() : "";
}

// The event words of a ball line.
void appendEvent(Line& line, const BallRecord& r)
{
    switch (r.event) {
    case Scoring: {
        int words;
        const char* unit = " run(s)";
        switch (r.runKind) {
        case Bat:
        case BatOffNoBall: words = str::BatsmanScored; break;
        case Byes: words = str::Byes; break;
        case LegByes: words = str::LegByes; break;
        case NoBallRun: words = str::NoBall, unit = " run"; break;
        case WideRun: words = str::WideBall; break;
        default: return;
        }
        line << text(words) << " ";
        line.number(r.runs) << unit;
        if (r.runKind == BatOffNoBall) line << " " << text(str::OffTheNoBall);
        return;
    }
    case Wicket: line << text(str::Out); return;
    case Beaten:
    case DotBall: line << text(str::NoEvent); return;
    default: return;
    }
}

// The names of a side, measured once rather than on every ball line.
class SideNames {
public:
    explicit SideNames(const Team* team)
    {
        for (int i = 0; i < Team::kPlayers; ++i)
            names_[i] = playerName(team, i);
    }
    std::string_view operator[](int index) const
    {
        return index >= 0 && index < Team::kPlayers ? names_[index] : std::string_view();
    }

private:
    std::string_view names_[Team::kPlayers];
};

void writeBallByBall(ReportText& out, const Innings& inn)
{
    int legal = 0, score = 0, fallen = 0;
    const SideNames bowlers(inn.bowlingTeam), batsmen(inn.battingTeam);
    const std::string_view over = text(str::Over), ball = text(str::Ball), to = text(str::To);
    Line line;
    for (int i = 0; i < inn.deliveries; ++i) {
        const BallRecord& r = inn.ballRecord(i);
        score += r.runs + (r.runKind == BatOffNoBall ? 1 : 0);
        if (r.event == Wicket) ++fallen;
        line.clear();
        line << "(" << over << " #";
        line.number(legal / 6 + 1, 3) << " " << ball << " #";
        line.number(legal % 6 + 1, 1) << ") ";
        line << bowlers[r.bowlerPlayer] << " " << to << " ";
        line << batsmen[r.strikerPlayer] << " :: ";
        appendEvent(line, r);
        line << " [";
        line.number(score) << "/";
        line.number(fallen) << "]";
        out.line(line.view());
        if (r.delivery == Legal) ++legal;
    }
    out.line(loadString(str::EndOfInningBanner));
    out.line(loadString(str::Stars));
    out.blank();
}

// A batting line's name and how-out columns, padded by characters.
void nameAndHow(Line& line, const char* name, const char* how)
{
    line << name;
    line.padTo(0, 16) << " ";
    const std::size_t from = line.size();
    line << how;
    line.padTo(from, 34);
}

// Inserts a candidate into a top-four list: it takes the first place that is
// empty or whose occupant ranks below it; ties keep the earlier occupant.
template <typename RanksBelow>
void insertTop(int (&top)[4], int& count, int candidate, RanksBelow ranksBelow)
{
    int place = -1;
    for (int i = 0; i < 4; ++i) {
        if (i >= count || ranksBelow(top[i], candidate)) {
            place = i;
            break;
        }
    }
    if (place == -1) return;
    for (int j = count < 3 ? count : 3; j > place; --j)
        top[j] = top[j - 1];
    top[place] = candidate;
    if (count < 4) ++count;
}

// One line a batsman who came in, then the ones who did not bat.
void writeBattingCard(ReportText& out, const Innings& inn)
{
    const Team* batting = inn.battingTeam;
    Line line;
    char how[Innings::kHowOutBytes];
    for (int p = 0; p < inn.batsmenIn && p < 11; ++p) {
        const BattingLine& l = inn.batting[p];
        inn.dismissalText(p, how);
        line.clear();
        nameAndHow(line, playerName(batting, inn.battingOrder[p]), how);
        line << " ";
        line.number(l.runs, 3, '0') << " (";
        line.number(l.balls, 3, '0') << ") ";
        line.number(l.fours, 3, '0') << " ";
        line.number(l.sixes, 3, '0') << " ";
        out.line(line.view());
    }
    if (inn.batsmenIn < 11) {
        inn.dismissalText(inn.batsmenIn, how);
        for (int i = 0; i < 11; ++i) {
            if (inn.positionOf(i) < inn.batsmenIn) continue;
            line.clear();
            nameAndHow(line, playerName(batting, i), how);
            out.line(line.view());
        }
    }
}

void writeExtrasAndTotal(ReportText& out, const Innings& inn)
{
    Line line;
    line << "                       (";
    line.number(inn.legByes, 3) << "=LB ";
    line.number(inn.byes, 3) << "=B ";
    line.number(inn.wides, 3) << "=W ";
    line.number(inn.noBalls, 3) << "=NB)  ";
    line.number(inn.legByes + inn.byes + inn.wides + inn.noBalls, 3);
    out.line(line.view());
    const double rate = inn.legalBalls ? static_cast<double>(inn.runs * 6) / inn.legalBalls : 0.0;
    char rateText[32];  // printf's rounding of the rate, which the report has always shown
    std::snprintf(rateText, sizeof rateText, "%.3f", rate);
    line.clear();
    line.repeat(' ', 52).number(inn.runs, 3) << "/";
    line.number(inn.wickets, 2) << " in ";
    line.number(inn.legalBalls / 6, 3) << ".";
    line.number(inn.legalBalls % 6, 1) << " " << text(str::RunRate) << " = " << rateText;
    out.line(line.view());
}

// Only the bowlers who bowled a ball have a line.
void writeBowlingCard(ReportText& out, const Innings& inn)
{
    const Team* bowling = inn.bowlingTeam;
    Line line;
    for (int b = 0; b < bowling->bowlerCount(); ++b) {
        const BowlingLine& l = inn.bowling[b];
        if (l.balls <= 0) continue;
        line.clear();
        line << playerName(bowling, bowling->bowlerAt(b));
        line.padTo(0, 16);
        line.number(l.balls / 6, 3, '0') << ".";
        line.number(l.balls % 6, 1) << " ";
        line.number(l.maidens, 3, '0') << " ";
        line.number(l.runs, 3, '0') << " ";
        line.number(l.wickets, 2, '0') << " ";
        out.line(line.view());
    }
}

void writeFallOfWickets(ReportText& out, const Innings& inn)
{
    const Team* batting = inn.battingTeam;
    Line line;
    out.line(loadString(str::FallOfWickets));
    int previous = 0;
    for (int n = 0; n < inn.wickets && n < 10; ++n) {
        const FallOfWicket& f = inn.fallOfWickets[n];
        line.clear();
        line.number(n + 1, 2) << " - ";
        line.number(f.score, 3, '0') << " [";
        line.number(f.ball / 6, 3, '0') << ".";
        line.number(f.ball % 6, 1) << "] (+";
        line.number(f.score - previous, 3, '0') << ") (" << playerName(batting, f.outPlayer) << ") ";
        previous = f.score;
        // The line ends in a blank and the word is set off by another.
        line << " " << text(str::With) << " " << playerName(batting, f.partnerPlayer);
        out.line(line.view());
    }
}

// The four best innings and the four best spells of the innings.
void writeOutstandingPerformances(ReportText& out, const Innings& inn)
{
    const Team* batting = inn.battingTeam;
    const Team* bowling = inn.bowlingTeam;
    Line line;
    out.line(loadString(str::OutstandingPerformances));
    out.blank();
    out.line(loadString(str::Batting));
    out.blank();
    int top[4], count = 0;
    for (int p = 0; p < inn.batsmenIn && p < 11; ++p)
        insertTop(top, count, p, [&](int occupant, int candidate) {
            const BattingLine &o = inn.batting[occupant], &c = inn.batting[candidate];
            return o.runs < c.runs || (o.runs == c.runs && o.balls > c.balls);
        });
    for (int i = 0; i < count; ++i) {
        const BattingLine& l = inn.batting[top[i]];
        line.clear();
        line.number(l.runs, 3, '0') << " (";
        line.number(l.balls, 3, '0') << ") " << playerName(batting, inn.battingOrder[top[i]]);
        out.line(line.view());
    }
    out.blank();
    out.line(loadString(str::Bowling));
    out.blank();
    count = 0;
    for (int b = 0; b < bowling->bowlerCount() && b < 10; ++b)
        insertTop(top, count, b, [&](int occupant, int candidate) {
            const BowlingLine &o = inn.bowling[occupant], &c = inn.bowling[candidate];
            return o.wickets < c.wickets || (o.wickets == c.wickets && o.runsPer1000Balls() > c.runsPer1000Balls());
        });
    for (int i = 0; i < count; ++i) {
        const BowlingLine& l = inn.bowling[top[i]];
        line.clear();
        line.number(l.wickets, 2, '0') << "/";
        line.number(l.runs, 3, '0') << " (";
        line.number(l.balls / 6, 3, '0') << ".";
        line.number(l.balls % 6, 1) << ") " << playerName(bowling, bowling->bowlerAt(top[i]));
        out.line(line.view());
    }
}

void writeInnings(ReportText& out, const Innings& inn)
{
    out.line(inn.battingTeam->name());
    out.blank();
    writeBattingCard(out, inn);
    writeExtrasAndTotal(out, inn);
    out.blank();
    writeBowlingCard(out, inn);
    out.blank();
    if (inn.wickets > 0) writeFallOfWickets(out, inn);
    out.blank();
    writeOutstandingPerformances(out, inn);
    out.line(loadString(str::Stars));
}

// Room for the whole report, so that it is gathered without growing: about
// 3 KB for an innings' cards and 100 bytes for a line of the ball-by-ball log.
std::size_t expectedBytes(const Match& match)
{
    std::size_t bytes = 4096;
    for (int k = 0; k < match.inningsCount; ++k) {
        const Innings* inn = match.inningsAt(k);
        if (!inn) continue;
        bytes += 3072;
        if (!match.options().briefOutput && inn->deliveries > 0)
            bytes += 100 * static_cast<std::size_t>(inn->deliveries);
    }
    return bytes;
}

void writeWholeReport(ReportText& out, const Match& match, std::string_view stoppedBecause)
{
    for (int k = 0; k < match.inningsCount; ++k) {
        const Innings* inn = match.inningsAt(k);
        // An innings that never started (its start failed) has nothing to show.
        if (!inn || !inn->battingTeam || !inn->bowlingTeam) continue;
        if (!match.options().briefOutput) writeBallByBall(out, *inn);
        writeInnings(out, *inn);
    }
    out.blank();
    if (stoppedBecause.empty()) return out.line(match.resultLine());
    // "Match stopped in innings 1 after 1.1 overs: an answer was refused"
    const Innings* now = match.inningsAt(match.currentInnings);
    const int balls = now ? now->legalBalls : 0;
    std::string line(loadString(str::MatchStoppedInInnings));
    line += ' ' + std::to_string(match.currentInnings < 0 ? 1 : match.currentInnings + 1) + ' ';
    line += std::string(loadString(str::StoppedAfter)) + ' ' + std::to_string(balls / 6) + '.' +
            std::to_string(balls % 6) + ' ' + std::string(loadString(str::StoppedOvers)) + ": ";
    line += stoppedBecause;
    out.line(line);
}

}  // namespace

std::string ScorecardWriter::reportText(const Match& match, std::string_view stoppedBecause)
{
    ReportText out(expectedBytes(match));
    writeWholeReport(out, match, stoppedBecause);
    return out.take();
}

bool ScorecardWriter::writeReport(const Match& match, std::FILE* sink, std::string_view stoppedBecause)
{
    const std::string text = reportText(match, stoppedBecause);
    // One thread writes a report, so the stream's lock is not taken.
    return fwrite_unlocked(text.data(), 1, text.size(), sink) == text.size();
}
