#include "rating/side_file.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>

#include "app/match_file.h"
#include "app/output_files.h"
#include "match/match.h"
#include "teams/line_scan.h"
#include "teams/text_encoding.h"

std::string csvField(const std::string& s)
{
    std::string text = s;
    if (!text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos) text.insert(0, 1, '\'');
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

namespace {

std::string number(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

// Cuts at 15 bytes without splitting a UTF-8 character.
std::string cut15(const std::string& s)
{
    if (s.size() <= 15) return s;
    std::size_t n = 15;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return s.substr(0, n);
}

// The name with white space made blanks and what a team file cannot hold in
// a name (control characters, a '#' the loader would take for a comment) made '_'.
std::string nameForTeamFile(const std::string& name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool c1 = c == 0xC2 && i + 1 < name.size() && static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(name[i + 1]) <= 0x9F;
        if (isScanSpace(static_cast<char>(c))) {
            out += ' ';
        } else if (c < 0x20 || c == 0x7F || c == '#' || c1) {
            out += '_';
            i += c1 ? 1 : 0;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// A text from the archive as it may stand in a one-line comment.
std::string commentText(const std::string& text, std::size_t maxBytes)
{
    const std::string clean = nameForTeamFile(text);
    return clean.substr(0, utf8PrefixLength(clean, maxBytes));
}

}  // namespace

namespace {

// The words of a name as a team file can hold them, in order.
std::vector<std::string> wordsOf(const std::string& text)
{
    std::vector<std::string> words;
    const std::string name = nameForTeamFile(text);
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t end = std::min(name.find(' ', at), name.size());
        if (end > at) words.push_back(name.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

std::string joined(const std::vector<std::string>& words)
{
    std::string all;
    for (const std::string& w : words)
        all += w;
    return all;
}

}  // namespace

std::string oneWord(const std::string& text, bool lastWordOnly)
{
    const std::vector<std::string> words = wordsOf(text);
    const std::string word = lastWordOnly ? (words.empty() ? std::string() : words.back()) : joined(words);
    return cut15(word.empty() ? std::string("Player") : word);
}

std::string sideFileName(const std::string& side)
{
    const std::string word = joined(wordsOf(side));
    return safeFileNameComponent(word.empty() ? std::string("Player") : word) + ".xi";
}

std::string sideShortName(const std::string& side)
{
    const std::vector<std::string> words = wordsOf(side);
    const std::string all = joined(words);
    if (all.size() <= 15) return all.empty() ? std::string("Player") : all;
    // The first word, then the initial of every other: "Royal Challengers
    // Bengaluru" is RoyalCB, "Chennai Super Kings" ChennaiSK.
    std::string initials;
    for (std::size_t k = 1; k < words.size(); ++k) {
        std::size_t n = 1;  // the first character, however many bytes
        while (n < words[k].size() && (static_cast<unsigned char>(words[k][n]) & 0xC0) == 0x80)
            ++n;
        initials += words[k].substr(0, n);
    }
    initials = initials.substr(0, utf8PrefixLength(initials, 7));
    const std::string first = words[0].substr(0, utf8PrefixLength(words[0], 15 - initials.size()));
    return first + initials;
}

bool isRegularBowler(const Figures& f)
{
    return f.matches > 0 && 4 * f.matchesBowled >= f.matches;
}

namespace {

// The keeper of each side: of its players, the one with the most stumpings,
// ties going to the most catches.
std::vector<bool> keepersBySide(const std::vector<PlayerRecord>& players)
{
    std::map<std::string, std::size_t> best;
    for (std::size_t i = 0; i < players.size(); ++i) {
        const Figures& f = players[i].figures;
        if (f.stumpings == 0) continue;
        const auto [it, added] = best.emplace(players[i].side, i);
        const Figures& b = players[it->second].figures;
        if (!added && std::make_pair(f.stumpings, f.catches) > std::make_pair(b.stumpings, b.catches)) it->second = i;
    }
    std::vector<bool> keeper(players.size(), false);
    for (const auto& [side, i] : best)
        keeper[i] = true;
    return keeper;
}

}  // namespace

std::string playersCsv(const std::vector<PlayerRecord>& players, const FitResult& fit)
{
    const std::vector<bool> keepers = keepersBySide(players);
    std::string out =
        "id,name,side,matches,position,innings,ballsFaced,runs,dismissals,fours,sixes,ballsBowled,runsConceded,"
        "wickets,wides,noballs,catches,stumpings,batAverage,batStrikeRate,bowlEconomy,bowlStrikeRate,"
        "batTempo,batRisk,batSurvival,isKeeper,isBowler,bowlTempo,bowlThreat,bowlStyle,"
        "simBatAverage,simBatStrikeRate,simBowlEconomy,simBowlStrikeRate,batRatedOnBalls,bowlRatedOnBalls\n";
    for (std::size_t i = 0; i < players.size(); ++i) {
        const PlayerRecord& p = players[i];
        const Figures& f = p.figures;
        const Ratings r = i < fit.ratings.size() ? fit.ratings[i] : Ratings{};
        const Figures s = i < fit.simulated.size() ? fit.simulated[i] : Figures{};
        const bool bowler = isRegularBowler(f), keeper = keepers[i];
        out += csvField(p.id) + "," + csvField(p.name) + "," + csvField(p.side);
        for (std::int64_t v : {f.matches, std::int64_t(f.usualPosition()), f.innings, f.balls, f.runs, f.outs, f.fours,
                               f.sixes, f.bowlBalls, f.conceded, f.wickets, f.wides, f.noBalls, f.catches, f.stumpings})
            (out += ',') += std::to_string(v);
        for (double v : {f.battingAverage(), f.strikeRate(), f.economy(), f.bowlingStrikeRate()})
            (out += ',') += number(v);
        for (int v : {r.batTempo, r.batRisk, r.batSurvival, keeper ? 1 : 0, bowler ? 1 : 0, bowler ? r.bowlTempo : 0,
                      bowler ? r.bowlThreat : 0, bowler ? r.bowlStyle : 0})
            (out += ',') += std::to_string(v);
        for (double v : {s.battingAverage(), s.strikeRate(), s.economy(), s.bowlingStrikeRate()})
            (out += ',') += number(v);
        // 0: the rating is the prior of his role.
        for (std::int64_t v : {f.balls, bowler ? f.bowlBalls : 0})
            (out += ',') += std::to_string(v < kFewestBallsRated ? 0 : v);
        out += "\n";
    }
    return out;
}

bool sideFile(const std::string& side, const Archive& archive, const FitResult& fit, bool oneDay,
              const std::string& keeperName, SideFile& out, std::string& why, const std::string& shortName)
{
    const auto found = archive.latest.find(side);
    if (found == archive.latest.end()) {
        why = "no match of the side \"" + side + "\" in the archive";
        return false;
    }
    const LatestEleven& eleven = found->second;
    if (eleven.players.size() < 11) {
        why = "the most recent match of \"" + side + "\" (" + eleven.date + ") names only " +
              std::to_string(eleven.players.size()) + " players";
        return false;
    }
    std::vector<int> xi(eleven.players.begin(), eleven.players.begin() + 11);
    auto figures = [&](int k) -> const Figures& { return archive.players[static_cast<std::size_t>(xi[k])].figures; };
    // Its bowlers are those who bowled for it in the matches read, not only in the last one.
    const auto bowledFor = archive.bowledFor.find(side);
    std::vector<bool> bowls(11);
    for (int k = 0; k < 11; ++k)
        bowls[static_cast<std::size_t>(k)] = bowledFor != archive.bowledFor.end() && bowledFor->second.count(xi[k]);

    int keeper = -1;
    for (int k = 0; k < 11 && !keeperName.empty(); ++k)
        if (archive.players[static_cast<std::size_t>(xi[k])].name == keeperName) keeper = k;
    if (keeper < 0) {
        std::pair<std::int64_t, std::int64_t> most{0, 0};  // stumpings, then catches
        for (int k = 0; k < 11; ++k)
            if (figures(k).stumpings > 0 && std::make_pair(figures(k).stumpings, figures(k).catches) > most)
                most = {figures(k).stumpings, figures(k).catches}, keeper = k;
    }
    if (keeper < 0) {
        std::int64_t most = 0;
        for (int k = 0; k < 11; ++k)
            if (!eleven.bowled[static_cast<std::size_t>(k)] && figures(k).catches > most)
                most = figures(k).catches, keeper = k;
    }
    if (keeper < 0) {
        why = "cannot tell the wicket-keeper of \"" + side + "\": name him with --keeper=NAME";
        return false;
    }
    bowls[static_cast<std::size_t>(keeper)] = false;  // the keeper never bowls

    // Too few bowlers in that match for the match type: add those who bowl most.
    GameOptions kind;
    kind.oneDay = oneDay ? 1 : 0;
    const int needed = bowlersNeeded(kind);
    int count = static_cast<int>(std::count(bowls.begin(), bowls.end(), true));
    while (count < needed) {
        int best = -1;
        for (int k = 0; k < 11; ++k)
            if (k != keeper && !bowls[k] && (best < 0 || figures(k).bowlBalls > figures(best).bowlBalls)) best = k;
        if (best < 0) break;
        bowls[static_cast<std::size_t>(best)] = true;
        ++count;
    }

    // Surnames, or the whole name made one word where two surnames meet.
    std::vector<std::string> names(11);
    std::set<std::string> seen, clash;
    for (int k = 0; k < 11; ++k) {
        names[k] = oneWord(archive.players[static_cast<std::size_t>(xi[k])].name, true);
        if (!seen.insert(names[k]).second) clash.insert(names[k]);
    }
    for (int k = 0; k < 11; ++k)
        if (clash.count(names[k])) names[k] = oneWord(archive.players[static_cast<std::size_t>(xi[k])].name, false);

    const std::string teamName = shortName.empty() ? sideShortName(side) : shortName;
    out.fileName = sideFileName(side);
    out.text =
        "# " + commentText(side, 200) + ": the eleven of " + commentText(eleven.date, 20) + ", rated by pelmora-rate\n";
    out.text += "# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle\n";
    out.text += teamName + "\n";
    for (int k = 0; k < 11; ++k) {
        const std::size_t p = static_cast<std::size_t>(xi[k]);
        const Ratings r = p < fit.ratings.size() ? fit.ratings[p] : Ratings{};
        char line[160];
        std::snprintf(line, sizeof line, "%-15s %4d %4d %4d %d %d %4d %4d %d\n", names[k].c_str(), r.batTempo,
                      r.batRisk, r.batSurvival, k == keeper ? 1 : 0, bowls[k] ? 1 : 0, bowls[k] ? r.bowlTempo : 0,
                      bowls[k] ? r.bowlThreat : 0, bowls[k] ? r.bowlStyle : 0);
        out.text += line;
    }
    // Whatever the archive's names, what is written must load as a side.
    Team check;
    LoadDiagnosis diagnosis;
    if (!loadTeamText(check, out.text, out.fileName, &diagnosis)) {
        why = "the side file made for \"" + side + "\" would not load: " + diagnosis.reason;
        return false;
    }
    return true;
}
