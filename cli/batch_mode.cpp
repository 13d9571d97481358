#include "cli/batch_mode.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "analysis/batch.h"
#include "analysis/batch_summary.h"
#include "analysis/cricsheet.h"
#include "app/command_line.h"
#include "app/output_files.h"
#include "app/progress_line.h"
#include "app/seed.h"
#include "match/match.h"
#include "resources/strings.h"

namespace {

struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool loadSide(const std::optional<std::string>& name, int slot, Team& team)
{
    if (!name) {
        std::fprintf(stderr, "pelmora-cli: no team file for side %d: give /t1=FILE and /t2=FILE (see --help)\n", slot);
        return false;
    }
    LoadDiagnosis why;
    if (!team.load(name->c_str(), &why)) {
        std::fprintf(stderr, "pelmora-cli: cannot load team file %s: %s\n", name->c_str(), why.reason.c_str());
        return false;
    }
    return true;
}

// The seed a file name of the batch's Cricsheet folder stands for ("-12.json"
// is seed -12); false for any other name.
bool seedOfFileName(const std::string& name, std::int64_t& seed)
{
    const std::string suffix = ".json";
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string stem = name.substr(0, name.size() - suffix.size());
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(stem.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX || std::to_string(v) != stem) return false;
    seed = v;
    return true;
}

// Writes each match of the batch as <seed>.json in one folder, each through a
// temporary file of its own, so a reader never sees half a match and an
// interrupted run leaves no unfinished file. After the first failure it
// writes nothing more and keeps the message.
class CricsheetFolder {
public:
    // The match of seed `firstSeed` is dated `date` (empty: today) and
    // numbered 1; each later seed a match later.
    CricsheetFolder(std::string folder, std::string venue, const std::string& date, std::int32_t firstSeed)
        : folder_(std::move(folder)),
          venue_(std::move(venue)),
          date_(date.empty() ? todayUtc() : date),
          firstSeed_(firstSeed)
    {
    }

    // Empty when no file the seeds [first, first + count) will be written to
    // is one of `others` (the files the batch reads, standard output); else
    // the message. Only a file already in the folder can be one of them.
    std::string clash(const std::vector<NamedFile>& others, std::int64_t first, std::int64_t count) const
    {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            std::int64_t seed = 0;
            if (!seedOfFileName(name, seed) || seed < first || seed >= first + count) continue;
            const NamedFile output{"--cricsheet=" + folder_ + " (" + name + ")", it->path().string(), true};
            for (const NamedFile& other : others)
                if (std::string why = findClash({other, output}); !why.empty()) return why;
        }
        return {};
    }

    bool prepare()
    {
        std::error_code ec;
        std::filesystem::create_directories(folder_, ec);
        if (ec || !std::filesystem::is_directory(folder_)) {
            fail("pelmora-cli: cannot create Cricsheet folder " + folder_ + ": " +
                 (ec ? ec.message() : std::string("not a folder")));
            return false;
        }
        return true;
    }

    void write(const Match& match, std::uint32_t seed)
    {
        if (failed_.load(std::memory_order_relaxed)) return;
        const std::string target =
            (std::filesystem::path(folder_) / (std::to_string(static_cast<std::int32_t>(seed)) + ".json")).string();
        const long long index = static_cast<long long>(static_cast<std::int32_t>(seed)) - firstSeed_;
        const CricsheetEvent event{"Pelmora batch", index + 1, {}, {}};
        const std::string text =
            cricsheetJson(match, cricsheetMatchDate(date_, index, match.inningsCount == 2), venue_, &event);
        // One temporary file at a time, however many threads play.
        std::lock_guard<std::mutex> lock(writing_);
        std::string error;
        if (!replaceFileContents(target, text, error))
            fail("pelmora-cli: cannot write Cricsheet file " + target + ": " + error);
    }

    const std::string& error() const { return error_; }

private:
    void fail(std::string message)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!failed_.exchange(true)) error_ = std::move(message);
    }

    std::string folder_;
    std::string venue_;
    std::string date_;
    std::int32_t firstSeed_;
    std::atomic<bool> failed_{false};
    std::mutex mutex_;
    std::mutex writing_;
    std::string error_;
};

bool answersFitTheMatch(const BatchModeOptions& mode, const GameOptions& options)
{
    if (mode.answersPath.empty()) return true;
    const std::string why = AnswerScript(mode.answers, mode.answersPath).checkBeforePlay(options.oneDay != 0);
    if (why.empty()) return true;
    std::fprintf(stderr, "pelmora-cli: %s\n", why.c_str());
    return false;
}

// A refused answer reached in play: the first, by seed order, is reported,
// whichever thread meets it first.
struct FirstRefusal {
    std::mutex mutex;
    std::int64_t seed = INT64_MAX;
    std::string message;

    void note(std::int32_t matchSeed, const std::string& refusal)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (matchSeed < seed) {
            seed = matchSeed;
            message =
                refusal + " (seed " + std::to_string(matchSeed) + ": the rest of that match was answered as autoplay)";
        }
    }
};

// The ground is confirmed and the answers' captain put in before each match;
// the captain's refusal, if any, is noted when the match is done with it.
void prepareEachMatch(const BatchModeOptions& mode, FirstRefusal& refusal, BatchSettings& batch)
{
    if (!mode.ground.any() && mode.answersPath.empty()) return;
    batch.beforePlay = [&mode, &refusal](Match& match, std::uint32_t matchSeed) -> std::shared_ptr<void> {
        if (mode.ground.any()) confirmGround(match.context(), mode.ground);
        if (mode.answersPath.empty()) return nullptr;
        auto captain = std::make_shared<ScriptedCaptain>(match, AnswerScript(mode.answers, mode.answersPath));
        match.setCaptain(captain.get());
        const std::int32_t s = static_cast<std::int32_t>(matchSeed);
        return std::shared_ptr<void>(captain.get(), [captain, s, &refusal](void*) {
            if (!captain->refusal.empty()) refusal.note(s, captain->refusal);
        });
    };
}

// 0 when the folder is ready and every match will be written to it; else the
// exit code, the reason said.
int prepareCricsheetFolder(CricsheetFolder& cricsheet, const CommandLineSettings& settings, std::FILE* bowlerList,
                           const BatchModeOptions& mode, BatchSettings& batch)
{
    // Before anything is written: no match may be written over a file the batch reads.
    std::vector<NamedFile> others{{"/t1=" + *settings.team1File, *settings.team1File, false},
                                  {"/t2=" + *settings.team2File, *settings.team2File, false},
                                  {"the summary on standard output", "-", true}};
    if (!mode.answersPath.empty()) others.push_back({"--answers=" + mode.answersPath, mode.answersPath, false});
    if (bowlerList)
        others.push_back({"/a= (the bowler list)", "/proc/self/fd/" + std::to_string(fileno(bowlerList)), false});
    if (const std::string clash = cricsheet.clash(others, batch.firstSeed, batch.matches); !clash.empty()) {
        std::fprintf(stderr, "pelmora-cli: %s; nothing was written\n", clash.c_str());
        return 2;
    }
    if (!cricsheet.prepare()) {
        std::fprintf(stderr, "%s\n", cricsheet.error().c_str());
        return 1;
    }
    batch.eachMatch = [&cricsheet](const Match& match, std::uint32_t seed) { cricsheet.write(match, seed); };
    return 0;
}

// A part of a sharded run writes its part file; a whole run its table or JSON.
bool writeSummary(const BatchResult& result, const BatchSettings& whole, const BatchModeOptions& mode)
{
    std::string text;
    try {
        if (mode.shard.parts > 0)
            text = batchPartJson(result, whole, mode.shard);
        else
            text = mode.json ? formatBatchJson(result, whole) : formatBatchTable(result, whole);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pelmora-cli: cannot write the summary: %s\n", e.what());
        return false;
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "pelmora-cli: cannot write the summary to standard output: %s\n", std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::int32_t> consoleSeeds(std::int32_t requested, std::int64_t count)
{
    const SeedRun seeds = chooseSeeds(requested, count, clockNanoseconds());
    if (!seeds.refusal.empty()) {
        std::fprintf(stderr, "pelmora-cli: %s; give another /r= or fewer --matches\n", seeds.refusal.c_str());
        return std::nullopt;
    }
    if (seeds.fromClock) std::fprintf(stderr, "seed: %d\n", seeds.first);
    return seeds.first;
}

void showProgress(const std::atomic<int>& done, int total, std::future<void>& finished, const char* unit)
{
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    ProgressLine line("pelmora-cli");
    while (finished.wait_for(std::chrono::milliseconds(200)) != std::future_status::ready) {
        const double elapsed = std::chrono::duration<double>(clock::now() - start).count();
        if (elapsed < 1.5) continue;
        const int n = done.load(std::memory_order_relaxed);
        const double rate = n / elapsed;
        const double left = rate > 0 ? (total - n) / rate : 0;
        const int width = 30, filled = total ? static_cast<int>(static_cast<long long>(width) * n / total) : width;
        char bar[160];
        std::snprintf(bar, sizeof bar, "[%.*s%*s] %d/%d  %.0f %s/s  %.0fs left", filled,
                      "##############################", width - filled, "", n, total, rate, unit, left);
        line.show(bar);
    }
}

int runBatchMode(const std::string& commandLine, const BatchModeOptions& mode)
{
    CommandLineSettings settings;
    BatchSettings batch;
    parseCommandLine(commandLine, settings, batch.options);
    // Open until the run ends, so the Cricsheet files can be checked against it.
    const std::unique_ptr<std::FILE, CloseFile> bowlerList(settings.bowlerListFile);
    if (mode.overs > 0) {
        batch.options.oneDay = 1;
        batch.options.overs = mode.overs;
    }

    Team first, second;
    if (!loadSide(settings.team1File, 1, first) || !loadSide(settings.team2File, 2, second))
        return settings.team1File && settings.team2File ? 1 : 2;

    if (const std::string why = sideThatCannotBowl({&first, &second}, batch.options); !why.empty()) {
        std::fprintf(stderr, "pelmora-cli: %s\n", why.c_str());
        return 1;
    }

    batch.matches = mode.matches;
    if (!answersFitTheMatch(mode, batch.options)) return 2;
    FirstRefusal refusal;
    prepareEachMatch(mode, refusal, batch);
    batch.threads =
        mode.threads > 0 ? mode.threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const std::optional<std::int32_t> chosen = consoleSeeds(settings.randomSeed, batch.matches);
    if (!chosen) return 2;
    const std::int32_t seed = *chosen;
    batch.firstSeed = seed;

    // A part plays its slice of the seeds; the summary's settings stay those of the whole.
    BatchSettings whole = batch;
    const auto [begin, end] = shardSlice(batch.matches, mode.shard);
    batch.firstSeed = static_cast<std::int32_t>(seed + begin);
    batch.matches = static_cast<int>(end - begin);

    std::unique_ptr<CricsheetFolder> cricsheet;
    if (!mode.cricsheetFolder.empty()) {
        cricsheet = std::make_unique<CricsheetFolder>(mode.cricsheetFolder, mode.venue, mode.date, seed);
        if (const int refusedWith = prepareCricsheetFolder(*cricsheet, settings, bowlerList.get(), mode, batch))
            return refusedWith;
    }

    std::atomic<int> done{0};
    const BatchResult result =
        withProgress(done, batch.matches, "matches", [&] { return runBatch(batch, first, second, &done); });
    if (!writeSummary(result, whole, mode)) return 1;
    if (cricsheet && !cricsheet->error().empty()) {
        std::fprintf(stderr, "%s\n", cricsheet->error().c_str());
        return 1;
    }
    if (cricsheet)
        std::fprintf(stderr, "pelmora-cli: %lld Cricsheet files written to %s\n",
                     static_cast<long long>(result.totals.played), mode.cricsheetFolder.c_str());
    if (!refusal.message.empty()) {
        std::fprintf(stderr, "pelmora-cli: %s\n", refusal.message.c_str());
        return 2;
    }
    return 0;
}

std::string sideThatCannotBowl(std::array<const Team*, 2> sides, const GameOptions& options)
{
    for (const Team* side : sides)
        if (side->bowlerCount() < bowlersNeeded(options))
            return std::string("cannot play team file ") + side->filePath() + ": " + side->name() +
                   std::string(loadString(str::CannotBowlThrough));
    return {};
}
