#pragma once
// Helpers shared by the test files: sides built in memory, temporary files,
// an independent model of the match generator, and a whole-match driver.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "match/match.h"
#include "presentation/scorecard_writer.h"
#include "teams/team.h"

namespace support {

// The generator written out again from its definition, so tests can predict
// draws without trusting the engine's own copy.
struct Lcg {
    std::uint32_t s;
    explicit Lcg(std::uint32_t seed) : s(seed) {}
    int next()
    {
        s = s * 214013u + 2531011u;
        return static_cast<int>((s >> 16) & 0x7FFF);
    }
    int below(int n) { return (next() * n) >> 15; }
};

// The first seed from 1 up for which the predicate holds on a fresh generator.
inline std::uint32_t findSeed(const std::function<bool(Lcg&)>& wanted, std::uint32_t limit = 5000000)
{
    for (std::uint32_t seed = 1; seed < limit; ++seed) {
        Lcg g(seed);
        if (wanted(g)) return seed;
    }
    return 0;
}

inline Player makePlayer(const char* name, int batTempo, int batRisk, int batSurvival, int isKeeper = 0,
                         int isBowler = 0, int bowlTempo = 0, int bowlThreat = 0, int bowlStyle = 0)
{
    Player p;
    p.setName(name);
    p.batTempo = batTempo;
    p.batRisk = batRisk;
    p.batSurvival = batSurvival;
    p.isKeeper = isKeeper;
    p.isBowler = isBowler;
    p.bowlTempo = bowlTempo;
    p.bowlThreat = bowlThreat;
    p.bowlStyle = bowlStyle;
    return p;
}

// A side from eleven players; keeper and bowler list follow the players' flags.
inline Team makeTeam(const char* name, const std::vector<Player>& players)
{
    Team team;
    team.setName(name);
    int bowlers[11], n = 0;
    for (int i = 0; i < 11 && i < static_cast<int>(players.size()); ++i) {
        *team.player(i) = players[i];
        if (players[i].isKeeper) team.setKeeper(i);
        if (players[i].isBowler && n < 10) bowlers[n++] = i;
    }
    team.setBowlers(bowlers, n);
    return team;
}

// An ordinary side: players named prefix + A..K, the keeper at index 4, and
// the last `bowlerCount` of the ten others as bowlers with distinct ratings.
inline Team makeSide(const char* name, const char* prefix, int bowlerCount, int batTempo = 400, int batRisk = 120,
                     int batSurvival = 500)
{
    std::vector<Player> players;
    const int others[10] = {0, 1, 2, 3, 5, 6, 7, 8, 9, 10};
    for (int i = 0; i < 11; ++i) {
        const std::string n = std::string(prefix) + static_cast<char>('A' + i);
        players.push_back(makePlayer(n.c_str(), batTempo, batRisk, batSurvival, i == 4 ? 1 : 0));
    }
    for (int k = 10 - bowlerCount; k < 10; ++k) {
        Player& p = players[others[k]];
        p.isBowler = 1;
        p.bowlTempo = 280 + 10 * k;
        p.bowlThreat = 90 + 5 * k;
        p.bowlStyle = k % 3;
    }
    return makeTeam(name, players);
}

// A side whose players all bat alike; the last `bowlerCount` of the ten
// outfielders bowl alike. Crafted extremes force the simulation's outcomes.
inline Team uniformSide(const char* name, const char* prefix, int batTempo, int batRisk, int batSurvival,
                        int bowlTempo = 300, int bowlThreat = 100, int bowlStyle = 0, int bowlerCount = 5)
{
    Team team = makeSide(name, prefix, bowlerCount, batTempo, batRisk, batSurvival);
    for (int pos = 0; pos < team.bowlerCount(); ++pos) {
        Player& p = *team.player(team.bowlerAt(pos));
        p.bowlTempo = bowlTempo;
        p.bowlThreat = bowlThreat;
        p.bowlStyle = bowlStyle;
    }
    return team;
}

// One innings of a match on its own: teams[0] bats, teams[1] fields. Without
// an owner the engine makes every choice itself, as in autoplay.
struct Engine {
    std::unique_ptr<Match> match = std::make_unique<Match>();

    Innings& innings() { return match->innings[0]; }
    EngineContext& context() { return match->context(); }

    void open(const Team& batting, const Team& bowling, bool oneDay, int target, int maxBalls, std::uint32_t seed)
    {
        match->setTeam(0, batting);
        match->setTeam(1, bowling);
        match->options().oneDay = oneDay ? 1 : 0;
        context().random.seed(seed);
        ASSERT_EQ(innings().start(match->teams[0], match->teams[1], target, maxBalls), 1);
    }

    // Plays one delivery and returns its log entry.
    BallRecord deliverOne()
    {
        innings().deliver();
        BallRecord r;
        innings().ballRecord(innings().deliveries - 1, r);
        return r;
    }

    // Forces every stroke to bring `runs` (1..6) through run table rows 0 and 1.
    void strokesOf(int runs)
    {
        for (int row = 0; row < 2; ++row)
            for (int i = 0; i < 6; ++i) context().runTables[row][i] = (i + 1 < runs) ? 0 : 1000;
    }
};

// Answers the choice dialogs from a script: batsmen in team order, bowlers
// from a list by over, an optional declaration at a given question.
struct ScriptedOwner : MatchOwner {
    int autoplayFlag = 0;
    std::vector<int> bowlers;
    int oversAsked = 0;
    int questions = 0;
    int declareAt = -1;

    int autoplay() const override { return autoplayFlag; }
    ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int) override
    {
        ChoiceResult answer;
        answer.declared = (questions++ == declareAt) ? 1 : 0;
        if (chooseBatsman) {
            for (int p = 0; p < 11 && answer.choice < 0; ++p)
                if (innings.positionOf(p) == 11) answer.choice = p;
        } else {
            const int k = oversAsked++;
            answer.choice = k < static_cast<int>(bowlers.size()) ? bowlers[k] : 0;
        }
        return answer;
    }
};

// A scratch directory for this test process, removed at exit.
inline const std::filesystem::path& scratchDir()
{
    struct Dir {
        std::filesystem::path path;
        Dir()
        {
            char pattern[] = "/tmp/pelmora-tests-XXXXXX";
            const char* made = ::mkdtemp(pattern);
            path = made ? made : "/tmp";
        }
        ~Dir()
        {
            std::error_code ec;
            if (path != "/tmp") std::filesystem::remove_all(path, ec);
        }
    };
    static Dir dir;
    return dir.path;
}

inline std::string tempPath(const std::string& name) { return (scratchDir() / name).string(); }

inline std::string writeFile(const std::string& name, const std::string& content)
{
    const std::string path = tempPath(name);
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

inline std::string dataPath(const std::string& name) { return std::string(PELMORA_SOURCE_DIR) + "/tests/data/" + name; }

inline Team loadData(const std::string& name)
{
    Team team;
    if (!team.load(dataPath(name).c_str())) ADD_FAILURE() << "test side " << name << " does not load";
    return team;
}

// The report a match writes, captured through a temporary file.
inline std::string reportOf(Match& match)
{
    std::FILE* f = std::tmpfile();
    std::FILE* before = match.outputFile;
    match.outputFile = f;
    ScorecardWriter::writeReport(match);
    match.outputFile = before;
    std::fflush(f);
    std::rewind(f);
    std::string text;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
    return text;
}

// A whole unattended match: the toss, then ball after ball, each innings
// starting as the previous one ends, the commentary line of every delivery
// kept as it is written.
struct PlayedMatch {
    std::unique_ptr<Match> match = std::make_unique<Match>();
    std::string commentary;
    std::string report;
};

inline std::unique_ptr<PlayedMatch> playWholeMatch(const Team& first, const Team& second, std::uint32_t seed,
                                                   bool oneDay, bool longOutput = false)
{
    auto played = std::make_unique<PlayedMatch>();
    Match& m = *played->match;
    m.options().oneDay = oneDay ? 1 : 0;
    m.options().briefOutput = longOutput ? 0 : 1;
    m.context().random.seed(seed);
    m.setTeam(0, first);
    m.setTeam(1, second);
    m.toss();
    if (!m.startPlay()) {
        ADD_FAILURE() << "the first innings did not start";
        return played;
    }
    int guard = 0;
    while (!m.gameOver && guard++ < 20000) {
        Innings* inn = m.inningsAt(m.currentInnings);
        const int before = inn->deliveries;
        const unsigned r = m.playBall();
        if (inn->deliveries > before) played->commentary += std::string(inn->commentaryLine(inn->overBall - 1)) + "\n";
        if (r == 0) {
            ADD_FAILURE() << "playBall refused a delivery in innings " << m.currentInnings;
            break;
        }
        if (r & kInningsEnded) {
            const int k = m.currentInnings;
            if (k + 1 < m.inningsCount) {
                if (!m.startInnings(k + 1, (k + 1) % 2, k % 2))
                    ADD_FAILURE() << "innings " << k + 1 << " did not start";
            } else {
                m.gameOver = 1;
            }
        }
    }
    played->report = reportOf(m);
    return played;
}

}  // namespace support
