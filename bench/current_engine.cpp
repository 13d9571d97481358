// The same matches as earlier_engine_shim.cpp plays, on the current engine:
// the loop must stay step for step the same, or the comparison measures the
// difference between the two loops.
#include "current_engine.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine_entry_points.h"
#include "match/match.h"
#include "match/unattended.h"
#include "presentation/scorecard_writer.h"

namespace currentEngine {
namespace {

Team sides[2];

Match& playMatch(Match& match, int kind, unsigned seed)
{
    match.options().oneDay = kind != kTest;
    match.options().briefOutput = kind == kOneDayWithLongReport ? 0 : 1;
    playUnattended(match, sides[0], sides[1], seed);
    return match;
}

double checksumOf(const Match& match)
{
    double checksum = 0;
    for (const Innings& inn : match.innings)
        checksum += inn.runs + inn.wickets + inn.deliveries;
    return checksum;
}

}  // namespace

int loadSides(const char* firstPath, const char* secondPath)
{
    return sides[0].load(firstPath) && sides[1].load(secondPath);
}

double play(int kind, unsigned firstSeed, int count)
{
    static std::FILE* const nowhere = std::fopen("/dev/null", "w");
    std::FILE* sink = kind == kOneDayWithReport || kind == kOneDayWithLongReport ? nowhere : nullptr;
    double checksum = 0;
    for (int i = 0; i < count; ++i) {
        Match match;
        playMatch(match, kind, firstSeed + static_cast<unsigned>(i));
        checksum += checksumOf(match);
        if (sink) ScorecardWriter::writeReport(match, sink);
    }
    return checksum;
}

long report(int kind, unsigned seed, char* buffer, long capacity)
{
    Match match;
    const std::string text = ScorecardWriter::reportText(playMatch(match, kind, seed));
    if (capacity > 0)
        std::memcpy(buffer, text.data(), text.size() < static_cast<std::size_t>(capacity) ? text.size() : capacity);
    return static_cast<long>(text.size());
}

}  // namespace currentEngine
