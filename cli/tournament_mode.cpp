#include "cli/tournament_mode.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>
#include <set>
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

// A folder of per-match files that never replace an input. Files of the
// tournament's own naming that this run did not write are an earlier run's
// and are removed at the end, so the folder holds this tournament alone.
class MatchFolder {
public:
    MatchFolder(std::string folder, const char* what, const char* extension, const std::vector<fs::path>& inputs)
        : folder_(std::move(folder)), what_(what), extension_(extension)
    {
        for (const fs::path& input : inputs) {
            struct stat st {};
            if (::stat(input.c_str(), &st) == 0) inputs_.insert({st.st_dev, st.st_ino});
        }
    }

    bool prepare()
    {
        std::error_code ec;
        made_ = !fs::exists(folder_, ec);
        fs::create_directories(folder_, ec);
        if (ec || !fs::is_directory(folder_)) {
            error_ = "pelmora-cli: cannot create " + std::string(what_) + " folder " + folder_ + ": " +
                     (ec ? ec.message() : std::string("not a folder"));
            return false;
        }
        return true;
    }

    void write(const std::string& stem, const std::string& text)
    {
        if (!error_.empty()) return;
        const std::string name = stem + extension_;
        const fs::path target = fs::path(folder_) / name;
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0 && inputs_.count({st.st_dev, st.st_ino})) {
            error_ = "pelmora-cli: will not overwrite " + target.string() + ", an input, with a " + what_ + " file";
            return;
        }
        std::string why;
        if (!replaceFileContents(target.string(), text, why))
            error_ = "pelmora-cli: cannot write " + std::string(what_) + " file " + target.string() + ": " + why;
        else
            written_.insert(name);
    }

    // Removes the earlier runs' files; only once every file of this run is written.
    void removeStale()
    {
        if (!error_.empty()) return;
        std::error_code ec;
        for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            std::error_code kind;
            if (!isMatchFileName(name) || written_.count(name) || !it->is_regular_file(kind) || it->is_symlink(kind))
                continue;
            std::error_code removed;
            fs::remove(it->path(), removed);
        }
    }

    // A run that fails before its first match leaves no folder it made behind.
    void unprepare()
    {
        std::error_code ec;
        if (made_) fs::remove(folder_, ec);
    }

    // "3 report files written to cup-reports", once every file is in place.
    void sayWhereTheyWent() const
    {
        if (error_.empty())
            std::fprintf(stderr, "pelmora-cli: %zu %s file%s written to %s\n", written_.size(), what_,
                         written_.size() == 1 ? "" : "s", folder_.c_str());
    }

    const std::string& error() const { return error_; }

private:
    // "012-Group_B-Kestrels-v-Harriers.txt": the names runTournamentMode gives.
    bool isMatchFileName(const std::string& name) const
    {
        static const std::regex pattern("[0-9]{3,}-[A-Za-z0-9_-]+-v-[A-Za-z0-9_-]+");
        const std::size_t stem = name.size() - std::min(name.size(), std::strlen(extension_));
        return name.compare(stem, std::string::npos, extension_) == 0 &&
               std::regex_match(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(stem), pattern);
    }

    std::string folder_;
    const char* what_;
    const char* extension_;
    std::set<std::pair<dev_t, ino_t>> inputs_;
    std::set<std::string> written_;
    std::string error_;
    bool made_ = false;  // prepare() made the folder
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
        return 2;
    }
    plan.options.briefOutput = lineOptions.briefOutput;

    // Forecast tournaments follow one another on the seeds.
    const std::int64_t count = mode.tournaments > 0 ? mode.tournaments : 1;
    const std::optional<std::int32_t> chosen = consoleSeeds(settings.randomSeed, count * plan.matchesPerTournament());
    if (!chosen) return 2;
    const std::int32_t seed = *chosen;

    if (mode.tournaments > 0) {
        const int threads =
            mode.threads > 0 ? mode.threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        const auto [begin, end] = shardSlice(count, mode.shard);
        std::atomic<int> done{0};
        const ForecastTotals totals =
            withProgress(done, static_cast<int>(end - begin), "tournaments",
                         [&, begin = begin, end = end] { return runForecast(plan, seed, begin, end, threads, &done); });
        std::string text;
        try {
            if (mode.shard.parts > 0) {
                ShardRange range = mode.shard;
                range.fingerprint = Fingerprint()
                                        .add("program", PELMORA_VERSION)
                                        .add("inputs", plan.inputsDigest)
                                        .add("first seed", std::to_string(seed))
                                        .add("tournaments", std::to_string(count))
                                        .hex();
                text = forecastPartJson(plan, totals, seed, count, range);
            } else
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
    MatchFolder reportFolder(reports, "report", ".txt", inputs);
    std::unique_ptr<MatchFolder> cricsheet;
    if (!mode.cricsheetFolder.empty())
        cricsheet = std::make_unique<MatchFolder>(mode.cricsheetFolder, "Cricsheet", ".json", inputs);
    if (!reportFolder.prepare() || (cricsheet && !cricsheet->prepare())) {
        const MatchFolder& failed = reportFolder.error().empty() ? *cricsheet : reportFolder;
        std::fprintf(stderr, "%s\n", failed.error().c_str());
        reportFolder.unprepare();
        return 1;
    }
    const std::string date = mode.date.empty() ? todayUtc() : mode.date;
    int number = 0;
    std::atomic<int> done{0};
    auto hook = [&](Match& match, const MatchOutcome& o, const std::string& label) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%03d-", ++number);
        const std::string stem = prefix + safeFileName(label) + "-" +
                                 safeFileName(plan.sides[static_cast<std::size_t>(o.home)].name()) + "-v-" +
                                 safeFileName(plan.sides[static_cast<std::size_t>(o.away)].name());
        reportFolder.write(stem, ScorecardWriter::reportText(match));
        if (cricsheet) {
            CricsheetEvent event{plan.name, number, {}, {}};
            if (label.rfind("Group ", 0) == 0)
                event.group = label.substr(6);
            else if (label != "Round robin")
                event.stage = label;
            const std::string day = cricsheetMatchDate(date, number - 1, match.inningsCount == 2);
            cricsheet->write(stem, cricsheetJson(match, day, mode.venue, &event));
        }
        done.fetch_add(1, std::memory_order_relaxed);
    };
    const TournamentRun run =
        withProgress(done, plan.matchesPerTournament(), "matches", [&] { return playTournament(plan, seed, hook); });
    bool ok = writeOut(formatTournamentRun(plan, run, seed));
    for (MatchFolder* f : {&reportFolder, cricsheet.get()}) {
        if (!f) continue;
        f->removeStale();
        if (!f->error().empty()) {
            std::fprintf(stderr, "%s\n", f->error().c_str());
            ok = false;
        }
    }
    reportFolder.sayWhereTheyWent();
    if (cricsheet) cricsheet->sayWhereTheyWent();
    return ok ? 0 : 1;
}
