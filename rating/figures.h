#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "rating/match_record.h"

// A player's counts over many matches. A batsman is "in" from his ninth ball
// or his eighth run on, as the engine judges a reprieve, and his balls and
// outs before and after are counted apart, since the two rates fix his risk
// and his survival separately.
struct Figures {
    std::int64_t matches = 0;
    // batting
    std::int64_t innings = 0;
    std::int64_t balls = 0;  // wides are not balls faced
    std::int64_t runs = 0;
    std::int64_t outs = 0;
    std::int64_t fours = 0;
    std::int64_t sixes = 0;
    std::int64_t earlyBalls = 0, earlyOuts = 0;  // earlyBalls + lateBalls = balls
    std::int64_t lateBalls = 0, lateOuts = 0;
    std::int64_t atPosition[11] = {};  // innings by batting position
    // bowling
    std::int64_t bowlBalls = 0;  // legal balls
    std::int64_t conceded = 0;   // off the bat, wides and no-balls
    std::int64_t wickets = 0;
    std::int64_t wides = 0;
    std::int64_t noBalls = 0;
    std::int64_t matchesBowled = 0;
    // How his captain used him: innings he bowled in, those in which he bowled
    // the first or the second over, and those in which he was the first
    // bowler after those two, coming on within the first fifth of the overs.
    std::int64_t inningsBowled = 0, openedBowling = 0, firstChange = 0;
    // fielding
    std::int64_t catches = 0;
    std::int64_t stumpings = 0;

    void add(const Figures& other);
    int usualPosition() const;  // 1..11; 11 for one who never batted
    double battingAverage() const { return outs ? double(runs) / double(outs) : 0; }
    double strikeRate() const { return balls ? 100.0 * double(runs) / double(balls) : 0; }
    double economy() const { return bowlBalls ? 6.0 * double(conceded) / double(bowlBalls) : 0; }
    double bowlingStrikeRate() const { return wickets ? double(bowlBalls) / double(wickets) : 0; }
};

// The bowling style that makes Pelmora's captain use a bowler as his own
// captain did, for archives that do not record styles: the captain opens with
// the neutral bowlers, brings on the spinners next and the pace bowlers last.
// So one who usually opened is neutral, one who usually came on first after
// the openers is spin, anyone else pace.
int styleByUse(const Figures& f);

// Adds one match to per-person figures: batting[i] and bowling[i] receive
// person i's batting (with fielding) and bowling; either may be null.
void addMatchFigures(const MatchRecord& match, Figures* const* batting, Figures* const* bowling);

// Which matches count.
struct MatchFilter {
    enum class Format { Any, OneDay, Test, Overs } format = Format::Any;
    int overs = 0;                   // for Format::Overs
    std::string matchType;           // info.match_type ("T20", ...), any case; empty for all
    std::string teamType;            // "international" or "club"; empty for all
    std::string event;               // info.event.name exactly; empty for all
    std::string from, to;            // the first day, YYYY-MM-DD, inclusive; empty for open
    std::vector<std::string> teams;  // any of these must play; empty for all
    std::string gender;              // "male" or "female"; empty for all

    // The option that leaves the match out ("--format", "--match-type", ...),
    // the first that does in that order; empty when the match counts.
    std::string leftOutBy(const MatchRecord& match) const;
    bool accepts(const MatchRecord& match) const { return leftOutBy(match).empty(); }
};

struct PlayerRecord {
    std::string key;  // the registry id, else "name|side"
    std::string id;
    std::string name;
    std::string side;  // the side of his most recent match
    Figures figures;
};

// A side's eleven in one match in batting order (those who batted by
// arrival, then the rest as listed) and who of them bowled.
struct Eleven {
    std::vector<int> players;  // indices into Archive::players
    std::vector<bool> bowled;
};

// The most recent match of a side.
struct LatestEleven : Eleven {
    std::string date;
    std::int64_t sequence = -1;
};

// A match as the fit plays it again: both elevens, the side that batted first
// first. Only matches whose two elevens can be made are kept: a side that
// lists more than eleven is played by the eleven who took part, a substitute
// in the place of the one he replaced.
struct Fixture {
    Eleven sides[2];
    int overs = 0;  // the allowance per innings; 0 for a multi-day match
};

// Every counted match summed up per player, in the order players were met.
class Archive {
public:
    void add(const MatchRecord& match, std::int64_t sequence);
    // The player of this key (PlayerRecord::key), -1 for one not met.
    int find(const std::string& key) const
    {
        const auto it = index_.find(key);
        return it == index_.end() ? -1 : it->second;
    }

    std::vector<PlayerRecord> players;
    std::map<std::string, LatestEleven> latest;      // by side name
    std::map<std::string, std::set<int>> bowledFor;  // by side name: the players who bowled for it
    std::vector<Fixture> fixtures;                   // in the order counted
    std::int64_t matches = 0;
    // Matches counted but not played again by the fit, by the reason why.
    std::map<std::string, std::int64_t> notReplayed;

private:
    int playerIndex(const MatchRecord& match, int person);
    std::map<std::string, int> index_;
    std::vector<std::pair<std::string, std::int64_t>> lastSeen_;  // per player: date, sequence
};
