#include "app/team_editor_model.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "app/output_files.h"
#include "engine/engine_context.h"
#include "match/match.h"
#include "resources/strings.h"
#include "teams/line_scan.h"

namespace {

constexpr std::size_t kMaxNameCharacters = 15;

// Characters of valid UTF-8 without control characters; -1 otherwise.
long textCharacters(const std::string& s)
{
    long count = 0;
    for (std::size_t i = 0; i < s.size(); ++count) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > s.size()) return -1;
        char32_t code = length == 1 ? c : c & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(s[i + k]);
            if ((next >> 6) != 2) return -1;
            code = (code << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return -1;
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) return -1;
        i += length;
    }
    return count;
}

// Why a name would not load back as itself; empty when it would.
std::string nameProblem(const std::string& name)
{
    if (name.empty()) return loadText(str::NameMissing);
    for (char c : name)
        if (isScanSpace(c)) return loadText(str::NameNotOneWord);
    if (name[0] == '#') return loadText(str::NameNotOneWord);  // the line would be a comment
    const long characters = textCharacters(name);
    if (characters < 0) return loadText(str::NameNotText);
    // The record must hold the name whole, or it would load back cut.
    Player probe;
    probe.setName(name);
    if (static_cast<std::size_t>(characters) > kMaxNameCharacters || probe.name() != name)
        return loadText(str::NameTooLong);
    return {};
}

// The first 15 characters of a UTF-8 text, never cutting one.
std::string firstCharacters(const std::string& s, std::size_t n)
{
    std::size_t i = 0;
    for (std::size_t count = 0; i < s.size() && count < n; ++count) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            ++i;
    }
    return s.substr(0, i);
}

// The fields of one CSV record starting at pos, quotes as RFC 4180 has them.
std::vector<std::string> csvRecord(const std::string& s, std::size_t& pos)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (quoted) {
            if (c != '"')
                fields.back() += c;
            else if (pos + 1 < s.size() && s[pos + 1] == '"')
                fields.back() += s[++pos];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            ++pos;
            break;
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

bool readInt(const std::string& field, int& out)
{
    const char* p = field.c_str();
    if (!scanInt(p, out)) return false;
    while (isScanSpace(*p))
        ++p;
    return *p == '\0';
}

}  // namespace

const char* EditorPlayer::ratingName(int i)
{
    static const char* const names[kRatings] = {"batTempo", "batRisk",   "batSurvival", "isKeeper",
                                                "isBowler", "bowlTempo", "bowlThreat",  "bowlStyle"};
    return i >= 0 && i < kRatings ? names[i] : "";
}

const char* EditorPlayer::ratingHeading(int i)
{
    static const char* const headings[kRatings] = {"Batting tempo",  "Batting risk", "Batting survival",
                                                   "Keeper",         "Bowler",       "Bowling tempo",
                                                   "Bowling threat", "Bowling style"};
    return i >= 0 && i < kRatings ? headings[i] : "";
}

TeamEditorModel TeamEditorModel::newSide()
{
    TeamEditorModel model;
    for (EditorPlayer& p : model.players)
        p.ratings = {420, 120, 400, 0, 0, 300, 100, 0};
    return model;
}

void TeamEditorModel::setTeam(const Team& team)
{
    name = team.name();
    for (int i = 0; i < Team::kPlayers; ++i) {
        const Player& p = *team.player(i);
        players[i].name = p.name();
        players[i].ratings = {p.batTempo, p.batRisk,   p.batSurvival, p.isKeeper,
                              p.isBowler, p.bowlTempo, p.bowlThreat,  p.bowlStyle};
    }
}

Team TeamEditorModel::team() const
{
    Team team;
    team.setName(name);
    int bowlers[Team::kPlayers], bowlerCount = 0;
    for (int i = 0; i < Team::kPlayers; ++i) {
        const EditorPlayer& e = players[i];
        Player& p = *team.player(i);
        p.setName(e.name);
        const auto& r = e.ratings;
        p.batTempo = r[0];
        p.batRisk = r[1];
        p.batSurvival = r[2];
        p.isKeeper = e.keeps();
        if (!e.keeps()) {
            p.isBowler = r[4] != 0;
            p.bowlTempo = r[5];
            p.bowlThreat = r[6];
            p.bowlStyle = r[7];
        }
        if (e.keeps()) team.setKeeper(i);
        if (e.bowls()) bowlers[bowlerCount++] = i;
    }
    team.setBowlers(bowlers, bowlerCount < Team::kMaxBowlers ? bowlerCount : Team::kMaxBowlers);
    return team;
}

std::vector<EditorProblem> TeamEditorModel::problems() const
{
    std::vector<EditorProblem> found;
    if (std::string why = nameProblem(name); !why.empty())
        found.push_back({EditorProblem::Refused, -1, loadText(str::TeamNameLabel) + why});
    int keepers = 0, bowlers = 0;
    for (int i = 0; i < Team::kPlayers; ++i) {
        if (std::string why = nameProblem(players[i].name); !why.empty())
            found.push_back({EditorProblem::Refused, i, loadText(str::PlayerLabel) + std::to_string(i + 1) + why});
        keepers += players[i].keeps();
        bowlers += players[i].bowls();
    }
    if (keepers != 1)
        found.push_back({EditorProblem::Refused, -1, std::to_string(keepers) + loadText(str::KeepersNeeded)});
    // The rule play applies when it starts, for each kind of match.
    GameOptions test, oneDay;
    test.oneDay = 0;
    oneDay.oneDay = 1;
    if (bowlers < bowlersNeeded(test) || bowlers < bowlersNeeded(oneDay))
        found.push_back({EditorProblem::CannotPlay, -1,
                         std::to_string(bowlers) + loadText(str::BowlersNeededTest) +
                             std::to_string(bowlersNeeded(test)) + loadText(str::BowlersNeededOneDay) +
                             std::to_string(bowlersNeeded(oneDay)) + "."});
    return found;
}

bool TeamEditorModel::canSave() const
{
    for (const EditorProblem& p : problems())
        if (p.severity == EditorProblem::Refused) return false;
    return true;
}

std::string TeamEditorModel::fileText() const
{
    std::string out = "# " + name + "\n# name";
    for (int r = 0; r < EditorPlayer::kRatings; ++r)
        out += std::string(" ") + EditorPlayer::ratingName(r);
    out += "\n# bowlStyle: 0 pace, 1 spin, 2 neutral\n" + name + "\n";
    const Team written = team();
    for (int i = 0; i < Team::kPlayers; ++i) {
        const Player& p = *written.player(i);
        char line[160];
        std::snprintf(line, sizeof line, " %d %d %d %d %d %d %d %d\n", p.batTempo, p.batRisk, p.batSurvival, p.isKeeper,
                      p.isBowler, p.bowlTempo, p.bowlThreat, p.bowlStyle);
        out += players[i].name + line;
    }
    return out;
}

bool TeamEditorModel::save(const std::string& path, std::string& why) const
{
    return replaceFileContents(path, fileText(), why);
}

void TeamEditorModel::pick(const std::string& side, const std::vector<ListedPlayer>& eleven)
{
    name = oneWordName(side);
    for (int i = 0; i < Team::kPlayers; ++i)
        players[i] = i < static_cast<int>(eleven.size()) ? eleven[i].player : EditorPlayer{};
    for (EditorPlayer& p : players)
        p.name = oneWordName(p.name);
}

std::string oneWordName(const std::string& name)
{
    std::string word;
    for (char c : name) {
        if (!isScanSpace(c))
            word += c;
        else if (!word.empty() && word.back() != '_')
            word += '_';
    }
    while (!word.empty() && word.back() == '_')
        word.pop_back();
    return firstCharacters(word, kMaxNameCharacters);
}

bool readPlayersCsv(const std::string& text, std::vector<ListedPlayer>& out, std::string& why)
{
    out.clear();
    std::size_t pos = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;  // a byte-order mark from a spreadsheet
    const std::vector<std::string> header = csvRecord(text, pos);
    std::map<std::string, std::size_t> column;
    for (std::size_t i = 0; i < header.size(); ++i)
        column.emplace(header[i], i);
    std::size_t nameAt = 0, sideAt = 0, ratingAt[EditorPlayer::kRatings];
    const auto find = [&](const char* key, std::size_t& at) {
        const auto it = column.find(key);
        if (it == column.end())
            why = std::string("line 1: no column ") + key;
        else
            at = it->second;
        return it != column.end();
    };
    if (!find("name", nameAt) || !find("side", sideAt)) return false;
    for (int r = 0; r < EditorPlayer::kRatings; ++r)
        if (!find(EditorPlayer::ratingName(r), ratingAt[r])) return false;

    for (int line = 2; pos < text.size(); ++line) {
        const std::vector<std::string> fields = csvRecord(text, pos);
        if (fields.size() == 1 && fields[0].empty()) continue;
        ListedPlayer listed;
        const auto field = [&](std::size_t at) { return at < fields.size() ? fields[at] : std::string(); };
        listed.side = field(sideAt);
        listed.player.name = field(nameAt);
        for (int r = 0; r < EditorPlayer::kRatings; ++r) {
            if (!readInt(field(ratingAt[r]), listed.player.ratings[r])) {
                why = "line " + std::to_string(line) + ": " + EditorPlayer::ratingName(r) + " \"" + field(ratingAt[r]) +
                      "\" is not a whole number";
                return false;
            }
        }
        out.push_back(std::move(listed));
    }
    return true;
}

std::vector<std::string> sidesOf(const std::vector<ListedPlayer>& players)
{
    std::vector<std::string> sides;
    for (const ListedPlayer& p : players) {
        bool known = false;
        for (const std::string& s : sides)
            known = known || s == p.side;
        if (!known) sides.push_back(p.side);
    }
    return sides;
}
