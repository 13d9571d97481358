#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/net_run_rate.h"
#include "engine/game_options.h"
#include "teams/team.h"

class Match;

// The most sides a tournament takes (a forecast's counts grow with their square).
constexpr int kMaxTournamentSides = 1024;

// A tournament: its sides, the kind of match, the group stage and the
// knock-outs, as read from a tournament file.
struct TournamentPlan {
    std::string name = "Tournament";
    std::vector<std::string> sidePaths;  // as resolved from the file's folder
    std::vector<Team> sides;
    GameOptions options;  // oneDay and overs
    int rounds = 1;       // 1 single, 2 double round robin
    int groups = 1;       // sides go to groups in turn: A, B, ..., A, B, ...
    int playoff = 0;      // sides in the knock-outs: 0 none, 2 a final, 4 semi-finals, 8, 16
    // Digest of the tournament file's text and every side's bytes as read:
    // what a forecast part carries so that parts of other inputs never merge.
    std::string inputsDigest;

    int groupOf(int side) const { return side % groups; }
    int groupMatches() const;
    int matchesPerTournament() const { return groupMatches() + (playoff > 1 ? playoff - 1 : 0); }
    // "single round robin, 20 overs, semi-finals and final"
    std::string describe() const;
};

// "A".."Z", then "AA", "AB", ...: the name of group g (from 0).
std::string groupLetters(int g);

// Reads and checks a tournament file and loads its sides. False with a
// message naming the file and the reason.
bool loadTournament(const std::string& path, TournamentPlan& plan, std::string& error);
// The same from the file's text; team paths are taken relative to `folder`.
bool parseTournament(const std::string& text, const std::string& folder, TournamentPlan& plan, std::string& error);

// One match as a table sees it: sides by index, `home` named first.
struct MatchOutcome {
    int home = -1, away = -1;
    int winner = -1;  // -1 a tie
    // Whose aggregate decided it only because a Test's balls ran out.
    bool timeRanOut = false;
    NetRunRateFigures figures[2];  // home, away
    std::string score[2];          // "162/7 (20.0)"
    std::string resultLine;
    std::uint32_t seed = 0;
    int battedFirst = 0;  // 0 home, 1 away
};

struct TableRow {
    int side = -1;
    int played = 0, won = 0, lost = 0, tied = 0, points = 0;
    NetRunRateFigures figures;
};

// The group's table ordered by points (2 a win, 1 a tie), net run rate,
// points in the matches among the sides still level, then a draw made from
// `drawSeed`.
std::vector<TableRow> groupTable(const TournamentPlan& plan, int group, const std::vector<MatchOutcome>& results,
                                 std::uint64_t drawSeed);

struct KnockoutMatch {
    std::string round;  // "Final", "Semi-final 1", ...
    MatchOutcome outcome;
    int through = -1;  // the side that goes on (the higher placed after a tie)
};

// How far a side got in a tournament, in order.
enum class Stage { GroupStage, Knockouts, Final, Won };

struct TournamentRun {
    std::vector<MatchOutcome> results;          // the group stage, in playing order
    std::vector<std::vector<TableRow>> tables;  // per group
    std::vector<KnockoutMatch> knockouts;
    std::vector<int> finishing;  // sides from first to last
    std::vector<Stage> reached;  // per side: the furthest it got
};

// How a played match counts for the tournament: `home` and `away` are the
// sides' indices, battedFirst which of them (0 home) batted first. The score
// and result texts are built only `withText`.
MatchOutcome outcomeOf(const Match& match, int home, int away, std::uint32_t seed, int battedFirst,
                       bool withText = true);

// A tournament played one match at a time: which match comes next, and the
// tables and knock-outs as the results come in. The plan must outlive it.
class TournamentProgress {
public:
    struct Fixture {
        int home = -1, away = -1;
        std::uint32_t seed = 0;
        std::string label;  // "Round robin", "Group A", "Semi-final 1", "Final"
    };

    TournamentProgress(const TournamentPlan& plan, std::int32_t firstSeed);
    bool finished() const { return finished_; }
    // The match to play now; its seed is one more than the last one's.
    const Fixture& next() const { return next_; }
    // The outcome of next(); the tournament moves on to the match after it.
    void record(const MatchOutcome& outcome);
    // What has been played; tables, finishing order and who reached where
    // are filled in as the stages end.
    const TournamentRun& run() const { return run_; }
    const TournamentPlan& plan() const { return *plan_; }
    std::int32_t firstSeed() const { return firstSeed_; }

private:
    struct GroupFixture {
        int home, away, group;
    };
    void prepareNext();
    void closeGroupStage();
    void markFinalists();
    void finish();

    const TournamentPlan* plan_;
    std::int32_t firstSeed_;
    std::uint32_t seed_;
    std::vector<GroupFixture> groupFixtures_;
    std::vector<TableRow> standing_;          // every side after the group stage
    std::vector<int> seeds_;                  // knock-out qualifiers, best placed first
    std::vector<int> alive_;                  // seed numbers still in, in bracket order
    std::vector<int> winners_, roundLosers_;  // of the knock-out round being played
    std::vector<std::vector<int>> losers_;    // per round, outermost first
    Fixture next_;
    TournamentRun run_;
    bool finished_ = false;
};

// Called with every match played; `label` is "Group A", "Final", ...
using TournamentMatchHook = std::function<void(Match&, const MatchOutcome&, const std::string& label)>;

// Plays one tournament; its matches take seeds firstSeed, firstSeed + 1, ...
// in playing order (group matches, then knock-outs), one per match, each in
// a match of its own, so /t1=home /t2=away /r=seed replays it.
TournamentRun playTournament(const TournamentPlan& plan, std::int32_t firstSeed, const TournamentMatchHook& hook = {});

// Exact counts over many tournaments: the same whatever the number of threads.
struct ForecastTotals {
    std::int64_t tournaments = 0;
    std::vector<std::int64_t> titles, finals, knockouts;
    std::vector<std::int64_t> positions;  // side * sides + place

    explicit ForecastTotals(int sides = 0);
    void add(const TournamentRun& run);
    void add(const ForecastTotals& other);
};

// Plays tournaments begin..end-1 of a forecast whose tournament i starts at
// seed firstSeed + i * matchesPerTournament.
ForecastTotals runForecast(const TournamentPlan& plan, std::int32_t firstSeed, std::int64_t begin, std::int64_t end,
                           int threads, std::atomic<int>* progress = nullptr);

std::string formatTournamentRun(const TournamentPlan& plan, const TournamentRun& run, std::int32_t firstSeed);
// A tournament part-way: results, tables so far, knock-outs and the match now
// being played; once it has finished, the same as formatTournamentRun.
std::string formatTournamentProgress(const TournamentProgress& progress);
std::string formatForecastTable(const TournamentPlan& plan, const ForecastTotals& totals, std::int32_t firstSeed);
std::string formatForecastJson(const TournamentPlan& plan, const ForecastTotals& totals, std::int32_t firstSeed);
