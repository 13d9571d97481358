#include "app/match_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <nlohmann/json.hpp>

#include "analysis/bounded_input.h"
#include "analysis/json_document.h"
#include "analysis/printable_text.h"
#include "teams/team.h"
#include "teams/text_encoding.h"

using Json = nlohmann::ordered_json;

namespace {

constexpr const char* kFormat = "pelmora match";

// A team file that is not UTF-8 (read as Latin-1) keeps its bytes as hex.
std::string toHex(const std::string& s)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool fromHex(const std::string& s, std::string& out)
{
    if (s.size() % 2) return false;
    out.clear();
    auto nibble = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    for (std::size_t i = 0; i < s.size(); i += 2) {
        const int hi = nibble(s[i]), lo = nibble(s[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

Json point(const MatchPoint& p)
{
    return Json{{"innings", p.innings}, {"delivery", p.delivery}};
}

Json groundAndOutput(const GameOptions& o)
{
    return Json{{"outfield", o.outfield},         {"pitchPace", o.pitchPace},
                {"pitchSurface", o.pitchSurface}, {"wicketDifficulty", o.wicketDifficulty},
                {"gameSpeed", o.gameSpeed},       {"briefOutput", o.briefOutput}};
}

// Reading: every check throws a message naming what is wrong.
struct Bad {
    std::string what;
};

int integer(const Json& j, const char* key, int low, int high)
{
    if (!j.is_object() || !j.contains(key)) throw Bad{std::string("\"") + key + "\" is missing"};
    const Json& v = j.at(key);
    if (!v.is_number_integer()) throw Bad{std::string("\"") + key + "\" is not a whole number"};
    const long long n = v.get<long long>();
    if (n < low || n > high)
        throw Bad{std::string("\"") + key + "\" is " + std::to_string(n) + ", outside " + std::to_string(low) + ".." +
                  std::to_string(high)};
    return static_cast<int>(n);
}

// A key this program does not write may ask for something it cannot play: refused.
void onlyKeys(const Json& j, std::initializer_list<const char*> known, const char* where)
{
    if (!j.is_object()) throw Bad{std::string(where) + " is not an object"};
    for (const auto& item : j.items())
        if (std::none_of(known.begin(), known.end(), [&](const char* k) { return item.key() == k; }))
            throw Bad{std::string(where) + " holds \"" + printableText(item.key()) +
                      "\", which this program does not know"};
}

MatchPoint readPoint(const Json& j)
{
    return MatchPoint{integer(j, "innings", 0, 3), integer(j, "delivery", 0, 100000)};
}

bool boolean(const Json& j, const char* key)
{
    if (!j.contains(key) || !j[key].is_boolean()) throw Bad{std::string("\"") + key + "\" is not true or false"};
    return j[key].get<bool>();
}

void readGround(const Json& j, GameOptions& o)
{
    o.outfield = integer(j, "outfield", 0, 100);
    o.pitchPace = integer(j, "pitchPace", 0, 100);
    o.pitchSurface = integer(j, "pitchSurface", 0, 100);
    o.wicketDifficulty = integer(j, "wicketDifficulty", 0, 100);
    o.gameSpeed = integer(j, "gameSpeed", 0, 100);
    o.briefOutput = integer(j, "briefOutput", 0, 1);
}

void readSettings(const Json& s, int version, MatchFile& r)
{
    if (version == 1)
        onlyKeys(s,
                 {"autoplay", "oneDay", "outfield", "pitchPace", "pitchSurface", "wicketDifficulty", "gameSpeed",
                  "briefOutput", "runTable1"},
                 "\"settings\"");
    else
        onlyKeys(s,
                 {"autoplay", "oneDay", "overs", "outfield", "pitchPace", "pitchSurface", "wicketDifficulty",
                  "gameSpeed", "briefOutput", "runTable1"},
                 "\"settings\"");
    readGround(s, r.settings);
    r.settings.oneDay = integer(s, "oneDay", 0, 1);
    // Format 1 played every one-day match at 50 overs.
    r.settings.overs = version == 1 ? GameOptions{}.overs : integer(s, "overs", 1, 50);
    r.autoplay = boolean(s, "autoplay");
    r.settings.speedChanged = 0;
    const Json& table = s.contains("runTable1") ? s["runTable1"] : Json();
    if (!table.is_array() || table.size() != 6) throw Bad{"\"runTable1\" is not six numbers"};
    for (int i = 0; i < 6; ++i) {
        if (!table[i].is_number_integer() || table[i].get<long long>() < -100000 || table[i].get<long long>() > 100000)
            throw Bad{"\"runTable1\" is not six numbers"};
        r.runTable1[i] = table[i].get<int>();
    }
}

MatchEvent readEvent(const Json& e)
{
    MatchEvent ev;
    ev.at = readPoint(e);
    if (e.contains("batsman")) {
        onlyKeys(e, {"innings", "delivery", "batsman"}, "an event");
        ev.kind = MatchEvent::Batsman;
        ev.value = integer(e, "batsman", -1, 10);
    } else if (e.contains("bowler")) {
        onlyKeys(e, {"innings", "delivery", "bowler"}, "an event");
        ev.kind = MatchEvent::Bowler;
        ev.value = e["bowler"] == "auto" ? MatchEvent::kAutomatic : integer(e, "bowler", -1, 9);
    } else if (e.contains("declare")) {
        onlyKeys(e, {"innings", "delivery", "declare"}, "an event");
        if (e["declare"] != true) throw Bad{"\"declare\" is not true"};
        ev.kind = MatchEvent::Declare;
    } else if (e.contains("options")) {
        onlyKeys(e, {"innings", "delivery", "options"}, "an event");
        onlyKeys(e["options"],
                 {"outfield", "pitchPace", "pitchSurface", "wicketDifficulty", "gameSpeed", "briefOutput"},
                 "\"options\"");
        ev.kind = MatchEvent::Options;
        readGround(e["options"], ev.options);
    } else {
        throw Bad{"an event is not batsman, bowler, declare or options"};
    }
    return ev;
}

void readMatchFile(const Json& j, MatchFile& r)
{
    if (!j.is_object() || j.value("format", "") != kFormat) throw Bad{"not a Pelmora match file"};
    const int version = integer(j, "version", 1, INT_MAX);
    if (version > MatchFile::kFormatVersion)
        throw Bad{"written in match file format " + std::to_string(version) + ", which this program does not know"};
    onlyKeys(j,
             {"format", "version", "program", "seed", "drawsBeforeToss", "settings", "teams", "events", "captionDraws",
              "played"},
             "the file");
    if (j.contains("program")) {
        if (!j["program"].is_string()) throw Bad{"\"program\" is not text"};
        r.program = j["program"].get<std::string>();
    }
    r.seed = integer(j, "seed", INT_MIN, INT_MAX);
    if (r.seed == 0) throw Bad{"\"seed\" is 0"};
    r.drawsBeforeToss = static_cast<std::uint64_t>(integer(j, "drawsBeforeToss", 0, INT_MAX));

    if (!j.contains("settings")) throw Bad{"\"settings\" is missing"};
    readSettings(j["settings"], version, r);

    const Json& teams = j.contains("teams") ? j["teams"] : Json();
    if (!teams.is_array() || teams.size() != 2) throw Bad{"\"teams\" does not hold two sides"};
    for (int t = 0; t < 2; ++t) {
        const Json& side = teams[t];
        if (!side.is_object() || !side.contains("path") || !side["path"].is_string())
            throw Bad{"side " + std::to_string(t + 1) + " has no \"path\""};
        onlyKeys(side, {"path", "file", "fileHex"}, "a side");
        r.teamPaths[t] = side["path"].get<std::string>();
        if (side.contains("file") && side["file"].is_string())
            r.teamFiles[t] = side["file"].get<std::string>();
        else if (!(side.contains("fileHex") && side["fileHex"].is_string() &&
                   fromHex(side["fileHex"].get<std::string>(), r.teamFiles[t])))
            throw Bad{"side " + std::to_string(t + 1) + " has no team file"};
    }

    const Json& events = j.contains("events") ? j["events"] : Json();
    if (!events.is_array()) throw Bad{"\"events\" is missing"};
    if (events.size() > MatchFile::kMaxEvents)
        throw Bad{"more than " + std::to_string(MatchFile::kMaxEvents) + " events, more than a match can have"};
    MatchPoint last{0, 0};
    for (const Json& e : events) {
        const MatchEvent ev = readEvent(e);
        if (!(last <= ev.at)) throw Bad{"the events are out of order"};
        last = ev.at;
        r.events.push_back(ev);
    }
    const Json& draws = j.contains("captionDraws") ? j["captionDraws"] : Json::array();
    if (!draws.is_array()) throw Bad{"\"captionDraws\" is not a list"};
    long long total = 0;
    MatchPoint lastDraw{0, 0};
    for (const Json& d : draws) {
        onlyKeys(d, {"innings", "delivery", "count"}, "a caption draw");
        const CaptionDraws entry{readPoint(d), integer(d, "count", 1, INT_MAX)};
        total += entry.count;
        if (total > MatchFile::kMaxCaptionDraws)
            throw Bad{"more than " + std::to_string(MatchFile::kMaxCaptionDraws) +
                      " caption draws, more than a match can have"};
        if (!(lastDraw <= entry.at)) throw Bad{"the caption draws are out of order"};
        lastDraw = entry.at;
        r.captionDraws.push_back(entry);
    }

    if (!j.contains("played")) throw Bad{"\"played\" is missing: the file is cut short"};
    const Json& played = j["played"];
    if (version == 1)
        onlyKeys(played, {"innings", "delivery", "finished"}, "\"played\"");
    else
        onlyKeys(played, {"innings", "delivery", "finished", "score"}, "\"played\"");
    r.played = readPoint(played);
    r.finished = played.contains("finished") && boolean(played, "finished");
    if (played.contains("score")) {
        const Json& score = played["score"];
        if (!score.is_array() || score.size() > 4) throw Bad{"\"score\" is not a list of innings"};
        for (const Json& innings : score) {
            if (!innings.is_array() || innings.size() != 2 || !innings[0].is_number_integer() ||
                !innings[1].is_number_integer() || innings[0].get<long long>() < 0 ||
                innings[0].get<long long>() > 1000000 || innings[1].get<long long>() < 0 ||
                innings[1].get<long long>() > 10)
                throw Bad{"\"score\" is not runs and wickets of each innings"};
            r.score.push_back({innings[0].get<int>(), innings[1].get<int>()});
        }
    }
    if (!(last <= r.played)) throw Bad{"an event comes after the point played"};
}

}  // namespace

void MatchFile::addCaptionDraw(MatchPoint at)
{
    if (!captionDraws.empty() && captionDraws.back().at == at)
        ++captionDraws.back().count;
    else
        captionDraws.push_back(CaptionDraws{at, 1});
}

std::string matchFileJson(const MatchFile& r)
{
    Json j;
    j["format"] = kFormat;
    j["version"] = MatchFile::kFormatVersion;
    j["program"] = r.program;
    j["seed"] = r.seed;
    j["drawsBeforeToss"] = r.drawsBeforeToss;
    Json settings{{"autoplay", r.autoplay}, {"oneDay", r.settings.oneDay}, {"overs", r.settings.overs}};
    settings.update(groundAndOutput(r.settings));
    settings["runTable1"] = Json::array();
    for (int v : r.runTable1)
        settings["runTable1"].push_back(v);
    j["settings"] = settings;
    j["teams"] = Json::array();
    for (int t = 0; t < 2; ++t) {
        Json side{{"path", r.teamPaths[t]}};
        if (isValidUtf8(r.teamFiles[t]))
            side["file"] = r.teamFiles[t];
        else
            side["fileHex"] = toHex(r.teamFiles[t]);
        j["teams"].push_back(side);
    }
    j["events"] = Json::array();
    for (const MatchEvent& e : r.events) {
        Json ev = point(e.at);
        switch (e.kind) {
        case MatchEvent::Batsman: ev["batsman"] = e.value; break;
        case MatchEvent::Bowler:
            if (e.value == MatchEvent::kAutomatic)
                ev["bowler"] = "auto";
            else
                ev["bowler"] = e.value;
            break;
        case MatchEvent::Declare: ev["declare"] = true; break;
        case MatchEvent::Options: ev["options"] = groundAndOutput(e.options); break;
        }
        j["events"].push_back(ev);
    }
    j["captionDraws"] = Json::array();
    for (const CaptionDraws& d : r.captionDraws) {
        Json dj = point(d.at);
        dj["count"] = d.count;
        j["captionDraws"].push_back(dj);
    }
    Json played = point(r.played);
    played["finished"] = r.finished;
    played["score"] = Json::array();
    for (const auto& innings : r.score)
        played["score"].push_back(Json::array({innings[0], innings[1]}));
    j["played"] = played;
    return j.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool parseMatchFile(const std::string& text, MatchFile& out, std::string& error)
{
    out = MatchFile{};
    if (text.size() > MatchFile::kMaxBytes) {
        error = "larger than " + describeSize(MatchFile::kMaxBytes);
        return false;
    }
    Json document;
    if (!parseJsonDocument(text, "Pelmora match file", document, error)) return false;
    try {
        readMatchFile(document, out);
        return true;
    } catch (const Bad& bad) {
        error = bad.what;
    } catch (const Json::exception& e) {
        error = std::string("not a Pelmora match file (") + e.what() + ")";
    }
    return false;
}

bool readMatchFileText(const std::string& path, std::string& text, std::string& error)
{
    return readBoundedFile(path, MatchFile::kMaxBytes, text, error);
}

namespace {

struct Tee {
    std::FILE* source;
    std::string* copy;
};

ssize_t teeRead(void* cookie, char* buffer, std::size_t size)
{
    Tee* tee = static_cast<Tee*>(cookie);
    const std::size_t n = std::fread(buffer, 1, size, tee->source);
    if (n == 0 && std::ferror(tee->source)) return -1;
    tee->copy->append(buffer, n);
    return static_cast<ssize_t>(n);
}

}  // namespace

int readTeamCopying(Team& team, std::FILE* file, std::string& copy, LoadDiagnosis* why)
{
    copy.clear();
    Tee tee{file, &copy};
    std::FILE* f = fopencookie(&tee, "r", cookie_io_functions_t{teeRead, nullptr, nullptr, nullptr});
    if (!f) return team.read(file, why);
    const int result = team.read(f, why);
    std::fclose(f);
    return result;
}

int loadTeamCopying(Team& team, const std::string& path, std::string& copy, LoadDiagnosis* why)
{
    team.setFilePath(path);
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) {
        if (why) why->reason = std::string("cannot be opened: ") + std::strerror(errno);
        return 0;
    }
    const int result = readTeamCopying(team, f, copy, why);
    std::fclose(f);
    return result;
}

bool loadTeamText(Team& team, const std::string& text, const std::string& path, LoadDiagnosis* why)
{
    // fmemopen refuses a zero-length buffer: an empty file reads as one with only its end.
    static char empty[1] = {0};
    std::FILE* f = text.empty() ? fmemopen(empty, 0, "r") : fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (!f) f = std::tmpfile();
    if (!f) {
        if (why) why->reason = std::string("cannot be read: ") + std::strerror(errno);
        return false;
    }
    const bool loaded = team.read(f, why) == 1;
    std::fclose(f);
    team.setFilePath(path);
    return loaded;
}
