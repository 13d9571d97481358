#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "rating/figures.h"

// A player's ratings as the team file names them (the two flags aside).
struct Ratings {
    int batTempo = 450;
    int batRisk = 100;
    int batSurvival = 500;
    int bowlTempo = 300;
    int bowlThreat = 100;
    int bowlStyle = 2;  // neutral unless told otherwise
};

// Tempos add into one activity level and risk and threat into one chance,
// so the data fix the ratings only up to a shift between batting and bowling
// terms. The convention: after every round all bowling terms are shifted one
// way and all batting terms the other until the archive's average bowler,
// weighted by the balls he bowled, has this tempo and threat.
constexpr int kReferenceBowlTempo = 300;
constexpr int kReferenceBowlThreat = 100;

struct FitSettings {
    bool oneDay = true;
    std::int64_t simulations = 200000;  // matches played in all rounds together
    int threads = 1;
    std::uint32_t seed = 1;
    // Figures are blended with the average of the player's batting position
    // (bowlers: of all bowlers) as if he had faced, or bowled, this many more
    // balls at that average.
    int shrinkBalls = 100;
    // Told after each round (1-based) of how many; may be empty.
    std::function<void(int done, int rounds)> onRound;
};

// A rating resting on fewer of the player's own balls than this (faced, or
// bowled) is replaced by the prior of his role in the archive: the
// ball-weighted average batsman of his usual batting position, or the
// ball-weighted average bowler (bowlTempo and bowlThreat at the reference).
constexpr int kFewestBallsRated = 30;

struct FitResult {
    std::vector<Ratings> ratings;    // by player
    std::vector<Figures> simulated;  // by player: his figures in the last round's matches
    std::int64_t matchesPlayed = 0;
};

// One side of a fixture with these ratings (by player): the batting order
// and the bowlers of the eleven, topped up to the match type's minimum by
// those who bowled most; the keeper, a non-bowler with the most stumpings,
// never bowls.
class Team;
Team ratedSide(const Eleven& eleven, const std::vector<Ratings>& ratings, const std::vector<Figures>& real,
               bool oneDay);

// Finds ratings with which the engine, playing the archive's own matches
// again (the same elevens, batting orders and bowlers), reproduces each
// player's figures in them: play, compare, adjust, several rounds. `styles`
// gives each player's bowling style (may be empty). The result does not
// depend on the number of threads.
FitResult fitRatings(const std::vector<Figures>& real, const std::vector<Fixture>& fixtures,
                     const std::vector<int>& styles, const FitSettings& settings);
