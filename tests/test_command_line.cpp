// The command line: every option's reading, as one table.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/command_line.h"

namespace {

struct Want {
    int usage = 0, oneDay = 1, title = 1, autoplay = 0, brief = 1, speed = 50, speedChanged = 0, seed = 0;
    std::string t1 = "-", t2 = "-", out = "-";  // "-": not set
    bool operator==(const Want&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Want& w)
{
    return os << "usage " << w.usage << ", oneDay " << w.oneDay << ", title " << w.title << ", autoplay " << w.autoplay
              << ", brief " << w.brief << ", speed " << w.speed << (w.speedChanged ? " changed" : "") << ", seed "
              << w.seed << ", files " << w.t1 << " " << w.t2 << " " << w.out;
}

Want parse(const std::string& line)
{
    CommandLineSettings s;
    GameOptions o;
    const int usage = parseCommandLine(line, s, o);
    if (s.bowlerListFile) std::fclose(s.bowlerListFile);
    return Want{usage,
                o.oneDay,
                s.titleAnimation,
                s.autoplay,
                o.briefOutput,
                o.gameSpeed,
                o.speedChanged,
                s.randomSeed,
                s.team1File.value_or("-"),
                s.team2File.value_or("-"),
                s.outputFileName.value_or("-")};
}

}  // namespace

TEST(CommandLine, EveryOptionReadsAsTheTableSays)
{
    const std::pair<const char*, Want> cases[] = {
        {"", {}},
        // The delay in tenths of a millisecond; outside 0..100 the fastest speed.
        {"/d:500", {}},
        {"/d", {}},
        {"/d=500", {.speedChanged = 1}},
        {"/d=5", {.speed = 0, .speedChanged = 1}},
        {"/d=1009", {.speed = 100, .speedChanged = 1}},
        {"/d=1010", {.speed = 0, .speedChanged = 1}},
        {"/d=abc", {.speed = 0, .speedChanged = 1}},
        {"/d=120x", {.speed = 12, .speedChanged = 1}},
        {"/d=99999999999", {.speed = 0, .speedChanged = 1}},
        {"/d=300 /d=700", {.speed = 70, .speedChanged = 1}},
        // The seed reads like atoi, saturating outside the int range.
        {"/r=42abc", {.seed = 42}},
        {"/r=abc", {}},
        {"/r=5 /r", {.seed = 5}},
        {"/r=99999999999", {.seed = INT_MAX}},
        {"/r=-99999999999", {.seed = INT_MIN}},
        // /t1 and /t2 need "="; other keys starting with t select a Test.
        {"/t1", {}},
        {"/t", {.oneDay = 0}},
        {"/tx", {.oneDay = 0}},
        {"/t1= /t2= /s=", {}},
        {"/t1=a.xi /t2=b.xi /s=out=1.txt", {.t1 = "a.xi", .t2 = "b.xi", .out = "out=1.txt"}},
        // A dash works like a slash; keys are case-sensitive; a bare word is ignored.
        {"/t -o", {}},
        {"/t /O", {.oneDay = 0}},
        {"-l", {.brief = 0}},
        {"/L", {}},
        {"-a", {.autoplay = 1}},
        {"/a=/nonexistent/bowlers.txt", {.autoplay = 1}},
        {"t1=a.xi", {}},
        {"/nta", {.title = 0}},
        {"/ntax", {}},
        {"/NTA", {}},
        // /? stops at once: earlier options stand, later ones are never read.
        {"/o /? /t", {.usage = 1}},
        {"/t /l /?", {.usage = 1, .oneDay = 0, .brief = 0}},
        {"-?", {.usage = 1}},
        // Tokens split at blanks, commas, tabs and newlines; later ones win.
        {"/t1=a.xi,/t2=b.xi", {.t1 = "a.xi", .t2 = "b.xi"}},
        {",,\t/t\n\n/s=r.txt ,/nta,", {.oneDay = 0, .title = 0, .out = "r.txt"}},
        {"/o /t /s=a.txt /s=b.txt", {.oneDay = 0, .out = "b.txt"}},
    };
    for (const auto& [line, want] : cases)
        EXPECT_EQ(parse(line), want) << "command line \"" << line << "\"";
}
