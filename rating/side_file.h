#pragma once
#include <string>
#include <vector>

#include "rating/figures.h"
#include "rating/fit.h"

// players.csv: one row per player, his real figures, his ratings under the
// team file's names (isKeeper for one player a side: the most stumpings, ties
// by catches), his figures in the fit's own matches and the balls faced and
// bowled his ratings rest on (0 for the prior of his role).
std::string playersCsv(const std::vector<PlayerRecord>& players, const FitResult& fit);

// A text field as RFC 4180 has it; one a spreadsheet would take for a formula
// is made plain text with a leading quote.
std::string csvField(const std::string& s);

// Whether a player counts as a bowler in players.csv.
bool isRegularBowler(const Figures& f);

// A side's most recent eleven as a team file, its bowlers those of them who
// bowled for it in the matches read. The keeper is `keeperName`
// when it names one of the eleven, else the one with the most stumpings
// (ties by catches), else the one with the most catches among those who did not bowl in that
// match. Returns false with a reason when no keeper can be found, or when
// the text made would not load as a side.
struct SideFile {
    std::string text;
    std::string fileName;  // sideFileName(side)
};
// `shortName` is the side's name in the file (sideShortName(side) when empty).
bool sideFile(const std::string& side, const Archive& archive, const FitResult& fit, bool oneDay,
              const std::string& keeperName, SideFile& out, std::string& why, const std::string& shortName = {});

// A name of one word of at most 15 bytes, as the team file reads it: white
// space in it dropped (or, lastWordOnly, only the last word kept), control
// characters and '#' made '_'.
std::string oneWord(const std::string& name, bool lastWordOnly);

// The side file's name: the side's whole name made one word, safe as one
// file name component (never a path), with .xi.
std::string sideFileName(const std::string& side);

// The side's name in its file, one word of at most 15 bytes: the name made
// one word when it fits, else its first word and the initials of the others
// ("Royal Challengers Bengaluru": RoyalCB), so that sides stay apart.
std::string sideShortName(const std::string& side);
