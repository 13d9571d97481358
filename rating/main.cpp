// pelmora-rate: reads Cricsheet match files and writes ratings with which
// Pelmora's engine reproduces each player's figures.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "rating/figures.h"
#include "rating/fit.h"
#include "rating/match_sources.h"
#include "rating/side_file.h"
#include "teams/player.h"

namespace {

constexpr const char* kUsage =
    "Usage: pelmora-rate [options] FILE|FOLDER|ARCHIVE.zip ...\n"
    "Reads Cricsheet ball-by-ball match files (JSON files, folders of them, or the .zip archives\n"
    "Cricsheet distributes), adds up every player's figures and fits his eight ratings by playing\n"
    "the archive's matches again in Pelmora's own engine (the same elevens, batting orders and\n"
    "bowlers), round after round, until his figures in them match his real ones.\n"
    "\n"
    "  --format=oneday|test|overs=N  the matches to read: one-day (ODI and other 50-over\n"
    "                                matches, the default), Test and other multi-day matches,\n"
    "                                or those of N overs a side; the fit plays each match\n"
    "                                again as a Pelmora Test with test, otherwise as a\n"
    "                                limited-overs match of its own allowance\n"
    "  --from=YYYY-MM-DD, --to=YYYY-MM-DD  only matches played within these dates\n"
    "  --team=NAME      only matches NAME played in (may be repeated)\n"
    "  --side=NAME      also write NAME.xi: the side's most recent eleven in batting order,\n"
    "                   its wicket-keeper and bowlers marked (may be repeated)\n"
    "  --keeper=NAME    the wicket-keeper of a --side eleven, by his name in the files;\n"
    "                   otherwise the one with the most stumpings, else the most catches among\n"
    "                   those who did not bowl in that match\n"
    "  --styles=FILE    bowling styles: lines \"NAME or ID,pace|spin|neutral\"; for anyone not\n"
    "                   named, the style is read from how he was used (Pelmora's captain opens\n"
    "                   with neutral bowlers, then spin, then pace): neutral for one who usually\n"
    "                   opened the bowling, spin for one who usually came on first after the\n"
    "                   openers within the first fifth of the overs, else pace\n"
    "  --out=DIR        where players.csv and the .xi files go (default: the current folder)\n"
    "  --simulations=N  matches the fit plays in all (default 200000 one-day, 50000 Test), but\n"
    "                   at least every match of the archive once a round\n"
    "  --threads=K      threads (default: the number of cores); the result is the same for any K\n"
    "  --seed=N         seed of the fit's matches (default 1)\n"
    "\n"
    "Shrinkage: a player with few balls is pulled towards the average. Each batting rate (runs\n"
    "per ball, outs per ball before and after he is in) is blended with the average of his usual\n"
    "batting position as if he had faced 100 more balls at that average; each bowling rate (runs\n"
    "and wickets per ball) with the average of all bowlers as if he had bowled 100 more balls.\n"
    "\n"
    "Convention: tempos add and so do risk and threat, so only their sums are fixed by the data.\n"
    "Bowling terms are shifted one way and batting terms the other until the archive's average\n"
    "bowler, weighted by the balls he bowled, has bowlTempo 300 and bowlThreat 100.\n"
    "\n"
    "A file that is not a Cricsheet match is named on standard error and skipped.\n"
    "Exit status: 0 done, 1 no match to rate or an output cannot be written, 2 usage.\n";

const char* optionValue(const char* argument, const char* prefix)
{
    const std::size_t n = std::strlen(prefix);
    return std::strncmp(argument, prefix, n) == 0 ? argument + n : nullptr;
}

bool readNumber(const char* text, long long low, long long high, long long& out)
{
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < low || v > high) return false;
    out = v;
    return true;
}

bool isDate(const std::string& s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[static_cast<std::size_t>(i)] < '0' || s[static_cast<std::size_t>(i)] > '9') return false;
    return true;
}

int usage(const std::string& message)
{
    std::fprintf(stderr, "pelmora-rate: %s (see --help)\n", message.c_str());
    return 2;
}

// Writes through a temporary file in the same folder, renamed over the target.
bool writeFile(const std::filesystem::path& target, const std::string& text, std::string& why)
{
    const std::filesystem::path temp = target.parent_path() / (target.filename().string().insert(0, 1, '.') + ".tmp");
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        why = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size() && std::fflush(f) == 0;
    const int error = errno;
    if (std::fclose(f) != 0 || !written) {
        why = std::strerror(written ? errno : error);
        std::remove(temp.c_str());
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        why = ec.message();
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

// Styles by id or name.
bool readStyles(const std::string& path, std::vector<std::pair<std::string, int>>& out, std::string& why)
{
    std::ifstream in(path);
    if (!in) {
        why = std::strerror(errno);
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::size_t comma = line.rfind(',');
        const std::string style = comma == std::string::npos ? "" : line.substr(comma + 1);
        int value = -1;
        if (style == "pace" || style == "0")
            value = 0;
        else if (style == "spin" || style == "1")
            value = 1;
        else if (style == "neutral" || style == "2")
            value = 2;
        if (value < 0) {
            why = "line " + std::to_string(number) + ": not \"NAME,pace|spin|neutral\"";
            return false;
        }
        out.emplace_back(line.substr(0, comma), value);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    MatchFilter filter;
    filter.format = MatchFilter::Format::OneDay;
    std::vector<std::string> inputs, sides;
    std::string keeper, stylesPath, outFolder = ".";
    long long simulations = 0, threads = std::max(1u, std::thread::hardware_concurrency()), seed = 1;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const char* v = nullptr;
        long long n = 0;
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if ((v = optionValue(a, "--format="))) {
            if (std::strcmp(v, "oneday") == 0)
                filter.format = MatchFilter::Format::OneDay;
            else if (std::strcmp(v, "test") == 0)
                filter.format = MatchFilter::Format::Test;
            else if (optionValue(v, "overs=") && readNumber(v + 6, 1, 1000, n)) {
                filter.format = MatchFilter::Format::Overs;
                filter.overs = static_cast<int>(n);
            } else {
                return usage(std::string("--format is oneday, test or overs=N, not \"") + v + "\"");
            }
        } else if ((v = optionValue(a, "--from=")) || (v = optionValue(a, "--to="))) {
            if (!isDate(v)) return usage(std::string("a date is YYYY-MM-DD, not \"") + v + "\"");
            (a[2] == 'f' ? filter.from : filter.to) = v;
        } else if ((v = optionValue(a, "--team="))) {
            filter.teams.push_back(v);
        } else if ((v = optionValue(a, "--side="))) {
            sides.push_back(v);
        } else if ((v = optionValue(a, "--keeper="))) {
            keeper = v;
        } else if ((v = optionValue(a, "--styles="))) {
            stylesPath = v;
        } else if ((v = optionValue(a, "--out="))) {
            outFolder = v;
        } else if ((v = optionValue(a, "--simulations="))) {
            if (!readNumber(v, 100, 100000000, simulations))
                return usage(std::string("--simulations needs a whole number from 100 up, not \"") + v + "\"");
        } else if ((v = optionValue(a, "--threads="))) {
            if (!readNumber(v, 1, 1024, threads))
                return usage(std::string("--threads needs a whole number from 1 to 1024, not \"") + v + "\"");
        } else if ((v = optionValue(a, "--seed="))) {
            if (!readNumber(v, 0, 4294967295LL, seed))
                return usage(std::string("--seed needs a whole number from 0 to 4294967295, not \"") + v + "\"");
        } else if (a[0] == '-' && a[1] == '-') {
            return usage(std::string("unknown option ") + a);
        } else {
            inputs.push_back(a);
        }
    }
    if (inputs.empty()) return usage("no match files given");
    const bool oneDay = filter.format != MatchFilter::Format::Test;
    const auto started = std::chrono::steady_clock::now();

    MatchSources sources;
    for (const std::string& path : inputs) {
        std::string why;
        if (!sources.add(path, why)) {
            std::fprintf(stderr, "pelmora-rate: %s: %s\n", path.c_str(), why.c_str());
            return 1;
        }
    }

    // Outputs: checked against every input before anything is written.
    namespace fs = std::filesystem;
    std::vector<fs::path> outputs{fs::path(outFolder) / "players.csv"};
    for (const std::string& side : sides)
        outputs.push_back(fs::path(outFolder) / (oneWord(side, false) + ".xi"));
    std::vector<std::string> readFiles = sources.files();
    if (!stylesPath.empty()) readFiles.push_back(stylesPath);
    for (const fs::path& out : outputs) {
        for (const std::string& in : readFiles) {
            std::error_code ec;
            if (fs::equivalent(out, in, ec)) {
                std::fprintf(stderr, "pelmora-rate: will not overwrite input %s with %s\n", in.c_str(), out.c_str());
                return 1;
            }
        }
    }
    for (std::size_t i = 0; i < outputs.size(); ++i)
        for (std::size_t j = i + 1; j < outputs.size(); ++j)
            if (outputs[i] == outputs[j]) return usage("two --side options write the same file " + outputs[i].string());

    // Read in chunks: the texts one after another, parsed on every thread,
    // then counted in file order so the result never depends on the threads.
    Archive archive;
    std::size_t skipped = 0, filtered = 0;
    constexpr std::size_t kChunk = 64;
    std::vector<std::string> texts(kChunk), reasons(kChunk);
    std::vector<MatchRecord> records(kChunk);
    std::vector<char> ok(kChunk);
    for (std::size_t begin = 0; begin < sources.size(); begin += kChunk) {
        const std::size_t n = std::min(kChunk, sources.size() - begin);
        for (std::size_t i = 0; i < n; ++i)
            ok[i] = sources.read(begin + i, texts[i], reasons[i]);
        std::vector<std::thread> pool;
        const std::size_t t = static_cast<std::size_t>(threads);
        for (std::size_t w = 0; w < t; ++w) {
            pool.emplace_back([&, w] {
                for (std::size_t i = w; i < n; i += t)
                    if (ok[i]) ok[i] = parseCricsheet(texts[i], records[i], reasons[i]);
            });
        }
        for (std::thread& th : pool)
            th.join();
        for (std::size_t i = 0; i < n; ++i) {
            if (!ok[i]) {
                std::fprintf(stderr, "pelmora-rate: %s: skipped: %s\n", sources.name(begin + i).c_str(),
                             reasons[i].c_str());
                ++skipped;
            } else if (!filter.accepts(records[i])) {
                ++filtered;
            } else {
                archive.add(records[i], static_cast<std::int64_t>(begin + i));
            }
        }
    }
    if (archive.matches == 0) {
        std::fprintf(stderr, "pelmora-rate: no match to rate (%zu files read, %zu skipped, %zu of another kind)\n",
                     sources.size(), skipped, filtered);
        return 1;
    }

    std::vector<int> styles;
    for (const PlayerRecord& p : archive.players)
        styles.push_back(styleByUse(p.figures));
    if (!stylesPath.empty()) {
        std::vector<std::pair<std::string, int>> given;
        std::string why;
        if (!readStyles(stylesPath, given, why)) {
            std::fprintf(stderr, "pelmora-rate: cannot read styles file %s: %s\n", stylesPath.c_str(), why.c_str());
            return 1;
        }
        for (std::size_t i = 0; i < archive.players.size(); ++i)
            for (const auto& [who, style] : given)
                if (who == archive.players[i].name || (!who.empty() && who == archive.players[i].id)) styles[i] = style;
    }

    FitSettings settings;
    settings.oneDay = oneDay;
    settings.simulations = simulations ? simulations : (oneDay ? 200000 : 50000);
    settings.threads = static_cast<int>(threads);
    settings.seed = static_cast<std::uint32_t>(seed);
    std::vector<Figures> real;
    for (const PlayerRecord& p : archive.players)
        real.push_back(p.figures);
    const FitResult fit = fitRatings(real, archive.fixtures, styles, settings);

    std::error_code ec;
    fs::create_directories(outFolder, ec);
    int status = 0;
    std::string why;
    if (!writeFile(outputs[0], playersCsv(archive.players, fit), why)) {
        std::fprintf(stderr, "pelmora-rate: cannot write %s: %s\n", outputs[0].c_str(), why.c_str());
        status = 1;
    }
    for (std::size_t s = 0; s < sides.size(); ++s) {
        SideFile file;
        if (!sideFile(sides[s], archive, fit, oneDay, keeper, file, why)) {
            std::fprintf(stderr, "pelmora-rate: %s\n", why.c_str());
            status = 1;
        } else if (!writeFile(outputs[s + 1], file.text, why)) {
            std::fprintf(stderr, "pelmora-rate: cannot write %s: %s\n", outputs[s + 1].c_str(), why.c_str());
            status = 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%lld matches rated (%zu skipped, %zu of another kind), %zu players, %lld simulated matches, %.1f s\n",
                static_cast<long long>(archive.matches), skipped, filtered, archive.players.size(),
                static_cast<long long>(fit.matchesPlayed), seconds);
    return status;
}
