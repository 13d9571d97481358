#include "match/match.h"

#include "resources/strings.h"

Match::Match()
{
    for (Innings& i : innings)
        i.attach(context_, nullptr);
    startInnings(-1, -1, -1);
}

void Match::reset()
{
    const GameOptions options = context_.options;
    context_ = EngineContext();
    context_.options = options;
    teams[0] = Team();
    teams[1] = Team();
    for (Innings& i : innings) {
        i = Innings();
        i.attach(context_, captain_);
    }
    playing = gameOver = gameStarted = 0;
    inningsCount = 4;
    tossWinner = -1;
    startInnings(-1, -1, -1);
}

void Match::setCaptain(Captain* captain)
{
    captain_ = captain;
    for (Innings& i : innings)
        i.attach(context_, captain);
}

int Match::oneDayBalls(const GameOptions& options)
{
    const int overs = options.overs < 1 ? 1 : (options.overs > kMaxOvers ? kMaxOvers : options.overs);
    return overs * 6;
}

bool Match::setTeam(int i, const Team& t)
{
    if (i != 0 && i != 1) return false;
    teams[i] = t;
    return true;
}

bool Match::startInnings(int index, int battingTeam, int bowlingTeam)
{
    currentInnings = index;
    if (index == -1 || battingTeam == -1 || bowlingTeam == -1) return false;
    if (index < 0 || index >= 4 || battingTeam < 0 || battingTeam > 1 || bowlingTeam < 0 || bowlingTeam > 1)
        return false;

    // The last innings chases the aggregate of the side batting first minus
    // that of the side batting last; earlier innings have no target.
    int target = -1;
    if (index + 1 == inningsCount) {
        target = 0;
        for (int i = 0; i < index; ++i)
            target += (i % 2 == 0) ? innings[i].runs : -innings[i].runs;
    }
    int maxBalls = oneDayBalls(context_.options);
    if (!context_.options.oneDay) {
        maxBalls = kTestBalls;
        for (int i = 0; i < index; ++i)
            maxBalls -= innings[i].legalBalls;
    }
    if (!innings[index].start(teams[battingTeam], teams[bowlingTeam], target, maxBalls)) return false;
    playing = 1;
    return true;
}

unsigned Match::playBall()
{
    Innings* current = inningsAt(currentInnings);
    if (!current || current->closed || current->overCapacity() == 0) return 0;
    current->deliver();
    return current->closed ? (kInningsEnded | kRepaintAll) : 7u;
}

void Match::repaintHint(RepaintHint& out) const
{
    const Innings* current = inningsAt(currentInnings);
    if (!current) {
        out = RepaintHint{};
        return;
    }
    out.striker = current->striker;
    out.nonStriker = current->nonStriker;
    out.bowler = current->bowler;
    out.otherEndBowler = current->otherEndBowler;
}

bool Match::startPlay()
{
    inningsCount = context_.options.oneDay ? 2 : 4;
    bool started = startInnings(0, 0, 1);
    gameStarted = 1;
    return started;
}

InningsChange Match::nextInnings()
{
    const int k = currentInnings;
    if (k + 1 >= inningsCount) {
        gameOver = 1;
        return InningsChange::GameOver;
    }
    if (!startInnings(k + 1, (k + 1) % 2, k % 2)) {
        // Never play on an innings that did not start.
        gameOver = 1;
        return InningsChange::CannotStart;
    }
    return InningsChange::Started;
}

MatchResult Match::result() const
{
    const int a = innings[0].runs + (inningsCount > 2 ? innings[2].runs : 0);
    const int b = innings[1].runs + (inningsCount > 3 ? innings[3].runs : 0);
    MatchResult r;
    if (a > b) {
        r = MatchResult{MatchResult::Runs, 0, a - b};
    } else if (b > a) {
        const int lastOfB = inningsCount > 3 ? 3 : 1;
        r = MatchResult{MatchResult::Wickets, 1, 10 - innings[lastOfB].wickets};
    }
    return r;
}

bool Match::timeRanOutIn(int k) const
{
    const Innings& inn = innings[k];
    return inningsCount == 4 && inn.battingTeam && inn.wickets < 10 && inn.legalBalls >= inn.maxBalls &&
           !(inn.target != -1 && inn.runs > inn.target);
}

std::string Match::toss()
{
    int batFirst = 0;
    std::string message = tossMessage(batFirst);
    if (batFirst == 1) swapTeams();
    return message;
}

void Match::swapTeams()
{
    Team swap = teams[0];
    teams[0] = teams[1];
    teams[1] = swap;
}

std::string Match::tossMessage(int& batFirst)
{
    const int w = context_.random.below(2);
    std::string message = teams[w].name();
    message += loadString(str::WonTheToss);
    const int b = context_.random.below(2);
    message += ' ';
    message += teams[b].name();
    message += loadString(str::WillBatFirst);
    batFirst = b;
    tossWinner = w == b ? 0 : 1;
    return message;
}

std::string Match::resultLine() const
{
    const MatchResult r = result();
    const std::string nameA = teams[0].name();
    const std::string nameB = teams[1].name();
    if (r.kind == MatchResult::Tie)
        return nameA + ' ' + std::string(loadString(str::And)) + ' ' + nameB + ' ' +
               std::string(loadString(str::TiedTheMatch));
    const std::string& winner = r.winner == 0 ? nameA : nameB;
    const std::string& loser = r.winner == 0 ? nameB : nameA;
    return winner + ' ' + std::string(loadString(str::Defeated)) + ' ' + loser + ' ' +
           std::string(loadString(str::By)) + ' ' + std::to_string(r.margin) + ' ' +
           std::string(loadString(r.kind == MatchResult::Runs ? str::Runs : str::Wickets));
}
