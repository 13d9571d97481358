#pragma once
// Helpers shared by the test files: sides built in memory, temporary files,
// and an independent model of the match generator.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "match/match.h"
#include "presentation/scorecard_writer.h"

namespace support {

// The generator written out again from its definition, so tests can predict
// draws without trusting the engine's own copy.
struct Lcg {
    std::uint32_t s;
    explicit Lcg(std::uint32_t seed) : s(seed) {}
    int below(int n)
    {
        s = s * 214013u + 2531011u;
        return (static_cast<int>((s >> 16) & 0x7FFF) * n) >> 15;
    }
};

// The first seed from 1 up for which the predicate holds on a fresh generator.
inline std::uint32_t findSeed(const std::function<bool(Lcg&)>& wanted)
{
    for (std::uint32_t seed = 1; seed < 5000000; ++seed) {
        Lcg g(seed);
        if (wanted(g)) return seed;
    }
    ADD_FAILURE() << "no seed gives the draws wanted";
    return 0;
}

// Players named prefix + A..K, the keeper at index 4, and players 6..10
// bowling (then players 5, 3, 2, ... as bowlerCount grows): alike when
// `bowlThreat` is given, else with distinct ratings.
inline Team makeSide(const char* name, const char* prefix, int bowlerCount, int batTempo = 400, int batRisk = 120,
                     int batSurvival = 500, int bowlThreat = -1, int bowlStyle = 0)
{
    Team team;
    team.setName(name);
    for (int i = 0; i < 11; ++i) {
        Player& p = *team.player(i);
        p = Player{};
        p.setName((std::string(prefix) + static_cast<char>('A' + i)).c_str());
        p.batTempo = batTempo;
        p.batRisk = batRisk;
        p.batSurvival = batSurvival;
    }
    team.player(4)->isKeeper = 1;
    team.setKeeper(4);
    const int others[10] = {0, 1, 2, 3, 5, 6, 7, 8, 9, 10};
    int bowlers[10], n = 0;
    for (int k = 10 - bowlerCount; k < 10; ++k) {
        Player& p = *team.player(others[k]);
        p.isBowler = 1;
        p.bowlTempo = bowlThreat < 0 ? 280 + 10 * k : 300;
        p.bowlThreat = bowlThreat < 0 ? 90 + 5 * k : bowlThreat;
        p.bowlStyle = bowlThreat < 0 ? k % 3 : bowlStyle;
        bowlers[n++] = others[k];
    }
    team.setBowlers(bowlers, n);
    return team;
}

// Batsmen alike with crafted extremes that force the simulation's outcomes.
inline Team uniformSide(int batTempo, int batRisk, int batSurvival)
{
    return makeSide("Bat", "B", 5, batTempo, batRisk, batSurvival, 100);
}

// One innings of a match on its own: teams[0] bats, teams[1] fields. Without
// a captain the engine makes every choice itself, as in autoplay.
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
        return innings().ballRecord(innings().deliveries - 1);
    }
};

// Answers the choice dialogs from a script: batsmen in team order, bowlers
// from a list by over and then the first eligible one, as Escape does.
struct ScriptedCaptain : Captain {
    std::vector<int> bowlers;
    std::size_t oversAsked = 0;

    int autoplay() const override { return 0; }
    ChoiceResult choosePlayer(Innings& innings, int chooseBatsman, int) override
    {
        ChoiceResult answer;
        if (!chooseBatsman && oversAsked < bowlers.size()) answer.choice = bowlers[oversAsked];
        oversAsked += chooseBatsman ? 0 : 1;
        for (int i = 0; i < 11 && answer.choice < 0; ++i)
            if (chooseBatsman ? innings.positionOf(i) == Innings::kNotBatting : innings.eligibleToBowl(i))
                answer.choice = i;
        return answer;
    }
};

// A file in a scratch directory of this test process, removed at exit.
inline std::string tempPath(const std::string& name)
{
    static const struct Dir {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("pelmora-tests-" + std::to_string(getpid()));
        Dir() { std::filesystem::create_directories(path); }
        ~Dir()
        {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    } dir;
    return (dir.path / name).string();
}

inline std::string writeFile(const std::string& name, const std::string& content)
{
    const std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

inline std::string readFile(const std::string& path)
{
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A side shipped in samples/ (batch and export tests measure those very sides).
inline Team loadSample(const std::string& file)
{
    Team team;
    const std::string path = std::string(PELMORA_SOURCE_DIR) + "/samples/" + file;
    EXPECT_EQ(team.load(path.c_str()), 1) << path;
    return team;
}

inline std::string dataPath(const std::string& name)
{
    return std::string(PELMORA_SOURCE_DIR) + "/tests/data/" + name;
}

inline Team loadData(const std::string& name)
{
    Team team;
    if (!team.load(dataPath(name).c_str())) ADD_FAILURE() << "test side " << name << " does not load";
    return team;
}

// The report a match writes.
inline std::string reportOf(const Match& match)
{
    return ScorecardWriter::reportText(match);
}

struct CliRun {
    int status = -1;
    std::string out, err;
};

// Runs pelmora-cli with the arguments, each quoted for the shell.
inline CliRun runCli(const std::vector<std::string>& args)
{
    static int counter = 0;
    const std::string tag = std::to_string(++counter);
    const std::string out = tempPath("cli-" + tag + ".out"), err = tempPath("cli-" + tag + ".err");
    std::string command = std::string("'") + PELMORA_CLI + "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    const int raw = std::system((command + " >'" + out + "' 2>'" + err + "' </dev/null").c_str());
    return CliRun{(raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
}

// Runs pelmora-rate with exactly these arguments (no shell between).
inline CliRun runRate(const std::vector<std::string>& args)
{
    const std::string out = tempPath("rate.out"), err = tempPath("rate.err");
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>(PELMORA_RATE)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(126);
        execv(PELMORA_RATE, argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return {};
    return CliRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

// The long options ("--name") a --help text or a man page names, so the two
// can be checked against each other.
inline std::set<std::string> longOptionsIn(const std::string& text, bool manPage)
{
    const std::regex option(manPage ? R"(\\-\\-[a-z](?:[a-z]|\\-)*)" : R"((?:^|[^a-z-])(--[a-z][a-z-]*))");
    std::set<std::string> names;
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it) {
        std::string name = manPage ? it->str() : (*it)[1].str();
        name.erase(std::remove(name.begin(), name.end(), '\\'), name.end());
        names.insert(name);
    }
    return names;
}

}  // namespace support
