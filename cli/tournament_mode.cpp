#include "cli/tournament_mode.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "analysis/cricsheet.h"
#include "analysis/tournament.h"
#include "app/command_line.h"
#include "app/output_files.h"
#include "cli/batch_mode.h"
#include "match/match.h"
#include "presentation/scorecard_writer.h"

namespace fs = std::filesystem;

std::string safeFileName(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        out += plain ? c : '_';
    }
    return out.empty() ? "_" : out;
}

namespace {

bool writeOut(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "pelmora-cli: cannot write to standard output: %s\n", std::strerror(errno));
        return false;
    }
    return true;
}

// The report of a finished match as text.
std::string reportText(Match& match)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&buffer, &size);
    if (!stream) return {};
    match.outputFile = stream;
    ScorecardWriter::writeReport(match);
    match.outputFile = nullptr;
    std::fclose(stream);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

// A folder of per-match files that never replace an input.
class MatchFolder {
public:
    MatchFolder(std::string folder, const char* what, std::vector<fs::path> inputs)
        : folder_(std::move(folder)), what_(what), inputs_(std::move(inputs))
    {
    }

    bool prepare()
    {
        std::error_code ec;
        fs::create_directories(folder_, ec);
        if (ec || !fs::is_directory(folder_)) {
            error_ = "pelmora-cli: cannot create " + std::string(what_) + " folder " + folder_ + ": " +
                     (ec ? ec.message() : std::string("not a folder"));
            return false;
        }
        return true;
    }

    void write(const std::string& name, const std::string& text)
    {
        if (!error_.empty()) return;
        const fs::path target = fs::path(folder_) / name;
        for (const fs::path& input : inputs_) {
            std::error_code ec;
            if (fs::equivalent(input, target, ec)) {
                error_ = "pelmora-cli: will not overwrite " + input.string() + " with a " + what_ + " file";
                return;
            }
        }
        std::string why;
        if (!replaceFileContents(target.string(), text, why))
            error_ = "pelmora-cli: cannot write " + std::string(what_) + " file " + target.string() + ": " + why;
    }

    const std::string& error() const { return error_; }

private:
    std::string folder_;
    const char* what_;
    std::vector<fs::path> inputs_;
    std::string error_;
};

}  // namespace

int runTournamentMode(const std::string& commandLine, const TournamentModeOptions& mode)
{
    CommandLineSettings settings;
    GameOptions lineOptions;
    parseCommandLine(commandLine, settings, lineOptions);
    if (settings.bowlerListFile) std::fclose(settings.bowlerListFile);

    TournamentPlan plan;
    std::string error;
    if (!loadTournament(mode.file, plan, error)) {
        std::fprintf(stderr, "pelmora-cli: %s\n", error.c_str());
        return 1;
    }
    plan.options.briefOutput = lineOptions.briefOutput;

    // Every match's seed replays with /r=: all of them stay in the int range and never reach 0.
    const std::int64_t perTournament = plan.matchesPerTournament();
    const std::int64_t count = mode.tournaments > 0 ? mode.tournaments : 1;
    std::int32_t seed = settings.randomSeed;
    if (seed == 0) {
        seed = static_cast<std::int32_t>(static_cast<std::uint32_t>(std::time(nullptr)) & 0x3fffffff);
        if (seed == 0) seed = 1;
    }
    const std::int64_t last = static_cast<std::int64_t>(seed) + count * perTournament - 1;
    if (last > INT32_MAX || (seed < 0 && last >= 0)) {
        std::fprintf(stderr,
                     "pelmora-cli: the %lld matches from seed %d would %s; give another /r= or fewer --matches\n",
                     static_cast<long long>(count * perTournament), seed,
                     last > INT32_MAX ? "go past 2147483647" : "reach 0, which means the clock");
        return 2;
    }
    if (settings.randomSeed == 0) std::fprintf(stderr, "seed: %d\n", seed);

    if (mode.tournaments > 0) {
        const int threads =
            mode.threads > 0 ? mode.threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        const auto [begin, end] = shardSlice(count, mode.shard);
        std::atomic<int> done{0};
        ForecastTotals totals;
        if (isatty(STDERR_FILENO)) {
            std::promise<void> finished;
            std::future<void> waiting = finished.get_future();
            const int total = static_cast<int>(end - begin);
            std::thread progress([&] { showProgress(done, total, waiting, "tournaments"); });
            totals = runForecast(plan, seed, begin, end, threads, &done);
            finished.set_value();
            progress.join();
        } else {
            totals = runForecast(plan, seed, begin, end, threads);
        }
        std::string text;
        try {
            if (mode.shard.parts > 0)
                text = forecastPartJson(plan, totals, seed, count, mode.shard);
            else
                text = mode.json ? formatForecastJson(plan, totals, seed) : formatForecastTable(plan, totals, seed);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "pelmora-cli: cannot write the summary: %s\n", e.what());
            return 1;
        }
        return writeOut(text) ? 0 : 1;
    }

    std::vector<fs::path> inputs{mode.file};
    for (const std::string& p : plan.sidePaths)
        inputs.emplace_back(p);
    std::string reports = mode.reportsFolder;
    if (reports.empty()) reports = fs::path(mode.file).stem().string() + "-reports";
    MatchFolder reportFolder(reports, "report", inputs);
    std::unique_ptr<MatchFolder> cricsheet;
    if (!mode.cricsheetFolder.empty())
        cricsheet = std::make_unique<MatchFolder>(mode.cricsheetFolder, "Cricsheet", inputs);
    for (MatchFolder* f : {&reportFolder, cricsheet.get()}) {
        if (f && !f->prepare()) {
            std::fprintf(stderr, "%s\n", f->error().c_str());
            return 1;
        }
    }
    const std::string date = todayUtc();
    int number = 0;
    auto hook = [&](Match& match, const MatchOutcome& o, const std::string& label) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%03d-", ++number);
        const std::string stem = prefix + safeFileName(label) + "-" +
                                 safeFileName(plan.sides[static_cast<std::size_t>(o.home)].name()) + "-v-" +
                                 safeFileName(plan.sides[static_cast<std::size_t>(o.away)].name());
        reportFolder.write(stem + ".txt", reportText(match));
        if (cricsheet) cricsheet->write(stem + ".json", cricsheetJson(match, date, mode.venue));
    };
    const TournamentRun run = playTournament(plan, seed, hook);
    bool ok = writeOut(formatTournamentRun(plan, run, seed));
    for (MatchFolder* f : {&reportFolder, cricsheet.get()}) {
        if (f && !f->error().empty()) {
            std::fprintf(stderr, "%s\n", f->error().c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
