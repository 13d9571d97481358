#pragma once
#include <string>

class Match;

// Writes worm.png and manhattan.png of the match into a folder, rendered
// offscreen (no display needed). False with a reason when it cannot.
bool writeCharts(const Match& match, const std::string& folder, std::string& error);
