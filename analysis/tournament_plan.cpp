// A tournament file read and checked: its sides, the kind of match, the
// groups and the knock-outs.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>

#include "analysis/batch_summary.h"
#include "analysis/bounded_input.h"
#include "analysis/formatted.h"
#include "analysis/json_document.h"
#include "analysis/printable_text.h"
#include "analysis/shard.h"
#include "analysis/tournament.h"
#include "analysis/tournament_detail.h"
#include "engine/random.h"
#include "match/match.h"

namespace {

// Reads a team file once: its bytes go into the digest, the side is read from them.
bool loadSide(const std::string& path, Team& team, Fingerprint& digest, std::string& error)
{
    constexpr std::size_t kMaxTeamFileBytes = kMegabyte;
    std::string bytes;
    if (!readBoundedFile(path, kMaxTeamFileBytes, bytes, error)) return false;
    digest.add("side", bytes);
    char empty = '\0';
    std::FILE* stream = bytes.empty() ? fmemopen(&empty, 1, "r") : fmemopen(bytes.data(), bytes.size(), "r");
    if (!stream) return error = std::strerror(errno), false;
    if (bytes.empty()) std::fgetc(stream);  // an empty file reads as one: nothing
    LoadDiagnosis why;
    team.setFilePath(path);
    const bool loaded = team.read(stream, &why);
    std::fclose(stream);
    if (!loaded) error = why.reason;
    return loaded;
}

// Every step below reads one field of the tournament file into the plan, or
// says in `error` why it cannot.

bool onlyKnownFields(const nlohmann::json& j, std::string& error)
{
    static const std::set<std::string> known{"name", "sides", "overs", "format", "groups", "knockouts"};
    for (const auto& [key, value] : j.items()) {
        if (!known.count(key)) {
            error = "unknown field \"" + printableText(key, 60) +
                    "\" (fields: name, sides, overs, format, groups, knockouts)";
            return false;
        }
    }
    return true;
}

bool readName(const nlohmann::json& j, TournamentPlan& plan, std::string& error)
{
    if (!j.contains("name")) return true;
    if (!j["name"].is_string()) return error = "\"name\" is not a string", false;
    plan.name = j["name"].get<std::string>();
    for (char& c : plan.name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return true;
}

// A side's path is taken from the tournament file's folder unless it is absolute.
bool readSidePaths(const nlohmann::json& j, const std::string& folder, TournamentPlan& plan, std::string& error)
{
    if (!j.contains("sides") || !j["sides"].is_array()) return error = "no \"sides\" list of team files", false;
    for (const auto& s : j["sides"]) {
        if (!s.is_string()) return error = "\"sides\" holds something other than a team file name", false;
        std::filesystem::path p(s.get<std::string>());
        if (p.is_relative() && !folder.empty()) p = std::filesystem::path(folder) / p;
        plan.sidePaths.push_back(p.lexically_normal().string());
    }
    if (plan.sidePaths.size() > static_cast<std::size_t>(kMaxTournamentSides))
        return error = "a tournament takes at most " + std::to_string(kMaxTournamentSides) + " sides, this one has " +
                       std::to_string(plan.sidePaths.size()),
               false;
    const int n = static_cast<int>(plan.sidePaths.size());
    if (n < 2) return error = "a tournament needs at least two sides, this one has " + std::to_string(n), false;
    return true;
}

bool readOvers(const nlohmann::json& j, TournamentPlan& plan, std::string& error)
{
    plan.options.oneDay = 1;
    plan.options.overs = 20;
    if (!j.contains("overs")) return true;
    const auto& o = j["overs"];
    if (o.is_string() && o.get<std::string>() == "test")
        plan.options.oneDay = 0;
    else if (o.is_number_integer() && o.get<long long>() >= 1 && o.get<long long>() <= Match::kMaxOvers)
        plan.options.overs = o.get<int>();
    else
        return error = "\"overs\" is a number of overs from 1 to 50 or \"test\"", false;
    return true;
}

bool readFormat(const nlohmann::json& j, TournamentPlan& plan, std::string& error)
{
    if (!j.contains("format")) return true;
    const std::string f = j["format"].is_string() ? j["format"].get<std::string>() : j["format"].dump();
    if (f == "round-robin")
        plan.rounds = 1;
    else if (f == "double-round-robin")
        plan.rounds = 2;
    else
        return error = "unknown format " + printableText(f, 60) + " (round-robin or double-round-robin)", false;
    return true;
}

bool readGroups(const nlohmann::json& j, TournamentPlan& plan, std::string& error)
{
    if (!j.contains("groups")) return true;
    const int n = static_cast<int>(plan.sidePaths.size());
    const auto& g = j["groups"];
    if (!g.is_number_integer() || g.get<long long>() < 1 || g.get<long long>() > n / 2)
        return error = "\"groups\" is a number from 1 to " + std::to_string(n / 2) + " (two sides or more a group)",
               false;
    plan.groups = g.get<int>();
    return true;
}

// The sides in the knock-outs must come evenly from the groups.
bool readKnockouts(const nlohmann::json& j, TournamentPlan& plan, std::string& error)
{
    const int n = static_cast<int>(plan.sidePaths.size());
    const int smallest = n / plan.groups;
    plan.playoff = n >= 4 && plan.groups <= 2 ? 4 : 0;
    if (j.contains("knockouts")) {
        const auto& k = j["knockouts"];
        if (k.is_string()) {
            const std::string v = k.get<std::string>();
            if (v == "none")
                plan.playoff = 0;
            else if (v == "final")
                plan.playoff = 2;
            else if (v == "semi-finals")
                plan.playoff = 4;
            else if (v == "quarter-finals")
                plan.playoff = 8;
            else
                return error = "unknown knockouts \"" + printableText(v, 60) +
                               "\" (none, final, semi-finals, quarter-finals or a number)",
                       false;
        } else if (k.is_number_integer()) {
            const long long v = k.get<long long>();
            if (v != 0 && v != 2 && v != 4 && v != 8 && v != 16)
                return error = "\"knockouts\" as a number is the top 2, 4, 8 or 16 sides (or 0 for none)", false;
            plan.playoff = static_cast<int>(v);
        } else {
            return error = "\"knockouts\" is none, final, semi-finals, quarter-finals or a number", false;
        }
    }
    if (plan.playoff > 0 && (plan.playoff % plan.groups != 0 || plan.playoff / plan.groups > smallest))
        return error = formatted("%d sides in the knock-outs cannot come evenly from %d groups of %d or more",
                                 plan.playoff, plan.groups, smallest),
               false;
    return true;
}

// Each side once, under a name of its own, with bowlers enough for the kind of
// match; the tournament file and every team file go into the inputs' digest.
bool loadSides(const std::string& text, TournamentPlan& plan, std::string& error)
{
    const int n = static_cast<int>(plan.sidePaths.size());
    std::set<std::filesystem::path> seenFiles;
    std::set<std::string> seenNames;
    Fingerprint digest;
    digest.add("tournament file", text);
    plan.sides.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const std::string& path = plan.sidePaths[static_cast<std::size_t>(i)];
        Team& team = plan.sides[static_cast<std::size_t>(i)];
        std::string why;
        if (!loadSide(path, team, digest, why))
            return error = "cannot load team file " + printableText(path, std::string::npos) + ": " +
                           printableText(why, std::string::npos),
                   false;
        std::error_code ec;
        const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
        if (!seenFiles.insert(ec ? std::filesystem::path(path) : canonical).second)
            return error = "side " + printableText(path, std::string::npos) + " is listed twice", false;
        if (!seenNames.insert(team.name()).second)
            return error = "two sides are called " + printableText(team.name(), std::string::npos) + " (" +
                           printableText(path, std::string::npos) + ")",
                   false;
        if (team.bowlerCount() < bowlersNeeded(plan.options))
            return error = printableText(team.name(), std::string::npos) + " (" +
                           printableText(path, std::string::npos) + ") has " + std::to_string(team.bowlerCount()) +
                           " bowlers; " + (plan.options.oneDay ? "a limited-overs match" : "a Test") + " needs " +
                           std::to_string(bowlersNeeded(plan.options)),
                   false;
    }
    plan.inputsDigest = digest.hex();
    return true;
}

}  // namespace

namespace tournament_detail {

std::string groupName(int g)
{
    return "Group " + groupLetters(g);
}

std::vector<int> membersOf(const TournamentPlan& plan, int group)
{
    std::vector<int> members;
    for (int s = 0; s < static_cast<int>(plan.sides.size()); ++s)
        if (plan.groupOf(s) == group) members.push_back(s);
    return members;
}

}  // namespace tournament_detail

using tournament_detail::membersOf;

std::string groupLetters(int g)
{
    std::string letters;
    for (int n = g + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

int TournamentPlan::groupMatches() const
{
    int total = 0;
    for (int g = 0; g < groups; ++g) {
        const int n = static_cast<int>(membersOf(*this, g).size());
        total += n * (n - 1) / 2 * rounds;
    }
    return total;
}

std::string TournamentPlan::describe() const
{
    std::string s = formatted("%d sides", static_cast<int>(sides.size()));
    if (groups > 1) s += formatted(" in %d groups", groups);
    s += rounds == 2 ? ", double round robin of " : ", single round robin of ";
    s += matchKind(options) + " matches";
    if (playoff == 2)
        s += ", final";
    else if (playoff == 4)
        s += ", semi-finals and final";
    else if (playoff > 4)
        s += formatted(", knock-outs of the top %d", playoff);
    return s;
}

bool parseTournament(const std::string& text, const std::string& folder, TournamentPlan& plan, std::string& error)
{
    plan = TournamentPlan{};
    nlohmann::json j;
    if (!parseJsonDocument(text, "tournament file", j, error)) return false;
    if (!j.is_object()) {
        error = "not a JSON object";
        return false;
    }
    return onlyKnownFields(j, error) && readName(j, plan, error) && readSidePaths(j, folder, plan, error) &&
           readOvers(j, plan, error) && readFormat(j, plan, error) && readGroups(j, plan, error) &&
           readKnockouts(j, plan, error) && loadSides(text, plan, error);
}

bool loadTournament(const std::string& path, TournamentPlan& plan, std::string& error)
{
    // A tournament of kMaxTournamentSides sides with long paths is well inside this.
    constexpr std::size_t kMaxTournamentFileBytes = kMegabyte;
    std::string text, why;
    if (!readBoundedFile(path, kMaxTournamentFileBytes, text, why)) {
        error = "cannot read tournament file " + path + ": " + why;
        return false;
    }
    if (!parseTournament(text, std::filesystem::path(path).parent_path().string(), plan, why)) {
        error = "tournament file " + path + ": " + why;
        return false;
    }
    return true;
}

std::vector<TableRow> groupTable(const TournamentPlan& plan, int group, const std::vector<MatchOutcome>& results,
                                 std::uint64_t drawSeed)
{
    const int n = static_cast<int>(plan.sides.size());
    std::vector<TableRow> rows(static_cast<std::size_t>(n));
    for (int s = 0; s < n; ++s)
        rows[static_cast<std::size_t>(s)].side = s;
    for (const MatchOutcome& m : results) {
        for (int i = 0; i < 2; ++i) {
            TableRow& r = rows[static_cast<std::size_t>(i == 0 ? m.home : m.away)];
            ++r.played;
            r.figures.add(m.figures[i]);
            if (m.winner == -1) {
                ++r.tied;
                r.points += 1;
            } else if (m.winner == r.side) {
                ++r.won;
                r.points += 2;
            } else {
                ++r.lost;
            }
        }
    }
    std::vector<TableRow> table;
    for (const TableRow& r : rows)
        if (plan.groupOf(r.side) == group) table.push_back(r);
    auto level = [](const TableRow& a, const TableRow& b) {
        return a.points == b.points && compareNetRunRate(a.figures, b.figures) == 0;
    };
    std::stable_sort(table.begin(), table.end(), [](const TableRow& a, const TableRow& b) {
        if (a.points != b.points) return a.points > b.points;
        return compareNetRunRate(a.figures, b.figures) > 0;
    });
    // Sides level on points and net run rate: the matches among them, then the draw.
    for (std::size_t i = 0; i < table.size();) {
        std::size_t j = i + 1;
        while (j < table.size() && level(table[i], table[j]))
            ++j;
        if (j - i > 1) {
            std::set<int> tied;
            for (std::size_t k = i; k < j; ++k)
                tied.insert(table[k].side);
            std::vector<int> headToHead(static_cast<std::size_t>(n), 0);
            for (const MatchOutcome& m : results) {
                if (!tied.count(m.home) || !tied.count(m.away)) continue;
                if (m.winner == -1) {
                    ++headToHead[static_cast<std::size_t>(m.home)];
                    ++headToHead[static_cast<std::size_t>(m.away)];
                } else {
                    headToHead[static_cast<std::size_t>(m.winner)] += 2;
                }
            }
            std::sort(table.begin() + static_cast<std::ptrdiff_t>(i), table.begin() + static_cast<std::ptrdiff_t>(j),
                      [&](const TableRow& a, const TableRow& b) {
                          const int ha = headToHead[static_cast<std::size_t>(a.side)];
                          const int hb = headToHead[static_cast<std::size_t>(b.side)];
                          if (ha != hb) return ha > hb;
                          return mixBits(drawSeed * 64 + static_cast<std::uint64_t>(a.side)) >
                                 mixBits(drawSeed * 64 + static_cast<std::uint64_t>(b.side));
                      });
        }
        i = j;
    }
    return table;
}
