// The entry points of pelmora-earlier-engine.so. Compiled only against the
// earlier engine's sources, which git extracts into the build folder: this
// file speaks that engine's interface (the report goes through the match's
// output file).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine_entry_points.h"
#include "match/match.h"
#include "match/unattended.h"
#include "presentation/scorecard_writer.h"

namespace {

Team sides[2];

// Plays one match of the kind; its report, when `sink` is given, goes there.
double playOne(int kind, unsigned seed, std::FILE* sink)
{
    Match match;
    match.options().oneDay = kind != kTest;
    match.options().briefOutput = kind == kOneDayWithLongReport ? 0 : 1;
    playUnattended(match, sides[0], sides[1], seed);
    double checksum = 0;
    for (const Innings& inn : match.innings)
        checksum += inn.runs + inn.wickets + inn.deliveries;
    if (sink) {
        match.outputFile = sink;
        ScorecardWriter::writeReport(match);
        match.outputFile = nullptr;
    }
    return checksum;
}

}  // namespace

#define PELMORA_EXPORT extern "C" __attribute__((visibility("default")))

PELMORA_EXPORT int pelmoraEarlierLoadSides(const char* firstPath, const char* secondPath)
{
    return sides[0].load(firstPath) && sides[1].load(secondPath);
}

PELMORA_EXPORT double pelmoraEarlierPlay(int kind, unsigned firstSeed, int count)
{
    static std::FILE* const nowhere = std::fopen("/dev/null", "w");
    std::FILE* sink = kind == kOneDayWithReport || kind == kOneDayWithLongReport ? nowhere : nullptr;
    double checksum = 0;
    for (int i = 0; i < count; ++i)
        checksum += playOne(kind, firstSeed + static_cast<unsigned>(i), sink);
    return checksum;
}

PELMORA_EXPORT long pelmoraEarlierReport(int kind, unsigned seed, char* buffer, long capacity)
{
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* memory = open_memstream(&text, &size);
    if (!memory) return -1;
    playOne(kind, seed, memory);
    if (std::fclose(memory) != 0) {
        std::free(text);
        return -1;
    }
    if (capacity > 0) std::memcpy(buffer, text, size < static_cast<std::size_t>(capacity) ? size : capacity);
    std::free(text);
    return static_cast<long>(size);
}
