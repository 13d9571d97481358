#pragma once
// What pelmora-bench plays on both engines, the earlier one (built from git
// into pelmora-earlier-engine.so) and the current one, through the same three
// entry points. Plain C across the module's edge: no class of either engine
// crosses it, so the two sets of classes never meet.

// The kinds of match measured; a report goes to /dev/null.
enum EngineMatchKind : int {
    kOneDay,                // one-day match, no report
    kOneDayWithReport,      // one-day match and its brief report
    kOneDayWithLongReport,  // one-day match and its report with the /l ball-by-ball log
    kTest,                  // Test match, no report
    kEngineMatchKinds
};

extern "C" {
// Reads the two sample sides; 1 when both loaded.
typedef int (*EngineLoadSides)(const char* firstPath, const char* secondPath);
// Plays `count` matches of `kind` with seeds firstSeed, firstSeed + 1, ...
// and returns a checksum of their scores (runs, wickets, deliveries).
typedef double (*EnginePlay)(int kind, unsigned firstSeed, int count);
// Plays one match of `kind` and puts up to `capacity` bytes of its report
// (brief, or with the log for kOneDayWithLongReport) in `buffer`; returns
// the report's whole length.
typedef long (*EngineReport)(int kind, unsigned seed, char* buffer, long capacity);
}

// The names the module exports them under.
#define PELMORA_EARLIER_LOAD_SIDES "pelmoraEarlierLoadSides"
#define PELMORA_EARLIER_PLAY "pelmoraEarlierPlay"
#define PELMORA_EARLIER_REPORT "pelmoraEarlierReport"
