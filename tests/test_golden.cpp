// Golden files: the report and the commentary of a few whole matches, played
// by the console runner on the test sides in tests/data and compared byte for
// byte. Any change to the draws, the engine's rules or the report shows here.
//
// The files were made by the build itself. After a deliberate change of
// behaviour, check the differences, then regenerate them with
//   PELMORA_REGENERATE_GOLDEN=1 ./tests/pelmora_tests --gtest_filter='Golden*'
// run from the build directory, and commit the new files with the change.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support.h"

namespace {

struct GoldenCase {
    const char* file;
    std::vector<std::string> options;
};

const GoldenCase kCases[] = {
    {"golden_oneday_4242.txt", {"/t1=harbour.xi", "/t2=upland.xi", "/r=4242", "/l"}},
    {"golden_test_99.txt", {"/t", "/t1=harbour.xi", "/t2=twin.xi", "/r=99"}},
    {"golden_oneday_7.txt", {"/t1=upland.xi", "/t2=harbour.xi", "/r=7"}},
};

// The report, a separator line and the commentary of one match.
std::string play(const GoldenCase& c)
{
    const std::string report = support::tempPath(std::string(c.file) + ".report");
    const std::string commentary = support::tempPath(std::string(c.file) + ".commentary");
    std::string command = std::string("'") + PELMORA_CLI + "'";
    for (std::string option : c.options) {
        if (option.rfind("/t1=", 0) == 0 || option.rfind("/t2=", 0) == 0)
            option = option.substr(0, 4) + support::dataPath(option.substr(4));
        command += " '" + option + "'";
    }
    command += " '/s=" + report + "' '--commentary=" + commentary + "' </dev/null";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(raw != -1 && WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << command;
    return support::readFile(report) + "==== commentary ====\n" + support::readFile(commentary);
}

}  // namespace

TEST(Golden, WholeMatchesReplayByteForByte)
{
    const bool regenerate = std::getenv("PELMORA_REGENERATE_GOLDEN") != nullptr;
    for (const GoldenCase& c : kCases) {
        SCOPED_TRACE(c.file);
        const std::string actual = play(c);
        const std::string path = support::dataPath(c.file);
        if (regenerate) {
            std::ofstream(path, std::ios::binary) << actual;
            continue;
        }
        const std::string expected = support::readFile(path);
        ASSERT_FALSE(expected.empty()) << "missing golden file " << path;
        if (actual == expected) continue;
        const auto want = support::splitLines(expected), got = support::splitLines(actual);
        std::size_t i = 0;
        while (i < want.size() && i < got.size() && want[i] == got[i])
            ++i;
        ADD_FAILURE() << c.file << " differs first at line " << i + 1
                      << "\n  expected: " << (i < want.size() ? want[i] : "(end)")
                      << "\n  actual:   " << (i < got.size() ? got[i] : "(end)");
    }
    if (regenerate) GTEST_SKIP() << "golden files written to " << support::dataPath("");
}
