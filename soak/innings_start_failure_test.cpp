// An innings whose tables cannot be obtained: the window's control logic must
// end the game there, write the report of what was played and end autoplay
// with a failure status, and never play a ball of the innings that did not
// start. The failure is injected through the nothrow array allocation that
// starting an innings uses; this program replaces it, which is why these tests
// live in an executable of their own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "app/match_controller.h"
#include "app/platform.h"
#include "resources/strings.h"

namespace {

// -1: every nothrow array allocation succeeds. Otherwise that many more
// succeed and every later one fails.
int allocationsBeforeFailure = -1;
int refusedAllocations = 0;

}  // namespace

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (allocationsBeforeFailure == 0) {
        ++refusedAllocations;
        return nullptr;
    }
    if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
    try {
        return ::operator new[](size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

// A window system with nobody at it: timers always work, message boxes are
// recorded, and quitting is remembered.
class HeadlessPlatform : public WindowPlatform {
public:
    bool startTicking(int, int) override { return true; }
    void stopTicking(int) override {}
    void messageBox(std::string_view text, std::string_view, MessageIcon) override { messages.emplace_back(text); }
    std::optional<std::string> chooseFile(FileKind) override { return std::nullopt; }
    void setCaption(std::string_view) override {}
    void setStatus(std::string_view) override {}
    void invalidate() override {}
    void paintNow(const RepaintHint*) override {}
    void enableMenuItem(int, bool) override {}
    void showPauseButton(bool) override {}
    void quit(int code) override
    {
        quitCalls += 1;
        exitCode = code;
    }
    void runChoosePlayer(ChoosePlayerModel&) override { ADD_FAILURE() << "autoplay asked a person to choose"; }
    bool runOptionsDialog(OptionsModel&) override { return false; }
    std::int64_t now() override { return 0; }

    std::vector<std::string> messages;
    int quitCalls = 0;
    int exitCode = -1;
};

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class InningsStartFailure : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/pelmora-innings-start-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot make a temporary folder";
        dir_ = pattern;
        refusedAllocations = 0;
    }
    void TearDown() override
    {
        allocationsBeforeFailure = -1;
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // Plays an autoplay match between the sample sides, as the window does,
    // letting `allocations` nothrow array allocations succeed before every
    // later one fails. Stops at the quit request, or after far more ticks than
    // any match needs.
    void play(int oneDay, int allocations)
    {
        CommandLineSettings settings;
        settings.autoplay = 1;
        settings.titleAnimation = 0;
        settings.randomSeed = 4242;
        settings.team1File = std::string(PELMORA_SOURCE_DIR) + "/samples/northshire.xi";
        settings.team2File = std::string(PELMORA_SOURCE_DIR) + "/samples/southmoor.xi";
        settings.outputFileName = (dir_ / "report.txt").string();
        GameOptions options;
        options.oneDay = oneDay;

        allocationsBeforeFailure = allocations;
        window_ = std::make_unique<MatchController>(platform_, settings, options);
        window_->start();
        for (int tick = 0; tick < 100000 && platform_.quitCalls == 0; ++tick)
            window_->tick(MatchController::kMainTimer);
        // Ticks that arrive after the end must not play on.
        for (int tick = 0; tick < 50; ++tick)
            window_->tick(MatchController::kMainTimer);
        allocationsBeforeFailure = -1;
        window_->close();
        report_ = readFile(dir_ / "report.txt");
    }

    bool shown(int id) const
    {
        for (const std::string& m : platform_.messages)
            if (m == loadString(id)) return true;
        return false;
    }

    std::filesystem::path dir_;
    HeadlessPlatform platform_;
    std::unique_ptr<MatchController> window_;
    std::string report_;
};

TEST_F(InningsStartFailure, OneDaySecondInningsThatCannotStartEndsTheGameWithTheFirstReported)
{
    play(1, 2);  // the first innings takes two tables; the second gets none
    const Match& match = window_->match();
    ASSERT_EQ(platform_.quitCalls, 1) << "autoplay must quit exactly once";
    EXPECT_NE(platform_.exitCode, 0) << "a game cut short must end with a failure status";
    EXPECT_NE(window_->exitCode(), 0);
    EXPECT_TRUE(shown(str::CannotStartInnings)) << "no \"" << loadString(str::CannotStartInnings) << "\" message";
    EXPECT_GE(refusedAllocations, 1);
    EXPECT_EQ(match.gameOver, 1);
    EXPECT_EQ(match.innings[0].closed, 1) << "the first innings was not played out";
    EXPECT_GT(match.innings[0].deliveries, 0);
    EXPECT_EQ(match.innings[1].deliveries, 0) << "a ball was played on an innings that never started";
    EXPECT_EQ(match.innings[1].battingTeam, nullptr);

    EXPECT_NE(report_.find(match.teams[0].name()), std::string::npos) << "report:\n" << report_;
    const std::string ending = "\n\n" + match.resultLine() + "\n";
    ASSERT_GE(report_.size(), ending.size()) << "report:\n" << report_;
    EXPECT_EQ(report_.substr(report_.size() - ending.size()), ending) << "the report does not end with the result";
    EXPECT_EQ(report_.find(loadString(str::Stars)), report_.rfind(loadString(str::Stars)))
        << "the report shows more than the one innings played:\n"
        << report_;
}

TEST_F(InningsStartFailure, BallLogThatCannotBeObtainedIsHandledLikeTheOverTable)
{
    play(1, 3);  // the second innings gets its over table but no ball log
    const Match& match = window_->match();
    ASSERT_EQ(platform_.quitCalls, 1);
    EXPECT_NE(platform_.exitCode, 0);
    EXPECT_TRUE(shown(str::CannotStartInnings));
    EXPECT_EQ(match.innings[1].deliveries, 0);
    EXPECT_FALSE(report_.empty()) << "the report of the first innings was not written";
}

TEST_F(InningsStartFailure, TestMatchThirdInningsThatCannotStartKeepsTheFirstTwoInTheReport)
{
    play(0, 4);
    const Match& match = window_->match();
    ASSERT_EQ(platform_.quitCalls, 1);
    EXPECT_NE(platform_.exitCode, 0);
    EXPECT_TRUE(shown(str::CannotStartInnings));
    EXPECT_EQ(match.inningsCount, 4);
    EXPECT_GT(match.innings[0].deliveries, 0);
    EXPECT_GT(match.innings[1].deliveries, 0);
    EXPECT_EQ(match.innings[2].deliveries, 0);
    EXPECT_EQ(match.innings[3].deliveries, 0);
    EXPECT_NE(report_.find(match.teams[1].name()), std::string::npos);
    const std::string ending = "\n\n" + match.resultLine() + "\n";
    ASSERT_GE(report_.size(), ending.size());
    EXPECT_EQ(report_.substr(report_.size() - ending.size()), ending);
}

TEST_F(InningsStartFailure, FirstInningsThatCannotStartPlaysNothingAndFails)
{
    play(1, 0);
    const Match& match = window_->match();
    ASSERT_EQ(platform_.quitCalls, 1);
    EXPECT_NE(platform_.exitCode, 0);
    EXPECT_EQ(match.innings[0].deliveries, 0);
    EXPECT_EQ(match.playing, 0);
}

TEST_F(InningsStartFailure, WithoutAFailureTheSameMatchEndsCleanly)
{
    play(1, -1);
    const Match& match = window_->match();
    ASSERT_EQ(platform_.quitCalls, 1);
    EXPECT_EQ(platform_.exitCode, 0) << "messages: " << ::testing::PrintToString(platform_.messages);
    EXPECT_EQ(refusedAllocations, 0);
    EXPECT_GT(match.innings[1].deliveries, 0);
    EXPECT_EQ(report_.find(match.resultLine()) + match.resultLine().size() + 1, report_.size());
}

}  // namespace
