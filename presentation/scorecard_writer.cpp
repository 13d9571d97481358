#include "presentation/scorecard_writer.h"

#include <cstdio>
#include <string>

#include "match/match.h"
#include "resources/strings.h"
#include "teams/text_encoding.h"

namespace {

std::string text(int id) { return std::string(loadString(id)); }

const char* playerName(const Team* team, int index)
{
    const Player* p = team ? team->player(index) : nullptr;
    return p ? p->name() : "";
}

// A batting line's name and how-out columns, padded by characters.
std::string nameAndHow(const char* name, const char* how)
{
    std::string line;
    appendPadded(line, name, 16);
    line += ' ';
    appendPadded(line, how, 34);
    return line;
}

// The event words of a ball line.
std::string eventText(const BallRecord& r)
{
    char buf[96];
    switch (r.event) {
    case Scoring:
        switch (r.runKind) {
        case Bat: std::snprintf(buf, sizeof buf, "%s %d run(s)", text(str::BatsmanScored).c_str(), r.runs); return buf;
        case BatOffNoBall:
            std::snprintf(buf, sizeof buf, "%s %d run(s) %s", text(str::BatsmanScored).c_str(), r.runs,
                          text(str::OffTheNoBall).c_str());
            return buf;
        case Byes: std::snprintf(buf, sizeof buf, "%s %d run(s)", text(str::Byes).c_str(), r.runs); return buf;
        case LegByes: std::snprintf(buf, sizeof buf, "%s %d run(s)", text(str::LegByes).c_str(), r.runs); return buf;
        case NoBallRun: std::snprintf(buf, sizeof buf, "%s %d run", text(str::NoBall).c_str(), r.runs); return buf;
        case WideRun: std::snprintf(buf, sizeof buf, "%s %d run(s)", text(str::WideBall).c_str(), r.runs); return buf;
        default: return {};
        }
    case Wicket: return text(str::Out);
    case Beaten:
    case DotBall: return text(str::NoEvent);
    default: return {};
    }
}

void writeBallByBall(Match& match, const Innings& inn)
{
    int legal = 0, score = 0, fallen = 0;
    char head[64], tail[32];
    for (int i = 0; i < inn.deliveries; ++i) {
        const BallRecord& r = inn.ballRecord(i);
        score += r.runs + (r.runKind == BatOffNoBall ? 1 : 0);
        if (r.event == Wicket) ++fallen;
        std::snprintf(head, sizeof head, "(%s #%3d %s #%1d) ", text(str::Over).c_str(), legal / 6 + 1,
                      text(str::Ball).c_str(), legal % 6 + 1);
        std::snprintf(tail, sizeof tail, " [%d/%d]", score, fallen);
        std::string line = head;
        line += playerName(inn.bowlingTeam, r.bowlerPlayer);
        line += ' ' + text(str::To) + ' ';
        line += playerName(inn.battingTeam, r.strikerPlayer);
        line += " :: " + eventText(r) + tail;
        match.writeLine(line);
        if (r.delivery == Legal) ++legal;
    }
    match.writeLine(loadString(str::EndOfInningBanner));
    match.writeLine(loadString(str::Stars));
    match.writeBlankLine();
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
    for (int j = count < 3 ? count : 3; j > place; --j) top[j] = top[j - 1];
    top[place] = candidate;
    if (count < 4) ++count;
}

void writeInnings(Match& match, const Innings& inn)
{
    const Team* batting = inn.battingTeam;
    const Team* bowling = inn.bowlingTeam;
    char buf[160];

    match.writeLine(batting->name());
    match.writeBlankLine();

    char how[Innings::kHowOutBytes];
    for (int p = 0; p < inn.batsmenIn && p < 11; ++p) {
        const BattingLine& l = inn.batting[p];
        inn.dismissalText(p, how);
        std::snprintf(buf, sizeof buf, " %03d (%03d) %03d %03d ", l.runs, l.balls, l.fours, l.sixes);
        match.writeLine(nameAndHow(playerName(batting, inn.battingOrder[p]), how) + buf);
    }
    if (inn.batsmenIn < 11) {
        inn.dismissalText(inn.batsmenIn, how);
        for (int i = 0; i < 11; ++i) {
            if (inn.positionOf(i) < inn.batsmenIn) continue;
            match.writeLine(nameAndHow(playerName(batting, i), how));
        }
    }

    std::snprintf(buf, sizeof buf, "%23s(%3d=LB %3d=B %3d=W %3d=NB)  %3d", " ", inn.legByes, inn.byes, inn.wides,
                  inn.noBalls, inn.legByes + inn.byes + inn.wides + inn.noBalls);
    match.writeLine(buf);
    const double rate = inn.legalBalls ? static_cast<double>(inn.runs * 6) / inn.legalBalls : 0.0;
    std::snprintf(buf, sizeof buf, "%52s%3d/%2d in %3d.%1d %s = %.3f", " ", inn.runs, inn.wickets, inn.legalBalls / 6,
                  inn.legalBalls % 6, text(str::RunRate).c_str(), rate);
    match.writeLine(buf);
    match.writeBlankLine();

    for (int b = 0; b < bowling->bowlerCount(); ++b) {
        const BowlingLine& l = inn.bowling[b];
        if (l.balls <= 0) continue;
        std::string line;
        appendPadded(line, playerName(bowling, bowling->bowlerAt(b)), 16);
        std::snprintf(buf, sizeof buf, "%03d.%1d %03d %03d %02d ", l.balls / 6, l.balls % 6, l.maidens, l.runs, l.wickets);
        match.writeLine(line + buf);
    }
    match.writeBlankLine();

    if (inn.wickets > 0) {
        match.writeLine(loadString(str::FallOfWickets));
        int previous = 0;
        for (int n = 0; n < inn.wickets && n < 10; ++n) {
            const FallOfWicket& f = inn.fallOfWickets[n];
            std::snprintf(buf, sizeof buf, "%2d - %03d [%03d.%1d] (+%03d) (%s) ", n + 1, f.score, f.ball / 6, f.ball % 6,
                          f.score - previous, playerName(batting, f.outPlayer));
            previous = f.score;
            // The format ends in a blank and the word is set off by another.
            match.writeLine(std::string(buf) + ' ' + text(str::With) + ' ' + playerName(batting, f.partnerPlayer));
        }
    }

    match.writeBlankLine();
    match.writeLine(loadString(str::OutstandingPerformances));
    match.writeBlankLine();
    match.writeLine(loadString(str::Batting));
    match.writeBlankLine();
    int top[4], count = 0;
    for (int p = 0; p < inn.batsmenIn && p < 11; ++p)
        insertTop(top, count, p, [&](int occupant, int candidate) {
            const BattingLine &o = inn.batting[occupant], &c = inn.batting[candidate];
            return o.runs < c.runs || (o.runs == c.runs && o.balls > c.balls);
        });
    for (int i = 0; i < count; ++i) {
        const BattingLine& l = inn.batting[top[i]];
        std::snprintf(buf, sizeof buf, "%03d (%03d) %s", l.runs, l.balls, playerName(batting, inn.battingOrder[top[i]]));
        match.writeLine(buf);
    }
    match.writeBlankLine();
    match.writeLine(loadString(str::Bowling));
    match.writeBlankLine();
    count = 0;
    for (int b = 0; b < bowling->bowlerCount() && b < 10; ++b)
        insertTop(top, count, b, [&](int occupant, int candidate) {
            const BowlingLine &o = inn.bowling[occupant], &c = inn.bowling[candidate];
            return o.wickets < c.wickets || (o.wickets == c.wickets && o.runsPer1000Balls() > c.runsPer1000Balls());
        });
    for (int i = 0; i < count; ++i) {
        const BowlingLine& l = inn.bowling[top[i]];
        std::snprintf(buf, sizeof buf, "%02d/%03d (%03d.%1d) %s", l.wickets, l.runs, l.balls / 6, l.balls % 6,
                      playerName(bowling, bowling->bowlerAt(top[i])));
        match.writeLine(buf);
    }
    match.writeLine(loadString(str::Stars));
}

}  // namespace

void ScorecardWriter::writeReport(Match& match)
{
    for (int k = 0; k < match.inningsCount; ++k) {
        const Innings* inn = match.inningsAt(k);
        // An innings that never started (its start failed) has nothing to show.
        if (!inn || !inn->battingTeam || !inn->bowlingTeam) continue;
        if (!match.options().briefOutput) writeBallByBall(match, *inn);
        writeInnings(match, *inn);
    }
    match.writeBlankLine();
    match.writeLine(match.resultLine());
}
