#pragma once
#include <cstdio>
#include <string>
#include <string_view>

class Match;

// The match report, written after the last innings: per innings an optional
// ball-by-ball log, the batting card, extras and total, the bowling card, the
// fall of wickets and the best performances; then the result line, or for a
// match stopped before its end (`stoppedBecause` not empty) a line saying
// where and why it stopped. The writer knows nothing of files: it gives the
// text, or writes it to the stream it is handed in one write.
class ScorecardWriter {
public:
    static std::string reportText(const Match& match, std::string_view stoppedBecause = {});
    // False when the write failed; errno says why.
    static bool writeReport(const Match& match, std::FILE* sink, std::string_view stoppedBecause = {});
};
