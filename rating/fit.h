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

// One round of the fit as it ends: `plays` of every match of the archive, and
// how far the ratings would move on its figures.
struct FitRound {
    int round = 0;  // 1-based
    int plays = 0;
    double movement = 0;
};

struct FitSettings {
    bool oneDay = true;
    // Matches played in all rounds together at most, but every match of the
    // archive at least once.
    std::int64_t simulations = 200000;
    // The fit ends after the first round whose figures would move the ratings
    // by no more than this (rating points): of each tempo, risk and threat,
    // the mean change over the players rated on their own balls, weighted by
    // those balls.
    double tolerance = 5.0;
    int maxRounds = 16;
    int threads = 1;
    std::uint32_t seed = 1;
    // Figures are blended with the average of the player's batting position
    // (bowlers: of all bowlers) as if he had faced, or bowled, this many more
    // balls at that average.
    int shrinkBalls = 100;
    // Told after each round; may be empty.
    std::function<void(const FitRound&)> onRound;
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
    int rounds = 0;
    double movement = 0;  // of the last round, which measures the ratings and changes none
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
// player's figures in them: play, compare, adjust, round after round, each
// playing every match twice as often as the one before, until a round would
// move the ratings by no more than the tolerance (or the rounds or the
// simulations run out); the ratings are those the last round measured. `styles`
// gives each player's bowling style (may be empty). The result does not
// depend on the number of threads.
FitResult fitRatings(const std::vector<Figures>& real, const std::vector<Fixture>& fixtures,
                     const std::vector<int>& styles, const FitSettings& settings);
