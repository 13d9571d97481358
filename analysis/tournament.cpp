#include "analysis/tournament.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <thread>

#include "analysis/batch.h"
#include "analysis/batch_summary.h"
#include "analysis/bounded_input.h"
#include "analysis/formatted.h"
#include "analysis/on_threads.h"
#include "analysis/printable_text.h"
#include "analysis/shard.h"
#include "match/match.h"
#include "match/unattended.h"

namespace {

std::string padded(const std::string& text, std::size_t width)
{
    std::string out;
    appendPadded(out, text, width);
    return out;
}

std::uint64_t mix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::string groupName(int g)
{
    return "Group " + groupLetters(g);
}

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

// The bracket's order of seeds so that the best two can meet only in the final.
std::vector<int> bracket(int size)
{
    std::vector<int> order{0};
    while (static_cast<int>(order.size()) < size) {
        const int n = static_cast<int>(order.size()) * 2;
        std::vector<int> next;
        for (int s : order) {
            next.push_back(s);
            next.push_back(n - 1 - s);
        }
        order = next;
    }
    return order;
}

std::string roundName(int sidesLeft, int k, int count)
{
    if (sidesLeft == 2) return "Final";
    const char* base = sidesLeft == 4 ? "Semi-final" : (sidesLeft == 8 ? "Quarter-final" : "Round of 16 match");
    return count > 1 ? formatted("%s %d", base, k + 1) : base;
}

std::string inningsScore(const Innings& inn)
{
    std::string s = std::to_string(inn.runs);
    if (inn.wickets < 10) s += "/" + std::to_string(inn.wickets);
    return s;
}

std::vector<int> membersOf(const TournamentPlan& plan, int group)
{
    std::vector<int> members;
    for (int s = 0; s < static_cast<int>(plan.sides.size()); ++s)
        if (plan.groupOf(s) == group) members.push_back(s);
    return members;
}

}  // namespace

std::string groupLetters(int g)
{
    std::string letters;
    for (int n = g + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

MatchOutcome outcomeOf(const Match& match, int home, int away, std::uint32_t seed, int battedFirst, bool withText)
{
    MatchOutcome o;
    o.home = home;
    o.away = away;
    o.seed = seed;
    o.battedFirst = battedFirst;
    NetRunRateFigures bySlot[2];
    netRunRateFigures(match, bySlot);
    o.figures[battedFirst] = bySlot[0];
    o.figures[1 - battedFirst] = bySlot[1];
    const int n = match.inningsCount;
    std::string text[2];
    for (int k = 0; withText && k < n; ++k) {
        const Innings& inn = match.innings[k];
        if (!inn.battingTeam) continue;
        std::string& t = text[k % 2];
        if (!t.empty()) t += " & ";
        t += inningsScore(inn);
        if (n == 2) t += formatted(" (%d.%d)", inn.legalBalls / 6, inn.legalBalls % 6);
    }
    o.score[battedFirst] = text[0];
    o.score[1 - battedFirst] = text[1];
    if (const MatchResult r = match.result(); r.kind != MatchResult::Tie)
        o.winner = (r.winner == 0) == (battedFirst == 0) ? home : away;
    o.timeRanOut = match.timeRanOutIn(n - 1);
    if (withText) o.resultLine = match.resultLine();
    return o;
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
    if (const std::string deep = jsonDepthError(text); !deep.empty()) return error = deep, false;
    nlohmann::json j;
    try {
        j = nlohmann::json::parse(text);
    } catch (const std::exception& e) {
        error = "not valid JSON: " + printableText(e.what(), std::string::npos);
        return false;
    }
    if (!j.is_object()) {
        error = "not a JSON object";
        return false;
    }
    static const std::set<std::string> known{"name", "sides", "overs", "format", "groups", "knockouts"};
    for (const auto& [key, value] : j.items()) {
        if (!known.count(key)) {
            error = "unknown field \"" + printableText(key, 60) +
                    "\" (fields: name, sides, overs, format, groups, knockouts)";
            return false;
        }
    }
    if (j.contains("name")) {
        if (!j["name"].is_string()) return error = "\"name\" is not a string", false;
        plan.name = j["name"].get<std::string>();
        for (char& c : plan.name)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    }
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

    plan.options.oneDay = 1;
    plan.options.overs = 20;
    if (j.contains("overs")) {
        const auto& o = j["overs"];
        if (o.is_string() && o.get<std::string>() == "test")
            plan.options.oneDay = 0;
        else if (o.is_number_integer() && o.get<long long>() >= 1 && o.get<long long>() <= Match::kMaxOvers)
            plan.options.overs = o.get<int>();
        else
            return error = "\"overs\" is a number of overs from 1 to 50 or \"test\"", false;
    }
    if (j.contains("format")) {
        const std::string f = j["format"].is_string() ? j["format"].get<std::string>() : j["format"].dump();
        if (f == "round-robin")
            plan.rounds = 1;
        else if (f == "double-round-robin")
            plan.rounds = 2;
        else
            return error = "unknown format " + printableText(f, 60) + " (round-robin or double-round-robin)", false;
    }
    if (j.contains("groups")) {
        const auto& g = j["groups"];
        if (!g.is_number_integer() || g.get<long long>() < 1 || g.get<long long>() > n / 2)
            return error = "\"groups\" is a number from 1 to " + std::to_string(n / 2) + " (two sides or more a group)",
                   false;
        plan.groups = g.get<int>();
    }
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
                          return mix(drawSeed * 64 + static_cast<std::uint64_t>(a.side)) >
                                 mix(drawSeed * 64 + static_cast<std::uint64_t>(b.side));
                      });
        }
        i = j;
    }
    return table;
}

TournamentProgress::TournamentProgress(const TournamentPlan& plan, std::int32_t firstSeed)
    : plan_(&plan), firstSeed_(firstSeed), seed_(static_cast<std::uint32_t>(firstSeed))
{
    for (int round = 0; round < plan.rounds; ++round)
        for (int g = 0; g < plan.groups; ++g) {
            const std::vector<int> m = membersOf(plan, g);
            for (std::size_t a = 0; a < m.size(); ++a)
                for (std::size_t b = a + 1; b < m.size(); ++b)
                    groupFixtures_.push_back(round == 0 ? GroupFixture{m[a], m[b], g} : GroupFixture{m[b], m[a], g});
        }
    prepareNext();
}

void TournamentProgress::prepareNext()
{
    next_.seed = seed_;
    if (run_.results.size() < groupFixtures_.size()) {
        const GroupFixture& f = groupFixtures_[run_.results.size()];
        next_.home = f.home;
        next_.away = f.away;
        next_.label = plan_->groups > 1 ? groupName(f.group) : "Round robin";
        return;
    }
    if (run_.tables.empty()) closeGroupStage();
    if (alive_.size() < 2) {
        finish();
        return;
    }
    const int count = static_cast<int>(alive_.size()) / 2, k = static_cast<int>(winners_.size());
    const int hi = std::min(alive_[2 * k], alive_[2 * k + 1]), lo = std::max(alive_[2 * k], alive_[2 * k + 1]);
    next_.home = seeds_[static_cast<std::size_t>(hi)];
    next_.away = seeds_[static_cast<std::size_t>(lo)];
    next_.label = roundName(static_cast<int>(alive_.size()), k, count);
}

// The tables are final: the knock-outs' seeds follow from them.
void TournamentProgress::closeGroupStage()
{
    const TournamentPlan& plan = *plan_;
    const int n = static_cast<int>(plan.sides.size());
    const std::uint64_t drawSeed = static_cast<std::uint32_t>(firstSeed_);
    std::vector<int> place(static_cast<std::size_t>(n), 0);
    for (int g = 0; g < plan.groups; ++g) {
        run_.tables.push_back(groupTable(plan, g, run_.results, drawSeed));
        const auto& t = run_.tables.back();
        for (std::size_t i = 0; i < t.size(); ++i)
            place[static_cast<std::size_t>(t[i].side)] = static_cast<int>(i);
    }

    // Everybody outside the knock-outs: by group place, then points and net run rate.
    for (const auto& t : run_.tables)
        standing_.insert(standing_.end(), t.begin(), t.end());
    std::stable_sort(standing_.begin(), standing_.end(), [&](const TableRow& a, const TableRow& b) {
        const int pa = place[static_cast<std::size_t>(a.side)], pb = place[static_cast<std::size_t>(b.side)];
        if (pa != pb) return pa < pb;
        if (a.points != b.points) return a.points > b.points;
        return compareNetRunRate(a.figures, b.figures) > 0;
    });

    run_.reached.assign(static_cast<std::size_t>(n), 0);
    if (plan.playoff <= 1) return;
    for (int i = 0; i < plan.playoff && i < n; ++i)
        seeds_.push_back(standing_[static_cast<std::size_t>(i)].side);
    for (int s : seeds_)
        run_.reached[static_cast<std::size_t>(s)] = 1;
    alive_ = bracket(plan.playoff);
    markFinalists();
}

void TournamentProgress::markFinalists()
{
    if (alive_.size() == 2)
        for (int s : alive_)
            run_.reached[static_cast<std::size_t>(seeds_[static_cast<std::size_t>(s)])] = 2;
}

void TournamentProgress::record(const MatchOutcome& outcome)
{
    if (finished_) return;
    ++seed_;
    if (run_.results.size() < groupFixtures_.size()) {
        run_.results.push_back(outcome);
    } else {
        const int k = static_cast<int>(winners_.size());
        const int hi = std::min(alive_[2 * k], alive_[2 * k + 1]), lo = std::max(alive_[2 * k], alive_[2 * k + 1]);
        KnockoutMatch km;
        km.round = next_.label;
        km.outcome = outcome;
        // A tie, or a Test whose time ran out, sends the side placed higher through.
        const bool higherThrough =
            outcome.winner == -1 || outcome.timeRanOut || outcome.winner == seeds_[static_cast<std::size_t>(hi)];
        km.through = seeds_[static_cast<std::size_t>(higherThrough ? hi : lo)];
        winners_.push_back(higherThrough ? hi : lo);
        roundLosers_.push_back(higherThrough ? lo : hi);
        run_.knockouts.push_back(std::move(km));
        if (2 * winners_.size() == alive_.size()) {
            std::sort(roundLosers_.begin(), roundLosers_.end());
            losers_.push_back(std::move(roundLosers_));
            roundLosers_.clear();
            alive_ = std::move(winners_);
            winners_.clear();
            markFinalists();
        }
    }
    prepareNext();
}

void TournamentProgress::finish()
{
    finished_ = true;
    next_ = Fixture{};
    if (plan_->playoff > 1) {
        run_.finishing.push_back(seeds_[static_cast<std::size_t>(alive_[0])]);
        run_.reached[static_cast<std::size_t>(run_.finishing[0])] = 3;
        for (auto it = losers_.rbegin(); it != losers_.rend(); ++it)
            for (int s : *it)
                run_.finishing.push_back(seeds_[static_cast<std::size_t>(s)]);
        for (const TableRow& r : standing_)
            if (run_.reached[static_cast<std::size_t>(r.side)] == 0) run_.finishing.push_back(r.side);
    } else {
        for (const TableRow& r : standing_)
            run_.finishing.push_back(r.side);
        run_.reached[static_cast<std::size_t>(run_.finishing[0])] = 3;
    }
}

MatchOutcome playFixture(const TournamentPlan& plan, const TournamentProgress::Fixture& fixture, Match& match,
                         bool withText)
{
    match.options() = plan.options;
    int battedFirst = 0;
    playUnattended(match, plan.sides[static_cast<std::size_t>(fixture.home)],
                   plan.sides[static_cast<std::size_t>(fixture.away)], fixture.seed, &battedFirst);
    return outcomeOf(match, fixture.home, fixture.away, fixture.seed, battedFirst, withText);
}

TournamentRun playTournament(const TournamentPlan& plan, std::int32_t firstSeed, const TournamentMatchHook& hook)
{
    TournamentProgress progress(plan, firstSeed);
    while (!progress.finished()) {
        Match match;
        // Forecasts look at no text: only a watched tournament builds its lines.
        const MatchOutcome o = playFixture(plan, progress.next(), match, static_cast<bool>(hook));
        if (hook) hook(match, o, progress.next().label);
        progress.record(o);
    }
    return progress.run();
}

ForecastTotals::ForecastTotals(int sides)
    : titles(static_cast<std::size_t>(sides)),
      finals(static_cast<std::size_t>(sides)),
      knockouts(static_cast<std::size_t>(sides)),
      positions(static_cast<std::size_t>(sides) * static_cast<std::size_t>(sides))
{
}

void ForecastTotals::add(const TournamentRun& run)
{
    ++tournaments;
    const std::size_t n = titles.size();
    for (std::size_t s = 0; s < n && s < run.reached.size(); ++s) {
        const int r = run.reached[s];
        if (r >= 3) ++titles[s];
        if (r >= 2) ++finals[s];
        if (r >= 1) ++knockouts[s];
    }
    for (std::size_t p = 0; p < run.finishing.size() && p < n; ++p)
        ++positions[static_cast<std::size_t>(run.finishing[p]) * n + p];
}

void ForecastTotals::add(const ForecastTotals& o)
{
    tournaments += o.tournaments;
    for (std::size_t s = 0; s < titles.size() && s < o.titles.size(); ++s) {
        titles[s] += o.titles[s];
        finals[s] += o.finals[s];
        knockouts[s] += o.knockouts[s];
    }
    for (std::size_t i = 0; i < positions.size() && i < o.positions.size(); ++i)
        positions[i] += o.positions[i];
}

ForecastTotals runForecast(const TournamentPlan& plan, std::int32_t firstSeed, std::int64_t begin, std::int64_t end,
                           int threads, std::atomic<int>* progress)
{
    const int sides = static_cast<int>(plan.sides.size());
    const std::int64_t perTournament = plan.matchesPerTournament();
    constexpr std::int64_t kBlock = 4;
    const std::int64_t count = std::max<std::int64_t>(0, end - begin);
    threads = static_cast<int>(std::max<std::int64_t>(1, std::min<std::int64_t>(threads, count / kBlock + 1)));
    std::atomic<std::int64_t> next{begin};
    std::vector<ForecastTotals> partial(static_cast<std::size_t>(threads), ForecastTotals(sides));
    auto work = [&](int t) {
        for (;;) {
            const std::int64_t from = next.fetch_add(kBlock);
            if (from >= end) break;
            for (std::int64_t i = from; i < std::min(end, from + kBlock); ++i) {
                const std::int64_t seed = firstSeed + i * perTournament;
                partial[static_cast<std::size_t>(t)].add(playTournament(plan, static_cast<std::int32_t>(seed)));
                if (progress) progress->fetch_add(1, std::memory_order_relaxed);
            }
        }
    };
    runOnThreads(threads, work);
    ForecastTotals totals(sides);
    for (const ForecastTotals& p : partial)
        totals.add(p);
    return totals;
}

namespace {

std::string signedRate(const NetRunRateFigures& f)
{
    return formatted("%+.3f", f.value());
}

std::string fixtureLine(const TournamentPlan& plan, const MatchOutcome& m)
{
    return padded(plan.sides[static_cast<std::size_t>(m.home)].name(), 15) + " " + padded(m.score[0], 22) + " v " +
           padded(plan.sides[static_cast<std::size_t>(m.away)].name(), 15) + " " + padded(m.score[1], 22) + " " +
           m.resultLine + formatted("  (/r=%d)", static_cast<std::int32_t>(m.seed));
}

struct SideForecast {
    int side;
    Proportion title, final, knockouts;
    double mean, low, high;
};

std::vector<SideForecast> summarise(const ForecastTotals& t)
{
    const std::size_t n = t.titles.size();
    std::vector<SideForecast> out;
    for (std::size_t s = 0; s < n; ++s) {
        SideForecast f{static_cast<int>(s),
                       wilsonInterval(t.titles[s], t.tournaments),
                       wilsonInterval(t.finals[s], t.tournaments),
                       wilsonInterval(t.knockouts[s], t.tournaments),
                       0,
                       0,
                       0};
        double sum = 0, squares = 0;
        for (std::size_t p = 0; p < n; ++p) {
            const double c = static_cast<double>(t.positions[s * n + p]), place = static_cast<double>(p + 1);
            sum += c * place;
            squares += c * place * place;
        }
        const double count = static_cast<double>(t.tournaments);
        if (count > 0) {
            f.mean = sum / count;
            const double variance = count > 1 ? std::max(0.0, (squares - sum * sum / count) / (count - 1)) : 0.0;
            const double half = 1.959963984540054 * std::sqrt(variance / count);
            f.low = f.mean - half;
            f.high = f.mean + half;
        }
        out.push_back(f);
    }
    std::stable_sort(out.begin(), out.end(), [&](const SideForecast& a, const SideForecast& b) {
        const std::size_t x = static_cast<std::size_t>(a.side), y = static_cast<std::size_t>(b.side);
        if (t.titles[x] != t.titles[y]) return t.titles[x] > t.titles[y];
        return a.mean < b.mean;
    });
    return out;
}

std::string share(const Proportion& p)
{
    return formatted("%5.1f%% (%4.1f-%5.1f)", p.share * 100, p.low * 100, p.high * 100);
}

nlohmann::json toJson(const Proportion& p, std::int64_t count)
{
    return {{"count", count}, {"share", p.share}, {"low", p.low}, {"high", p.high}};
}

std::string seedRange(std::int32_t firstSeed, std::int64_t matches)
{
    return formatted("seeds %d..%lld", firstSeed,
                     static_cast<long long>(firstSeed) + std::max<std::int64_t>(matches, 1) - 1);
}

}  // namespace

namespace {

std::string heading(const TournamentPlan& plan, const TournamentRun& run, std::int32_t firstSeed)
{
    const std::int64_t played = static_cast<std::int64_t>(run.results.size() + run.knockouts.size());
    return plan.name + ": " + plan.describe() + "; " + seedRange(firstSeed, played) + "\n";
}

std::string resultsText(const TournamentPlan& plan, const TournamentRun& run)
{
    std::string out = "\nResults\n";
    for (const MatchOutcome& m : run.results) {
        out += "  ";
        out += fixtureLine(plan, m);
        out += '\n';
    }
    return out;
}

std::string tablesText(const TournamentPlan& plan, const TournamentRun& run)
{
    std::string out;
    for (int g = 0; g < plan.groups && g < static_cast<int>(run.tables.size()); ++g) {
        out += '\n';
        out += plan.groups > 1 ? groupName(g) : std::string("Table");
        out += "\n   #  ";
        out += padded("side", 15);
        out += "   P   W   L   T  Pts      NRR\n";
        int pos = 0;
        for (const TableRow& r : run.tables[static_cast<std::size_t>(g)])
            out += formatted("  %2d  ", ++pos) + padded(plan.sides[static_cast<std::size_t>(r.side)].name(), 15) +
                   formatted(" %3d %3d %3d %3d %4d %8s\n", r.played, r.won, r.lost, r.tied, r.points,
                             signedRate(r.figures).c_str());
    }
    return out;
}

std::string knockoutsText(const TournamentPlan& plan, const TournamentRun& run)
{
    if (run.knockouts.empty()) return {};
    std::string out = "\nKnock-outs\n";
    for (const KnockoutMatch& k : run.knockouts) {
        out += "  " + padded(k.round, 14) + " " + fixtureLine(plan, k.outcome) + "\n";
        if (k.outcome.winner != k.through)
            out += "  " + padded("", 14) + " " + plan.sides[static_cast<std::size_t>(k.through)].name() +
                   " go through, placed higher\n";
    }
    return out;
}

}  // namespace

std::string formatTournamentRun(const TournamentPlan& plan, const TournamentRun& run, std::int32_t firstSeed)
{
    return heading(plan, run, firstSeed) + resultsText(plan, run) + tablesText(plan, run) + knockoutsText(plan, run) +
           "\nWinner: " + plan.sides[static_cast<std::size_t>(run.finishing[0])].name() + "\n";
}

std::string formatTournamentProgress(const TournamentProgress& progress)
{
    const TournamentPlan& plan = progress.plan();
    if (progress.finished()) return formatTournamentRun(plan, progress.run(), progress.firstSeed());
    // Part-way the match on the board and the table come first; until the
    // group stage ends the tables are drawn from the results so far.
    TournamentRun run = progress.run();
    if (run.tables.empty())
        for (int g = 0; g < plan.groups; ++g)
            run.tables.push_back(groupTable(plan, g, run.results, static_cast<std::uint32_t>(progress.firstSeed())));
    const TournamentProgress::Fixture& next = progress.next();
    return heading(plan, run, progress.firstSeed()) + "\nNow: " + next.label + ", " +
           plan.sides[static_cast<std::size_t>(next.home)].name() + " v " +
           plan.sides[static_cast<std::size_t>(next.away)].name() +
           formatted("  (/r=%d)\n", static_cast<std::int32_t>(next.seed)) + tablesText(plan, run) +
           knockoutsText(plan, run) + resultsText(plan, run);
}

std::string formatForecastTable(const TournamentPlan& plan, const ForecastTotals& t, std::int32_t firstSeed)
{
    std::string out = plan.name + formatted(": %lld tournaments, ", static_cast<long long>(t.tournaments)) +
                      plan.describe() + "; " + seedRange(firstSeed, t.tournaments * plan.matchesPerTournament()) +
                      "\n\n";
    out += padded("side", 15) + formatted("  %-22s", "winner (95% CI)");
    if (plan.playoff > 1) out += formatted("%-22s%-22s", "final", "knock-outs");
    out += "position\n";
    for (const SideForecast& f : summarise(t)) {
        out += padded(plan.sides[static_cast<std::size_t>(f.side)].name(), 15) + "  " + share(f.title) + "  ";
        if (plan.playoff > 1) out += share(f.final) + "  " + share(f.knockouts) + "  ";
        out += formatted("%5.2f (%.2f-%.2f)\n", f.mean, f.low, f.high);
    }
    return out;
}

std::string formatForecastJson(const TournamentPlan& plan, const ForecastTotals& t, std::int32_t firstSeed)
{
    nlohmann::json j;
    j["tournament"] = plan.name;
    j["format"] = plan.describe();
    j["tournaments"] = t.tournaments;
    j["firstSeed"] = firstSeed;
    j["matchesPerTournament"] = plan.matchesPerTournament();
    nlohmann::json sides = nlohmann::json::array();
    const std::size_t n = t.titles.size();
    for (const SideForecast& f : summarise(t)) {
        const std::size_t s = static_cast<std::size_t>(f.side);
        nlohmann::json places = nlohmann::json::array();
        for (std::size_t p = 0; p < n; ++p)
            places.push_back(t.positions[s * n + p]);
        sides.push_back({{"team", plan.sides[s].name()},
                         {"file", plan.sidePaths[s]},
                         {"winner", toJson(f.title, t.titles[s])},
                         {"final", toJson(f.final, t.finals[s])},
                         {"knockouts", toJson(f.knockouts, t.knockouts[s])},
                         {"position", {{"mean", f.mean}, {"low", f.low}, {"high", f.high}, {"counts", places}}}});
    }
    j["sides"] = sides;
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
