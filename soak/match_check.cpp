#include "soak/match_check.h"

#include <cstdio>
#include <cstdlib>

#include "presentation/scorecard_writer.h"

namespace {

// More deliveries than any match can take: a Test has at most 2703 legal
// balls and an over at most six extras.
constexpr long kDeliveryLimit = 100000;

std::string describe(int k, const char* format, long a = 0, long b = 0, long c = 0)
{
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c);
    return "innings " + std::to_string(k + 1) + ": " + text;
}

// The ball-by-ball log walked once, delivery by delivery, adding up what the
// cards and the innings' totals must agree with.
class BallLog {
public:
    BallLog(const Innings& inn, int k) : inn_(inn), k_(k), fielding_(*inn.bowlingTeam) {}

    std::string walk()
    {
        for (int i = 0; i < inn_.deliveries; ++i) {
            const BallRecord& r = inn_.ballRecord(i);
            std::string problem = checkBowlerAndStriker(r, i);
            if (problem.empty()) problem = countDelivery(r, i);
            if (problem.empty()) problem = countEvent(r, i);
            if (problem.empty()) problem = checkEnd(r, i);
            if (!problem.empty()) return problem;
        }
        if (legal != inn_.legalBalls || score != inn_.runs || fallen != inn_.wickets)
            return describe(k_, "the log adds up to %ld legal balls, %ld runs", legal, score) + ", " +
                   std::to_string(fallen) + " wickets; the innings has " + std::to_string(inn_.legalBalls) + ", " +
                   std::to_string(inn_.runs) + ", " + std::to_string(inn_.wickets);
        return {};
    }

    int legal = 0, score = 0, fallen = 0, hitNoBalls = 0, faced = 0;

private:
    // One bowler an over, never two overs running, and a striker who is in.
    std::string checkBowlerAndStriker(const BallRecord& r, int i)
    {
        if (legal / 6 != over_) {
            if (legal / 6 != over_ + 1) return describe(k_, "over %ld skipped at delivery %ld", over_ + 1, i);
            ++over_;
            if (inn_.overStart(over_) != i)
                return describe(k_, "over %ld starts at delivery %ld, its table says %ld", over_, i,
                                inn_.overStart(over_));
            if (r.bowlerPlayer == overBowler_)
                return describe(k_, "player %ld bowled overs %ld and %ld running", r.bowlerPlayer, over_ - 1, over_);
            overBowler_ = r.bowlerPlayer;
            inOver_ = extrasInOver_ = 0;
        } else if (r.bowlerPlayer != overBowler_) {
            return describe(k_, "bowler changed within over %ld at delivery %ld", over_, i);
        }
        if (fielding_.bowlerPosition(r.bowlerPlayer) >= fielding_.bowlerCount())
            return describe(k_, "delivery %ld bowled by player %ld, who is not a bowler", i, r.bowlerPlayer);
        if (r.strikerPlayer < 0 || r.strikerPlayer > 10 || inn_.positionOf(r.strikerPlayer) >= inn_.batsmenIn)
            return describe(k_, "delivery %ld faced by player %ld, who is not in", i, r.strikerPlayer);
        if (++inOver_ > 12) return describe(k_, "over %ld has more than 12 deliveries", over_);
        return {};
    }

    std::string countDelivery(const BallRecord& r, int i)
    {
        switch (r.delivery) {
        case Legal:
            ++legal;
            ++faced;
            break;
        case NoBall:
            ++extrasInOver_;
            ++faced;
            break;
        case Wide: ++extrasInOver_; break;
        default: return describe(k_, "delivery %ld has kind %ld", i, r.delivery);
        }
        if (extrasInOver_ > 6) return describe(k_, "over %ld has more than 6 extras", over_);
        return {};
    }

    std::string countEvent(const BallRecord& r, int i)
    {
        switch (r.event) {
        case Scoring:
            if (r.runs < 1) return describe(k_, "scoring delivery %ld books %ld runs", i, r.runs);
            score += r.runs + (r.runKind == BatOffNoBall ? 1 : 0);
            if (r.runKind == BatOffNoBall) ++hitNoBalls;
            break;
        case Wicket:
            if (r.delivery != Legal) return describe(k_, "wicket on delivery %ld, which was not legal", i);
            ++fallen;
            break;
        case Beaten:
        case DotBall:
            if (r.runs != 0) return describe(k_, "dot ball %ld carries %ld runs", i, r.runs);
            break;
        default: return describe(k_, "delivery %ld has event %ld", i, r.event);
        }
        if (r.scoreAfter != score || r.wicketsAfter != fallen)
            return describe(k_, "delivery %ld logs %ld/%ld", i, r.scoreAfter, r.wicketsAfter) +
                   " where the log adds up to " + std::to_string(score) + "/" + std::to_string(fallen);
        return {};
    }

    // The end flag is set exactly when the allowance is used or the target
    // passed, and nothing is bowled after the innings ended.
    std::string checkEnd(const BallRecord& r, int i)
    {
        const bool last = i + 1 == inn_.deliveries;
        const bool allowanceUsed = legal >= inn_.maxBalls;
        const bool targetPassed = inn_.target != -1 && score > inn_.target;
        const bool ended = (r.flags & static_cast<int>(kInningsEnded)) != 0;
        if (ended != (allowanceUsed || targetPassed))
            return describe(k_, "delivery %ld: end flag %ld, allowance used %ld", i, ended, allowanceUsed) +
                   ", target passed " + std::to_string(targetPassed);
        if (!last && (ended || fallen >= 10)) return describe(k_, "play went on after delivery %ld ended it", i);
        return {};
    }

    const Innings& inn_;
    int k_;
    const Team& fielding_;
    int over_ = -1, overBowler_ = -1, inOver_ = 0, extrasInOver_ = 0;
};

// The batting and bowling cards agree with each other and with the log.
std::string checkCards(const Innings& inn, int k, const BallLog& log)
{
    const Team& fielding = *inn.bowlingTeam;
    long batRuns = 0, batBalls = 0, bowlRuns = 0, bowlBalls = 0, bowlWickets = 0, credited = 0, out = 0;
    for (int p = 0; p < 11; ++p) {
        const BattingLine& line = inn.batting[p];
        batRuns += line.runs;
        batBalls += line.balls;
        const int kind = line.dismissal.kind;
        if (p >= inn.batsmenIn && kind != DidNotBat)
            return describe(k, "position %ld did not bat but has kind %ld", p, kind);
        if (p < inn.batsmenIn && kind != NotOut) {
            ++out;
            if (creditsBowler(kind)) ++credited;
        }
    }
    for (int b = 0; b < 10; ++b) {
        const BowlingLine& line = inn.bowling[b];
        if (b >= fielding.bowlerCount() && (line.balls || line.runs || line.wickets))
            return describe(k, "bowler position %ld is beyond the list but has figures", b);
        bowlRuns += line.runs;
        bowlBalls += line.balls;
        bowlWickets += line.wickets;
    }
    const long extras = static_cast<long>(inn.byes) + inn.legByes + inn.wides + inn.noBalls;
    if (batRuns + extras != inn.runs)
        return describe(k, "batting runs %ld and extras %ld do not make the total %ld", batRuns, extras, inn.runs);
    if (bowlBalls != inn.legalBalls)
        return describe(k, "bowlers' balls %ld, legal balls %ld", bowlBalls, inn.legalBalls);
    if (batBalls != log.faced) return describe(k, "batsmen faced %ld balls, %ld were not wides", batBalls, log.faced);
    if (bowlRuns != batRuns + log.hitNoBalls)
        return describe(k, "bowlers conceded %ld, the bat scored %ld with %ld hit no-balls", bowlRuns, batRuns,
                        log.hitNoBalls);
    if (out != inn.wickets) return describe(k, "%ld batsmen out, %ld wickets", out, inn.wickets);
    if (bowlWickets != credited)
        return describe(k, "bowlers took %ld wickets, %ld were credited", bowlWickets, credited);
    return {};
}

std::string checkFallOfWickets(const Innings& inn, int k)
{
    int previousScore = 0;
    for (int n = 0; n < inn.wickets && n < 10; ++n) {
        FallOfWicket f;
        inn.fallOfWicket(n, f);
        if (f.score < previousScore || f.score > inn.runs || f.ball < 0 || f.ball >= inn.legalBalls)
            return describe(k, "fall of wicket %ld at %ld on ball %ld is out of order", n + 1, f.score, f.ball);
        previousScore = f.score;
    }
    return {};
}

std::string checkBallLog(const Innings& inn, int k)
{
    BallLog log(inn, k);
    if (std::string problem = log.walk(); !problem.empty()) return problem;
    if (std::string problem = checkCards(inn, k, log); !problem.empty()) return problem;
    return checkFallOfWickets(inn, k);
}

std::string checkInnings(const Match& match, int k, int expectedMaxBalls)
{
    const Innings* found = match.inningsAt(k);
    if (!found) return describe(k, "missing");
    const Innings& inn = *found;
    if (inn.battingTeam != &match.teams[k % 2] || inn.bowlingTeam != &match.teams[(k + 1) % 2])
        return describe(k, "the wrong sides bat and bowl");
    if (!inn.closed) return describe(k, "not closed");
    if (inn.maxBalls != expectedMaxBalls)
        return describe(k, "allowance %ld, expected %ld", inn.maxBalls, expectedMaxBalls);

    int expectedTarget = -1;
    if (k + 1 == match.inningsCount) {
        expectedTarget = 0;
        for (int i = 0; i < k; ++i)
            expectedTarget += (i % 2 == 0) ? match.innings[i].runs : -match.innings[i].runs;
    }
    if (inn.target != expectedTarget) return describe(k, "target %ld, expected %ld", inn.target, expectedTarget);

    if (inn.deliveries < 1) return describe(k, "closed without a delivery");
    if (inn.deliveries > inn.overCapacity() * Innings::kCommentaryLines)
        return describe(k, "%ld deliveries overflow a log of %ld", inn.deliveries,
                        static_cast<long>(inn.overCapacity()) * Innings::kCommentaryLines);
    if (inn.maxBalls > 0) {
        if (inn.legalBalls > inn.maxBalls)
            return describe(k, "%ld legal balls of %ld allowed", inn.legalBalls, inn.maxBalls);
    } else if (inn.deliveries != 1 || inn.legalBalls > 1) {
        return describe(k, "allowance %ld but %ld deliveries", inn.maxBalls, inn.deliveries);
    }
    if (inn.wickets < 0 || inn.wickets > 10) return describe(k, "%ld wickets", inn.wickets);

    const bool allOut = inn.wickets == 10;
    const bool allowanceUsed = inn.legalBalls >= inn.maxBalls;
    const bool targetPassed = inn.target != -1 && inn.runs > inn.target;
    if (!allOut && !allowanceUsed && !targetPassed) return describe(k, "closed for no reason");

    const bool lastWasWicket = inn.ballRecord(inn.deliveries - 1).event == Wicket;
    const int expectedIn = allOut ? 11 : inn.wickets + 2;
    if (inn.batsmenIn != expectedIn && !(lastWasWicket && inn.batsmenIn == inn.wickets + 1))
        return describe(k, "%ld batsmen in with %ld wickets down", inn.batsmenIn, inn.wickets);
    return checkBallLog(inn, k);
}

}  // namespace

PlayOutcome playWholeMatch(Match& match, const Team& first, const Team& second, std::uint32_t seed, std::string* reason)
{
    auto broken = [&](std::string why) {
        if (reason) *reason = std::move(why);
        return PlayOutcome::Broken;
    };
    match.context().random.seed(seed);
    match.setTeam(0, first);
    match.setTeam(1, second);
    match.toss();
    const int needed = bowlersNeeded(match.options());
    if (match.teams[0].bowlerCount() < needed || match.teams[1].bowlerCount() < needed) return PlayOutcome::Refused;
    if (!match.startPlay()) return broken("the first innings did not start");
    for (long played = 0; !match.gameOver; ++played) {
        if (played >= kDeliveryLimit) return broken("the match does not end");
        const unsigned r = match.playBall();
        if (r == 0) return broken("innings " + std::to_string(match.currentInnings + 1) + " played no ball");
        if (r != 7u && r != (kInningsEnded | kRepaintAll)) return broken("playBall returned " + std::to_string(r));
        if ((r & kInningsEnded) && match.nextInnings() == InningsChange::CannotStart)
            return broken("innings " + std::to_string(match.currentInnings + 2) + " did not start");
    }
    return PlayOutcome::Played;
}

std::string checkWholeMatch(const Match& match)
{
    const bool oneDay = match.options().oneDay != 0;
    if (match.inningsCount != (oneDay ? 2 : 4)) return "a match of " + std::to_string(match.inningsCount) + " innings";
    if (!match.gameOver || !match.playing || match.currentInnings != match.inningsCount - 1)
        return "the match did not reach its last innings";
    int used = 0;
    for (int k = 0; k < match.inningsCount; ++k) {
        const int allowance = oneDay ? Match::oneDayBalls(match.options()) : Match::kTestBalls - used;
        std::string problem = checkInnings(match, k, allowance);
        if (!problem.empty()) return problem;
        used += match.innings[k].legalBalls;
    }
    if (!oneDay && used > Match::kTestBalls + 3) return "a Test of " + std::to_string(used) + " legal balls";
    for (int k = match.inningsCount; k < 4; ++k)
        if (match.innings[k].deliveries != 0) return describe(k, "played beyond the match");
    return {};
}

std::string checkReport(Match& match)
{
    const std::string report = ScorecardWriter::reportText(match);
    const std::string ending = "\n\n" + match.resultLine() + "\n";
    if (match.resultLine().empty() || report.size() < ending.size() ||
        report.compare(report.size() - ending.size(), ending.size(), ending) != 0)
        return "the report does not end with the result line";
    return {};
}

std::string checkReport(Match& match, std::FILE* sink)
{
    if (match.resultLine().empty()) return "the result line is empty";
    if (!ScorecardWriter::writeReport(match, sink) || std::fflush(sink) != 0 || std::ferror(sink))
        return "the report stream failed";
    return {};
}
