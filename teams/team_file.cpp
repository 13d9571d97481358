// Loading a team file into a Team: see Team::load.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "teams/line_scan.h"
#include "teams/team.h"

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

    // A line longer than 1023 bytes is read in pieces, each scanned as a line.
    char line[1024];
    int count = 0;
    bool readError = false;
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
        if (line[0] == '#') continue;
        ScannedLine scanned = scanTeamLine(line);
        if (scanned.fields == 1) {
            setName(scanned.name);
            continue;
        }
        int* v = scanned.values;
        if (v[3] != 0) v[4] = v[5] = v[6] = v[7] = 0;  // the keeper never bowls
        Player& p = players_[count++];
        p.setName(scanned.name);
        p.batTempo = v[0];
        p.batRisk = v[1];
        p.batSurvival = v[2];
        p.isKeeper = v[3];
        p.isBowler = v[4];
        p.bowlTempo = v[5];
        p.bowlThreat = v[6];
        p.bowlStyle = v[7];
    }

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
    std::fclose(file);
    return result;
}
