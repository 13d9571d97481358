#include "cli/batch_mode.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <future>
#include <thread>

#include "analysis/batch.h"
#include "analysis/batch_summary.h"
#include "app/command_line.h"
#include "resources/strings.h"

namespace {

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

// A progress bar on standard error, only for a person watching a terminal
// and only once the batch has run long enough to be worth one.
void showProgress(const std::atomic<int>& done, int total, std::future<void>& finished)
{
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    bool shown = false;
    while (finished.wait_for(std::chrono::milliseconds(200)) != std::future_status::ready) {
        const double elapsed = std::chrono::duration<double>(clock::now() - start).count();
        if (elapsed < 1.5) continue;
        const int n = done.load(std::memory_order_relaxed);
        const double rate = n / elapsed;
        const double left = rate > 0 ? (total - n) / rate : 0;
        const int width = 30, filled = total ? static_cast<int>(static_cast<long long>(width) * n / total) : width;
        std::fprintf(stderr, "\r[%.*s%*s] %d/%d  %.0f matches/s  %.0fs left ", filled,
                     "##############################", width - filled, "", n, total, rate, left);
        std::fflush(stderr);
        shown = true;
    }
    if (shown) std::fprintf(stderr, "\r%*s\r", 80, "");
}

}  // namespace

int runBatchMode(const std::string& commandLine, const BatchModeOptions& mode)
{
    CommandLineSettings settings;
    BatchSettings batch;
    parseCommandLine(commandLine, settings, batch.options);
    if (settings.bowlerListFile) std::fclose(settings.bowlerListFile);

    Team first, second;
    if (!loadSide(settings.team1File, 1, first) || !loadSide(settings.team2File, 2, second))
        return settings.team1File && settings.team2File ? 1 : 2;

    const int needed = batch.options.oneDay ? 5 : 2;
    for (const Team* t : {&first, &second}) {
        if (t->bowlerCount() < needed) {
            std::fprintf(stderr, "%s%s\n", t->name(), std::string(loadString(str::CannotBowlThrough)).c_str());
            return 1;
        }
    }

    batch.matches = mode.matches;
    batch.threads = mode.threads > 0 ? mode.threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // Every printed seed replays with /r=: the seeds stay inside the int range
    // and never pass 0, which /r= takes to mean the clock.
    std::int32_t seed = settings.randomSeed;
    if (seed == 0) {
        seed = static_cast<std::int32_t>(static_cast<std::uint32_t>(std::time(nullptr)));
        if (seed == 0) seed = 1;
    }
    const std::int64_t last = static_cast<std::int64_t>(seed) + batch.matches - 1;
    if (last > INT32_MAX || (seed < 0 && last >= 0)) {
        std::fprintf(stderr,
                     "pelmora-cli: the seeds of %d matches from %d would %s; give another /r= or fewer --matches\n",
                     batch.matches, seed, last > INT32_MAX ? "go past 2147483647" : "reach 0, which means the clock");
        return 2;
    }
    batch.firstSeed = seed;
    if (settings.randomSeed == 0) std::fprintf(stderr, "seed: %d\n", seed);

    std::atomic<int> done{0};
    BatchResult result;
    if (isatty(STDERR_FILENO)) {
        std::promise<void> finished;
        std::future<void> waiting = finished.get_future();
        std::thread progress([&] { showProgress(done, batch.matches, waiting); });
        result = runBatch(batch, first, second, &done);
        finished.set_value();
        progress.join();
    } else {
        result = runBatch(batch, first, second, nullptr);
    }

    std::string text;
    try {
        text = mode.json ? formatBatchJson(result, batch) : formatBatchTable(result, batch);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pelmora-cli: cannot write the summary: %s\n", e.what());
        return 1;
    }
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "pelmora-cli: cannot write the summary to standard output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
