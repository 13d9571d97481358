// One delivery, top to bottom: new batsmen, new over, the outcome drawn from
// the ratings, then booking, commentary, end tests and the log. The draws are
// made in exactly this order and no others, so a seed replays a match.
#include <cstdint>

#include "engine/engine_context.h"
#include "engine/innings.h"

namespace {

// Chances of the outcome draws, per mille (a draw below1000() under the figure).
constexpr int kExtraChance = 25;          // the ball is a no-ball or a wide
constexpr int kNoBallShare = 500;         // of extras, no-balls
constexpr int kNoBallHitShare = 300;      // of no-balls, those the batsman plays
constexpr int kWideBoundaryChance = 25;   // a wide runs away for four
constexpr int kByesOrLegByesChance = 15;  // a legal ball brings byes or leg byes
constexpr int kByesShare = 50;            // of those, byes
constexpr int kLoggedRunsOnWicket = 50;   // with the next, one wicket in 200 logs runs
constexpr int kLoggedRunsOnWicketAbove = 900;
constexpr int kTwoLoggedRunsAbove = 500;  // of those, two runs rather than one
constexpr int kMaxExtrasInOver = 6;       // so no over has more than twelve deliveries
// The activity level of a one-day innings' last fifth: it climbs from
// kLastFifthActivity to kLastFifthActivity + 2 * kLastFifthRise.
constexpr int kLastFifthActivity = 800;
constexpr int kLastFifthRise = 300;
constexpr int kTestActivityScale = 570;  // Test batsmen play at 57% of the one-day rate
constexpr int kReprieveAfter = 8;        // runs or balls that make a batsman "in"

// Cumulative thresholds of the dismissal kinds; Stumped is never drawn.
constexpr int kDismissalThresholds[8] = {500, 662, 822, 922, 997, 998, 999, 1000};
constexpr int kDismissalKinds[8] = {Caught, Bowled, Lbw, Caught, RunOut, HitWicket, RetiredHurt, HandledBall};

}  // namespace

void Innings::deliver()
{
    if (closed || !battingTeam || !bowlingTeam || !overs_) return;

    if (deliveries == 0 || needBatsman == 1) {
        if (!batsmanStep()) return;
    }
    if (deliveries == 0 || (legalBalls > 0 && legalBalls % 6 == 0 && lastWasExtra == 0)) {
        if (!overStep()) return;
    }
    // Only a side that cannot bowl at all gets here without a bowler; play is
    // refused before that happens, so this only keeps a bad caller safe.
    if (bowler < 0 || bowler >= bowlingTeam->bowlerCount() || striker < 0 || nonStriker < 0) {
        closed = 1;
        return;
    }

    // The record is built where the log keeps it.
    BallRecord overflow;
    BallRecord& record = deliveries < overCount_ * kCommentaryLines ? ballLog_[deliveries] : overflow;
    record = BallRecord{};
    ballOutcome(record);
    BattingLine& line = batting[striker];
    BowlingLine& bowlerLine = bowling[bowler];

    ++deliveries;
    ++overBall;
    if (record.delivery != Wide) ++line.balls;
    if (record.delivery == Legal) {
        lastWasExtra = 0;
        ++legalBalls;
        ++bowlerLine.balls;
    } else {
        lastWasExtra = 1;
        ++overExtras;
    }

    if (record.event == Wicket)
        bookWicket();
    else if (record.event == Scoring)
        bookScoring(record);

    commentate(record);

    if (legalBalls > 0 && legalBalls % 6 == 0 && lastWasExtra == 0 && overRuns == 0) ++bowlerLine.maidens;

    if (legalBalls >= maxBalls) {
        closed = 1;
        record.flags |= static_cast<int>(kInningsEnded);
    }
    if (target != -1 && runs > target) {
        closed = 1;
        record.flags |= static_cast<int>(kInningsEnded);
    }
    // The striker is always the batsman dismissed, so a wicket never changes ends.
    if (record.crossed == 1 && record.event != Wicket) swapEnds();

    record.scoreAfter = runs;
    record.wicketsAfter = wickets;
    overSpellRuns_ += spellRunsOf(record);
    overSpellChances_ += spellChanceOf(record);
}

// Brings in both openers on the first call of an innings, one batsman later.
// Returns false when the user declared.
bool Innings::batsmanStep()
{
    do {
        int player = batsmenIn;  // autoplay bats in the team's file order
        if (!autoplay()) {
            const int mayDeclare = context().options.oneDay ? 0 : 1;
            ChoiceResult answer = captain_->choosePlayer(*this, 1, mayDeclare);
            if (mayDeclare && answer.declared) {
                closed = 1;
                return false;
            }
            player = answer.choice;
            if (player < 0 || player > 10 || positionOf(player) != kNotBatting) {
                player = -1;
                for (int p = 0; p < 11 && player == -1; ++p)
                    if (positionOf(p) == kNotBatting) player = p;
            }
        }
        battingOrder[batsmenIn] = player;
        // The first opener takes strike; every later batsman replaces the
        // striker, who is always the batsman dismissed.
        if (batsmenIn == 1)
            nonStriker = 1;
        else
            striker = batsmenIn;
        batting[batsmenIn].dismissal = Dismissal{NotOut, 0, 0};
        ++batsmenIn;
        if (deliveries != 0) needBatsman = 0;
    } while (batsmenIn < 2);
    return true;
}

// Starts a new over with a new bowler. Returns false when the user declared.
bool Innings::overStep()
{
    const int previous = bowler;
    if (deliveries > 0) summariseOver(legalBalls / 6 - 1);

    int choice;
    if (autoplay()) {
        choice = autoBowler();
    } else {
        const int mayDeclare = context().options.oneDay ? 0 : 1;
        ChoiceResult answer = captain_->choosePlayer(*this, 0, mayDeclare);
        if (mayDeclare && answer.declared) {
            closed = 1;
            return false;
        }
        choice = answer.choice;
        if (choice < 0 || choice >= bowlingTeam->bowlerCount()) choice = firstEligibleBowler();
    }
    bowler = choice;
    otherEndBowler = previous;
    if (deliveries > 0) swapEnds();  // the batsmen change ends at every over
    overRuns = 0;
    overBall = 0;
    overExtras = 0;
    overSpellRuns_ = 0;
    overSpellChances_ = 0;
    overs_[legalBalls / 6].start = deliveries;
    clearCommentary();
    return true;
}

int Innings::drawRuns(int row)
{
    const int d = context().random.below(1000);
    const int* t = context().runTables[row];
    for (int i = 0; i < 5; ++i)
        if (d < t[i]) return i + 1;
    return 6;
}

void Innings::drawDismissal(Dismissal& dismissal)
{
    const int d = context().random.below(1000);
    int kind = HandledBall;
    for (int i = 0; i < 8; ++i) {
        if (d < kDismissalThresholds[i]) {
            kind = kDismissalKinds[i];
            break;
        }
    }
    dismissal.kind = kind;
    dismissal.fielder = context().random.below(11);
    dismissal.bowler = creditsBowler(kind) ? bowler : -1;
}

void Innings::ballOutcome(BallRecord& record)
{
    EngineContext& ctx = context();
    Random& random = ctx.random;
    const GameOptions& options = ctx.options;
    const int strikerIndex = battingOrder[striker];
    const int bowlerIndex = bowlingTeam->bowlerAt(bowler);
    const Player& striker_ = *battingTeam->player(strikerIndex);
    const Player& bowler_ = *bowlingTeam->player(bowlerIndex);
    const BattingLine& line = batting[striker];

    record.strikerPlayer = strikerIndex;
    record.bowlerPlayer = bowlerIndex;
    record.crossed = 0;

    bool stroke = false;
    // Extras: no over has more than six, and so no more than twelve deliveries.
    if (random.below(1000) < kExtraChance && overExtras < kMaxExtrasInOver) {
        if (random.below(1000) < kNoBallShare) {
            record.delivery = NoBall;
            if (random.below(1000) >= kNoBallHitShare) {
                record.event = Scoring;
                record.runKind = NoBallRun;
                record.runs = 1;
                return;
            }
            stroke = true;  // the batsman hits it
        } else {
            record.delivery = Wide;
            record.event = Scoring;
            record.runKind = WideRun;
            record.runs = random.below(1000) < kWideBoundaryChance ? 4 : 1;
            return;
        }
    }

    if (!stroke) {
        record.delivery = Legal;
        if (random.below(1000) < kByesOrLegByesChance) {
            record.event = Scoring;
            int row = 3;
            record.runKind = LegByes;
            if (random.below(1000) < kByesShare) {
                record.runKind = Byes;
                row = 2;
            }
            record.runs = drawRuns(row);
            record.crossed = record.runs % 2 != 0;
            return;
        }

        // Does the batsman play at it? Ratings are summed in 64 bits: they are unbounded.
        std::int64_t activity;
        const int remaining = maxBalls - legalBalls;
        const int q = maxBalls / 5;
        if (options.oneDay && 5LL * remaining <= maxBalls && q != 0) {
            activity = 2 * ((static_cast<std::int64_t>(q) - remaining) * kLastFifthRise / q) + kLastFifthActivity;
        } else {
            activity = static_cast<std::int64_t>(bowler_.bowlTempo) + striker_.batTempo + 2LL * options.pitchPace - 100;
            if (!options.oneDay) activity = activity * kTestActivityScale / 1000;
        }
        if (2LL * random.below(1000) >= activity) {
            record.event = DotBall;
            record.runKind = NoRun;
            record.runs = 0;
            return;
        }

        // Is he beaten? Pace gains on a green top, spin on a bare pitch.
        std::int64_t threat = bowler_.bowlThreat;
        if (bowler_.bowlStyle == Player::Spin)
            threat -= options.pitchSurface - 50;
        else if (bowler_.bowlStyle != Player::Neutral)
            threat += options.pitchSurface - 50;
        const std::int64_t chance =
            static_cast<std::int64_t>(striker_.batRisk) + options.wicketDifficulty + threat - 50;
        if (2LL * random.below(1000) <= chance) {
            // A batsman who is in may get a reprieve.
            if (line.runs >= kReprieveAfter || line.balls >= kReprieveAfter) {
                if (random.below(1000) <= striker_.batSurvival) {
                    record.event = Beaten;
                    record.runKind = NoRun;
                    record.runs = 0;
                    return;
                }
            }
            record.event = Wicket;
            record.runKind = NoRun;
            record.runs = 0;
            // One wicket in 200 records runs that are logged but never scored.
            if (random.below(1000) < kLoggedRunsOnWicket && random.below(1000) >= kLoggedRunsOnWicketAbove) {
                record.runKind = Bat;
                record.runs = random.below(1000) >= kTwoLoggedRunsAbove ? 2 : 1;
                record.crossed = record.runs % 2 != 0;
            }
            return;
        }
    }

    record.event = Scoring;
    record.runKind = record.delivery == NoBall ? BatOffNoBall : Bat;
    const int row = (options.oneDay && 5LL * legalBalls >= maxBalls) ? 1 : 0;
    record.runs = drawRuns(row);
    record.crossed = record.runs % 2 != 0;
}

void Innings::bookWicket()
{
    BattingLine& line = batting[striker];
    drawDismissal(line.dismissal);
    if (line.dismissal.bowler != -1) ++bowling[bowler].wickets;
    if (wickets < 10)
        fallOfWickets[wickets] = FallOfWicket{runs, battingOrder[striker], battingOrder[nonStriker], legalBalls - 1};
    ++wickets;
    if (wickets >= 10)
        closed = 1;  // all out
    else
        needBatsman = 1;
}

void Innings::bookScoring(BallRecord& record)
{
    int r = record.runs;
    // The winning hit: only the runs needed count, boundaries in full, and a
    // winning three becomes a boundary half the time.
    if (target != -1 && static_cast<std::int64_t>(runs) + r > target) {
        Random& random = context().random;
        if (r == 3 && random.below(1000) < 500) r = random.below(1000) >= 100 ? 4 : 6;
        if (r < 4) {
            const int needed = target + 1 - runs;
            if (needed >= 1) r = needed;  // never zero or negative runs
        }
        record.runs = r;
    }

    BattingLine& line = batting[striker];
    BowlingLine& bowlerLine = bowling[bowler];
    switch (record.runKind) {
    case Bat:
    case BatOffNoBall:
        if (r == 4) ++line.fours;
        if (r == 6) ++line.sixes;
        line.runs += r;
        bowlerLine.runs += r;
        overRuns += r;
        if (record.runKind == BatOffNoBall) {
            ++bowlerLine.runs;
            ++overRuns;
            ++noBalls;
        }
        break;
    case Byes: byes += r; break;
    case LegByes: legByes += r; break;
    case NoBallRun: ++noBalls; break;
    case WideRun: wides += r; break;
    default: break;
    }
    runs += r + (record.runKind == BatOffNoBall ? 1 : 0);
}

int Innings::spellRunsOf(const BallRecord& r) const
{
    if (r.event != Scoring) return 0;
    if (r.runKind == Bat || r.runKind == NoBallRun || r.runKind == WideRun) return r.runs;
    if (r.runKind == BatOffNoBall) return r.runs + 1;
    return 0;  // byes and leg byes
}

int Innings::spellChanceOf(const BallRecord& r) const
{
    if (r.event == Beaten) return 1;
    if (r.event != Wicket) return 0;
    const int p = positionOf(r.strikerPlayer);
    return p != kNotBatting && creditsBowler(batting[p].dismissal.kind) ? 1 : 0;
}

void Innings::setBallRecord(int i, const BallRecord& record)
{
    const bool inOverBeingBowled = overBall >= 0 && i >= deliveries - overBall && i < deliveries;
    if (inOverBeingBowled) {
        overSpellRuns_ += spellRunsOf(record) - spellRunsOf(ballLog_[i]);
        overSpellChances_ += spellChanceOf(record) - spellChanceOf(ballLog_[i]);
    }
    ballLog_[i] = record;
}
