#pragma once
#include <string>

class Match;

// The finished match in the ball-by-ball JSON format of the Cricsheet project
// (meta, info, innings with overs and deliveries), for existing cricket
// analysis tools. `date` is the match date as YYYY-MM-DD.
std::string cricsheetJson(const Match& match, const std::string& date);

// Today's date in UTC as YYYY-MM-DD.
std::string todayUtc();
