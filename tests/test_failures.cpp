// The console runner on the way down: reports that cannot be written, team
// files that cannot be used, sides that cannot bowl an innings through. Each
// case runs the built pelmora-cli and looks at its exit status, its error
// output and the files it leaves behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "resources/strings.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string sample(const std::string& name)
{
    return std::string(PELMORA_SOURCE_DIR) + "/samples/" + name;
}

int countExactLines(const std::string& text, const std::string& wanted)
{
    int n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line == wanted) ++n;
    return n;
}

int countLines(const std::string& text, const std::string& containing)
{
    int n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.find(containing) != std::string::npos) ++n;
    return n;
}

class CliFailure : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/pelmora-failures-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot make a temporary folder";
        dir_ = pattern;
    }

    void TearDown() override
    {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored))
            if (entry.is_directory(ignored)) fs::permissions(entry.path(), fs::perms::owner_all, ignored);
        fs::remove_all(dir_, ignored);
    }

    // Runs pelmora-cli with the arguments; its output goes to files in the temporary folder.
    CliRun run(const std::vector<std::string>& args)
    {
        const fs::path outPath = dir_ / "stdout.txt", errPath = dir_ / "stderr.txt";
        const pid_t pid = fork();
        if (pid == 0) {
            const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out < 0 || err < 0) _exit(126);
            dup2(out, STDOUT_FILENO);
            dup2(err, STDERR_FILENO);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(PELMORA_CLI));
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(PELMORA_CLI, argv.data());
            _exit(127);
        }
        CliRun result;
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid) {
            ADD_FAILURE() << "cannot run " << PELMORA_CLI;
            return result;
        }
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.out = readFile(outPath);
        result.err = readFile(errPath);
        return result;
    }

    // A match between the two sample sides with the extra arguments.
    CliRun playSamples(std::vector<std::string> extra)
    {
        std::vector<std::string> args = {"/t1=" + sample("northshire.xi"), "/t2=" + sample("southmoor.xi"), "/r=777"};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }

    fs::path dir_;
};

TEST_F(CliFailure, CleanRunExitsZeroWithNothingOnStandardError)
{
    const fs::path report = dir_ / "report.txt", commentary = dir_ / "commentary.txt";
    const CliRun r = playSamples({"/s=" + report.string(), "/l", "--commentary=" + commentary.string()});
    // In a sanitizer build a leak or any other finding shows here too.
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string text = readFile(report);
    ASSERT_FALSE(text.empty()) << "no report written";
    const bool decided = text.find(' ' + std::string(loadString(str::Defeated)) + ' ') != std::string::npos ||
                         text.find(' ' + std::string(loadString(str::TiedTheMatch))) != std::string::npos;
    EXPECT_TRUE(decided) << "the report has no result line:\n" << text;
    const int ballLines = countLines(text, " :: ");
    EXPECT_GT(ballLines, 0);
    EXPECT_EQ(countLines(readFile(commentary), ""), ballLines)
        << "the commentary should have one line per delivery of the ball-by-ball report";
}

TEST_F(CliFailure, ReportInMissingFolderIsReportedAndTheMatchIsStillPlayed)
{
    const fs::path report = dir_ / "missing" / "report.txt", commentary = dir_ / "commentary.txt";
    const CliRun r = playSamples({"/s=" + report.string(), "--commentary=" + commentary.string()});
    EXPECT_NE(r.status, 0) << "no report was written, yet the run claimed success";
    EXPECT_NE(r.err.find("pelmora-cli: cannot open report " + report.string() + ": No such file or directory"),
              std::string::npos)
        << "stderr: " << r.err;
    EXPECT_FALSE(fs::exists(report));
    EXPECT_GT(countLines(readFile(commentary), ""), 100) << "the match was not played";
}

TEST_F(CliFailure, ReportInFolderWithoutWritePermissionIsReportedAndTheMatchIsStillPlayed)
{
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere; the missing-folder case covers this";
    const fs::path locked = dir_ / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const fs::path report = locked / "report.txt", commentary = dir_ / "commentary.txt";
    const CliRun r = playSamples({"/s=" + report.string(), "--commentary=" + commentary.string()});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("pelmora-cli: cannot open report " + report.string() + ": "), std::string::npos)
        << "stderr: " << r.err;
    EXPECT_FALSE(fs::exists(report));
    EXPECT_GT(countLines(readFile(commentary), ""), 100);
}

TEST_F(CliFailure, ReportOnAFullDeviceIsAWriteFailure)
{
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const CliRun r = playSamples({"/s=/dev/full", "/l"});
    EXPECT_NE(r.status, 0) << "a report that did not reach the disk was passed off as written";
    EXPECT_NE(r.err.find("pelmora-cli: cannot write report /dev/full: No space left on device"), std::string::npos)
        << "stderr: " << r.err;
}

TEST_F(CliFailure, TeamFilesThatCannotBeUsedAreRefusedBeforeAnyReportIsTouched)
{
    const fs::path missing = dir_ / "nothere.xi", folder = dir_ / "folder.xi", empty = dir_ / "empty.xi";
    fs::create_directory(folder);
    writeFile(empty, "");
    struct Case {
        std::string file;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {missing.string(), "cannot be opened"},
        {folder.string(), "cannot be read"},
        {empty.string(), "only 0 of 11 players"},
        {sample("malformed/short.xi"), "only 3 of 11 players"},
        {sample("malformed/two_keepers.xi"), "2 wicket-keepers"},
        {sample("malformed/no_keeper.xi"), "no wicket-keeper"},
    };
    const fs::path existing = dir_ / "existing.txt", fresh = dir_ / "fresh.txt";
    for (const Case& c : cases) {
        for (int slot = 1; slot <= 2; ++slot) {
            SCOPED_TRACE(c.file + " as side " + std::to_string(slot));
            const std::string good = "/t" + std::to_string(3 - slot) + "=" + sample("northshire.xi");
            const std::string bad = "/t" + std::to_string(slot) + "=" + c.file;

            writeFile(existing, "an earlier report\n");
            CliRun r = run({good, bad, "/s=" + existing.string()});
            EXPECT_NE(r.status, 0);
            EXPECT_NE(r.err.find("pelmora-cli: cannot load team file " + c.file + ": " + c.reason), std::string::npos)
                << "stderr does not name the file and the reason \"" << c.reason << "\": " << r.err;
            EXPECT_EQ(readFile(existing), "an earlier report\n") << "an existing report was overwritten";

            r = run({good, bad, "/s=" + fresh.string()});
            EXPECT_NE(r.status, 0);
            EXPECT_FALSE(fs::exists(fresh)) << "a report file was created for a match that never started";
            EXPECT_EQ(r.out, "");
        }
    }
}

TEST_F(CliFailure, SidesThatCannotBowlAnInningsThroughAreRefusedInBothMatchTypes)
{
    const std::string cannotBowl(loadString(str::CannotBowlThrough));
    const fs::path existing = dir_ / "existing.txt", fresh = dir_ / "fresh.txt";
    struct Case {
        std::string file;
        std::string name;
        std::string matchType;
    };
    const std::vector<Case> cases = {
        {sample("malformed/one_bowler.xi"), "OneBowler", "/o"},
        {sample("malformed/one_bowler.xi"), "OneBowler", "/t"},
        {sample("malformed/four_bowlers.xi"), "FourBowlers", "/o"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.matchType);
        writeFile(existing, "an earlier report\n");
        CliRun r = run({"/t1=" + sample("southmoor.xi"), "/t2=" + c.file, c.matchType, "/s=" + existing.string()});
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find(c.name + cannotBowl), std::string::npos) << "stderr: " << r.err;
        EXPECT_EQ(readFile(existing), "an earlier report\n") << "an existing report was overwritten";

        r = run({"/t1=" + c.file, "/t2=" + sample("southmoor.xi"), c.matchType, "/s=" + fresh.string()});
        EXPECT_NE(r.status, 0);
        EXPECT_NE(r.err.find(c.name + cannotBowl), std::string::npos) << "stderr: " << r.err;
        EXPECT_FALSE(fs::exists(fresh)) << "a report file was created for a match that never started";
    }
}

TEST_F(CliFailure, FourBowlersAreEnoughForATestMatch)
{
    const fs::path report = dir_ / "report.txt";
    const CliRun r = run({"/t1=" + sample("malformed/four_bowlers.xi"), "/t2=" + sample("southmoor.xi"), "/t", "/r=99",
                          "/s=" + report.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string text = readFile(report);
    EXPECT_EQ(countExactLines(text, "FourBowlers"), 2) << "a Test match has two innings of each side:\n" << text;
    EXPECT_EQ(countExactLines(text, "Southmoor"), 2) << text;
}

// Outputs that would destroy something are refused before anything is
// written, and a planted link never redirects one. "@" in an argument is the
// case's folder; a planted "->X" is a symbolic link to X. After the run the
// folder holds the planted files, as they were, and the files made: no
// temporary file is left.
TEST_F(CliFailure, HostileOutputsAreRefusedOrWrittenSafely)
{
    const std::string t1 = "/t1=" + sample("northshire.xi"), t2 = "/t2=" + sample("southmoor.xi");
    const std::string batch = "--cricsheet=@";
    struct Case {
        std::string name;
        std::vector<std::pair<std::string, std::string>> plant;
        std::vector<std::string> args;
        int status;
        std::string message;
        std::vector<std::string> made;
        std::string madeHas;  // in every file made
    };
    const std::vector<Case> cases = {
        {"a link at a fixed temporary name",
         {{"victim", "x\n"}, {".1.json.tmp", "->victim"}},
         {t1, t2, "/r=1", "--matches=2", batch},
         0,
         "",
         {"1.json", "2.json"},
         "\"Pelmora Oval\""},
        {"the venue",
         {},
         {t1, t2, "/r=1", "--matches=1", batch, "--venue=Hostile Park"},
         0,
         "",
         {"1.json"},
         "\"Hostile Park\""},
        {"the answers file",
         {{"1.json", "# none\n"}},
         {t1, t2, "/r=1", "--matches=2", batch, "--answers=@/1.json"},
         2,
         "--cricsheet=@ (1.json) would write over --answers=@/1.json; nothing was written",
         {},
         ""},
        {"a team file named as a later match",
         {{"3.json", readFile(sample("northshire.xi"))}},
         {"/t1=@/3.json", t2, "/r=1", "--matches=3", batch},
         2,
         "(3.json) would write over /t1=@/3.json",
         {},
         ""},
        {"a team file linked in",
         {{"2.json", "->" + sample("southmoor.xi")}},
         {t1, t2, "/r=1", "--matches=2", batch},
         2,
         "(2.json) would write over /t2=",
         {},
         ""},
        {"the bowler list",
         {{"1.json", "x\n"}},
         {t1, t2, "/a=@/1.json", "/r=1", "--matches=1", batch},
         2,
         "(1.json) would write over /a= (the bowler list)",
         {},
         ""},
        {"standard output as the folder",
         {},
         {t1, t2, "/r=1", "--matches=2", "--cricsheet=-"},
         2,
         "not standard output",
         {},
         ""},
        {"a single match's report over the bowler list",
         {{"report.txt", "x\n"}},
         {t1, t2, "/a=@/report.txt", "/s=@/report.txt"},
         2,
         "/s=@/report.txt would write over /a= (the bowler list); nothing was written",
         {},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = dir_ / ("case" + std::to_string(&c - cases.data()));
        fs::create_directory(folder);
        for (const auto& [name, content] : c.plant) {
            if (content.rfind("->", 0) == 0)
                fs::create_symlink(content.substr(2), folder / name);
            else
                writeFile(folder / name, content);
        }
        std::vector<std::string> args = c.args;
        for (std::string& a : args)
            for (std::size_t at; (at = a.find('@')) != std::string::npos;)
                a.replace(at, 1, folder.string());
        std::string message = c.message;
        for (std::size_t at; (at = message.find('@')) != std::string::npos;)
            message.replace(at, 1, folder.string());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        for (const auto& [name, content] : c.plant) {
            std::error_code ec;
            const bool kept = content.rfind("->", 0) == 0 ? fs::read_symlink(folder / name, ec) == content.substr(2)
                                                          : readFile(folder / name) == content;
            EXPECT_TRUE(kept) << name << " was changed";
        }
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            const bool planted =
                std::any_of(c.plant.begin(), c.plant.end(), [&](const auto& p) { return p.first == name; });
            if (!planted) left.push_back(name);
        }
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.made);
        for (const std::string& name : c.made)
            EXPECT_NE(readFile(folder / name).find(c.madeHas), std::string::npos) << name;
    }
    EXPECT_FALSE(fs::exists("-")) << "a folder named - was made";
}

// A report named through a link replaces the file the link names; the link stays.
TEST_F(CliFailure, ReportThroughALinkReplacesTheLinkedFile)
{
    const fs::path real = dir_ / "real.txt", link = dir_ / "report.txt";
    writeFile(real, "an earlier report\n");
    fs::create_symlink(real, link);
    const CliRun r = playSamples({"/s=" + link.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(readFile(real).find("Northshire"), std::string::npos);
}

// SIGTERM in the middle of a match leaves the earlier report byte for byte
// and no unfinished file. The commentary goes into a pipe read only once, so
// the match is held part-way, its report open, until the signal comes.
TEST_F(CliFailure, TerminatedMatchLeavesTheEarlierReportAsItWas)
{
    const fs::path folder = dir_ / "out", pipe = dir_ / "commentary", report = folder / "report.txt";
    fs::create_directory(folder);
    writeFile(report, "an earlier report\n");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    fcntl(reader, F_SETFL, fcntl(reader, F_GETFL) & ~O_NONBLOCK);
    const std::vector<std::string> args = {
        PELMORA_CLI, "/t1=" + sample("northshire.xi"), "/t2=" + sample("southmoor.xi"), "/t", "/r=777",
        "/l",        "/s=" + report.string(),          "--commentary=" + pipe.string()};
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execv(PELMORA_CLI, argv.data());
        _exit(127);
    }
    ASSERT_GT(pid, 0);
    // The first commentary read: play has begun and the report is open.
    char some[256];
    int status = 0;
    ssize_t got = 0;
    while ((got = read(reader, some, sizeof some)) == 0 && waitpid(pid, &status, WNOHANG) == 0)
        usleep(10000);  // the runner has not opened the pipe yet
    kill(pid, SIGTERM);
    waitpid(pid, &status, 0);
    close(reader);
    ASSERT_GT(got, 0) << "the runner ended before it wrote any commentary";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_EQ(readFile(report), "an earlier report\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "a temporary file is left";
}

}  // namespace
