// Loading a team file into a Team: see Team::load.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "teams/line_scan.h"
#include "teams/team.h"
#include "teams/text_encoding.h"

namespace {

void explain(LoadDiagnosis* why, std::string reason)
{
    if (why) why->reason = std::move(reason);
}

}  // namespace

int Team::load(const char* path, LoadDiagnosis* why)
{
    explain(why, {});
    setFilePath(path ? path : "");
    if (!path) {
        explain(why, "cannot be opened: no file name");
        return 0;
    }
    std::FILE* file = std::fopen(path, "r");
    if (!file) {
        explain(why, std::string("cannot be opened: ") + std::strerror(errno));
        return 0;
    }
    const int result = read(file, why);
    std::fclose(file);
    return result;
}

int Team::read(std::FILE* file, LoadDiagnosis* why)
{
    explain(why, {});
    // Names are kept as read until the whole of what is read is known to be
    // UTF-8 or not; only then are they decoded.
    char rawNames[kPlayers][ScannedLine::kRawNameBytes + 1] = {};
    char rawTeamName[ScannedLine::kRawNameBytes + 1] = {};
    bool teamNamed = false;
    Utf8Validator encoding;

    // A line longer than 1023 bytes is read in pieces, each scanned as a line.
    char line[1024];
    int count = 0;
    bool readError = false;
    bool firstPiece = true;
    while (count < kPlayers) {
        if (std::feof(file)) break;
        if (!std::fgets(line, sizeof line, file)) {
            // A read error never reaches the end of the file: stop rather than spin.
            if (std::ferror(file)) {
                readError = true;
                explain(why, std::string("cannot be read: ") + std::strerror(errno));
                break;
            }
            continue;
        }
        char* text = line;
        // An editor's byte-order mark says UTF-8; it is not part of the first line.
        if (firstPiece && std::strncmp(text, "\xEF\xBB\xBF", 3) == 0) text += 3;
        firstPiece = false;
        encoding.feed(text);
        if (text[0] == '#') continue;
        ScannedLine scanned = scanTeamLine(text);
        if (scanned.fields == 1) {
            storeText(rawTeamName, scanned.name);
            teamNamed = true;
            continue;
        }
        int* v = scanned.values;
        if (v[3] != 0) v[4] = v[5] = v[6] = v[7] = 0;  // the keeper never bowls
        std::memcpy(rawNames[count], scanned.name, sizeof scanned.name);
        Player& p = players_[count++];
        p.batTempo = v[0];
        p.batRisk = v[1];
        p.batSurvival = v[2];
        p.isKeeper = v[3];
        p.isBowler = v[4];
        p.bowlTempo = v[5];
        p.bowlThreat = v[6];
        p.bowlStyle = v[7];
    }
    const bool utf8 = encoding.valid();
    if (teamNamed) setName(cleanName(rawTeamName, utf8));
    for (int i = 0; i < count; ++i)
        players_[i].setName(cleanName(rawNames[i], utf8));

    int result = 0;
    if (readError) {
        result = 0;
    } else if (count < kPlayers) {
        explain(why, "only " + std::to_string(count) + " of 11 players");
    } else {
        int keepers = 0, lastKeeper = -1, bowlerList[kPlayers], bowlers = 0;
        for (int i = 0; i < kPlayers; ++i) {
            if (players_[i].isKeeper != 0) {
                ++keepers;
                lastKeeper = i;
            }
            if (players_[i].isBowler != 0) bowlerList[bowlers++] = i;
        }
        if (keepers == 1) {
            keeper_ = lastKeeper;
            setBowlers(bowlerList, bowlers);
            result = 1;
        } else if (keepers == 0) {
            explain(why, "no wicket-keeper");
        } else {
            explain(why, std::to_string(keepers) + " wicket-keepers");
        }
    }
    return result;
}
