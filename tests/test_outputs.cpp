// Every output of every program goes through one clash check and one
// replace-by-rename: it never writes over an input, it fails naming the file
// where it cannot write and leaves nothing behind, and a file it replaces
// keeps its mode. A program writing a folder of outputs says where they went.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support.h"

namespace {

namespace fs = std::filesystem;
using support::CliRun;
using Args = std::vector<std::string>;

// Two sides, a tournament of them, an archive of their matches and a later fixture.
struct Scene {
    std::string root, north, south, sides, cup, archive, fixtures;
};

const Scene& scene()
{
    static const Scene built = [] {
        Scene s;
        s.root = support::tempPath("outputs");
        fs::remove_all(s.root);
        fs::create_directories(s.root);
        s.north = support::writeFile("outputs/n.xi", support::readFile(support::dataPath("harbour.xi")));
        s.south = support::writeFile("outputs/s.xi", support::readFile(support::dataPath("upland.xi")));
        s.sides = support::readFile(s.north) + support::readFile(s.south);
        s.cup = support::writeFile("outputs/cup.json", R"({"name": "Cup", "sides": ["n.xi", "s.xi"], "overs": 5})");
        s.archive = s.root + "/archive";
        s.fixtures = s.root + "/fixtures";
        fs::create_directories(s.fixtures);
        const Args teams{"/t1=" + s.north, "/t2=" + s.south};
        Args batch = teams, fixture = teams;
        batch.insert(batch.end(), {"/r=1", "--matches=6", "--date=2024-01-01", "--cricsheet=" + s.archive});
        fixture.insert(fixture.end(), {"/r=9", "--date=2024-02-01", "--cricsheet=" + s.fixtures + "/f.json"});
        EXPECT_EQ(support::runCli(batch).status, 0);
        EXPECT_EQ(support::runCli(fixture).status, 0);
        return s;
    }();
    return built;
}

struct Writer {
    const char* what;
    bool folder;  // the output names a folder the program writes files into
    std::function<CliRun(const Scene&, const std::string& target)> run;
};

CliRun match(const Scene& s, Args outputs)
{
    outputs.insert(outputs.begin(), {"/t1=" + s.north, "/t2=" + s.south, "/r=3"});
    return support::runCli(outputs);
}

const Writer kWriters[] = {
    {"report", false, [](const Scene& s, const std::string& t) { return match(s, {"/s=" + t}); }},
    {"commentary", false, [](const Scene& s, const std::string& t) { return match(s, {"--commentary=" + t}); }},
    {"Cricsheet file", false, [](const Scene& s, const std::string& t) { return match(s, {"--cricsheet=" + t}); }},
    {"match file", false, [](const Scene& s, const std::string& t) { return match(s, {"--record=" + t}); }},
    {"batch Cricsheet folder", true,
     [](const Scene& s, const std::string& t) {
         return match(s, {"--matches=2", "--cricsheet=" + t});
     }},
    {"tournament reports", true,
     [](const Scene& s, const std::string& t) {
         return support::runCli({"--tournament=" + s.cup, "/r=1", "--reports=" + t});
     }},
    {"tournament Cricsheet folder", true,
     [](const Scene& s, const std::string& t) {
         return support::runCli(
             {"--tournament=" + s.cup, "/r=1", "--reports=" + s.root + "/cup-reports", "--cricsheet=" + t});
     }},
    {"players.csv", true,
     [](const Scene& s, const std::string& t) {
         return support::runRate({s.archive, "--simulations=100", "--threads=1", "--out=" + t});
     }},
    {"forecast", true,
     [](const Scene& s, const std::string& t) {
         return support::runRate(
             {s.archive, "--forecast=" + s.fixtures, "--simulations=100", "--matches=10", "--threads=1", "--out=" + t});
     }},
};

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

unsigned modeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(Outputs, EveryWriterSparesItsInputsNamesWhatItCannotWriteAndKeepsTheModeItReplaces)
{
    const Scene& s = scene();
    int n = 0;
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.what);
        const std::string home = s.root + "/w" + std::to_string(++n);
        fs::create_directories(home);

        // A team file as the output, or as the folder the output would go in:
        // refused with nothing made, not even another output's folder.
        const std::vector<std::string> scene = filesIn(s.root);
        for (const std::string& target : {s.north, s.north + "/out"}) {
            const CliRun run = w.run(s, target);
            EXPECT_NE(run.status, 0) << target;
            EXPECT_NE(run.err.find(target), std::string::npos) << run.err;
            EXPECT_EQ(support::readFile(s.north) + support::readFile(s.south), s.sides);
            EXPECT_EQ(filesIn(s.root), scene);
        }

        // A folder this user may not write (root may write anywhere).
        if (::geteuid() != 0) {
            const std::string locked = home + "/locked";
            fs::create_directories(locked);
            fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
            const CliRun run = w.run(s, locked + "/out");
            EXPECT_NE(run.status, 0);
            EXPECT_NE(run.err.find(locked + "/out"), std::string::npos) << run.err;
            EXPECT_TRUE(filesIn(locked).empty());
            fs::permissions(locked, fs::perms::owner_all);
        }

        // A file replaced keeps its mode, and no temporary file stays beside it.
        const std::string target = home + "/out";
        std::string replaced = target;
        if (w.folder) {
            ASSERT_EQ(w.run(s, target).status, 0);
            const std::vector<std::string> written = filesIn(target);
            ASSERT_FALSE(written.empty());
            replaced = target + "/" + written.front();
        }
        std::ofstream(replaced) << "an earlier file\n";
        fs::permissions(replaced, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        const std::vector<std::string> before = filesIn(w.folder ? target : home);
        const CliRun again = w.run(s, target);
        EXPECT_EQ(again.status, 0) << again.err;
        if (w.folder) {
            EXPECT_NE(again.err.find("written to " + target), std::string::npos) << "says where: " << again.err;
        }
        EXPECT_NE(support::readFile(replaced), "an earlier file\n");
        EXPECT_EQ(modeOf(replaced), 0640u);
        EXPECT_EQ(filesIn(w.folder ? target : home), before);
    }
}

}  // namespace
