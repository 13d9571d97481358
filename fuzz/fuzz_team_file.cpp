// Arbitrary bytes as a team file: overlong lines, NUL bytes, huge numbers,
// CR-only line ends. Loading must never read or write out of bounds, and what
// it leaves behind must be consistent with its result. The first line is also
// scanned against the C library's "%s%d%d%d%d%d%d%d%d" wherever that is
// defined (a word under 15 bytes, integers inside the int range).
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "teams/line_scan.h"
#include "teams/team.h"
#include "teams/text_encoding.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

// The file the loader reads: in memory, rewritten for every input.
const std::string& teamFile()
{
    static const std::string path = [] {
        const int fd = memfd_create("fuzz_team_file", 0);
        require(fd >= 0);
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

void writeTeamFile(const std::uint8_t* data, std::size_t size)
{
    const int fd = std::stoi(teamFile().substr(std::strlen("/proc/self/fd/")));
    require(ftruncate(fd, 0) == 0);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        require(n > 0);
        done += static_cast<std::size_t>(n);
    }
}

bool terminatedWithin(const char* text, std::size_t capacity)
{
    return std::memchr(text, '\0', capacity) != nullptr;
}

void checkAgainstScanf(const std::uint8_t* data, std::size_t size)
{
    // The first piece the loader would read: up to a newline, at most 1023 bytes.
    char line[1024];
    std::size_t n = 0;
    while (n < size && n < sizeof line - 1) {
        line[n] = static_cast<char>(data[n]);
        if (data[n++] == '\n') break;
    }
    line[n] = '\0';

    const ScannedLine scanned = scanTeamLine(line);
    require(scanned.fields >= 0 && scanned.fields <= 9);
    require(terminatedWithin(scanned.name, sizeof scanned.name));
    if (std::strlen(scanned.name) >= ScannedLine::kRawNameBytes) return;  // maybe cut: %s would store more
    for (int i = 0; i < 8; ++i)
        if (scanned.values[i] == INT_MAX || scanned.values[i] == INT_MIN) return;  // maybe saturated

    char word[1024] = {};
    int v[8] = {};
    int fields =
        std::sscanf(line, "%1023s%d%d%d%d%d%d%d%d", word, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]);
    if (fields == EOF) fields = 0;
    require(fields == scanned.fields);
    if (fields >= 1) require(std::strcmp(word, scanned.name) == 0);
    for (int i = 0; i + 1 < fields; ++i)
        require(v[i] == scanned.values[i]);
    for (int i = fields > 0 ? fields - 1 : 0; i < 8; ++i)
        require(scanned.values[i] == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkAgainstScanf(data, size);
    writeTeamFile(data, size);

    // A record that already holds a keeper and bowlers: a refused file must not change them.
    Team team;
    team.setKeeper(3);
    const int earlierBowlers[] = {1, 2};
    team.setBowlers(earlierBowlers, 2);
    LoadDiagnosis why;
    const int loaded = team.load(teamFile().c_str(), &why);

    require(loaded == 0 || loaded == 1);
    require((loaded == 1) == why.reason.empty());
    require(std::strcmp(team.filePath(), teamFile().c_str()) == 0);
    // Names are UTF-8 of at most 15 characters without control characters, whatever the bytes.
    auto cleanName = [](const char* name) {
        if (!terminatedWithin(name, Player::kNameBytes) || !isValidUtf8(name)) return false;
        if (characterCount(name) > static_cast<std::size_t>(Player::kNameCharacters)) return false;
        for (const char* c = name; *c; ++c)
            if (static_cast<unsigned char>(*c) < 0x20 || *c == 0x7F) return false;
        return std::strstr(name, "\xC2\x80") == nullptr && std::strstr(name, "\xC2\x9F") == nullptr;
    };
    require(cleanName(team.name()));
    for (int i = 0; i < Team::kPlayers; ++i) {
        const Player& p = *team.player(i);
        require(cleanName(p.name()));
        if (p.isKeeper != 0) require(p.isBowler == 0 && p.bowlTempo == 0 && p.bowlThreat == 0 && p.bowlStyle == 0);
    }

    if (!loaded) {
        require(team.keeper() == 3);
        require(team.bowlerCount() == 2 && team.bowlerAt(0) == 1 && team.bowlerAt(1) == 2);
        return 0;
    }
    int keepers = 0;
    for (int i = 0; i < Team::kPlayers; ++i)
        keepers += team.player(i)->isKeeper != 0;
    require(keepers == 1);
    require(team.keeper() >= 0 && team.keeper() < Team::kPlayers && team.player(team.keeper())->isKeeper != 0);
    require(team.bowlerCount() >= 0 && team.bowlerCount() <= Team::kMaxBowlers);
    int position = 0;
    for (int i = 0; i < Team::kPlayers; ++i) {
        if (team.player(i)->isBowler == 0) continue;
        require(team.bowlerAt(position) == i);
        require(team.bowlerPosition(i) == position);
        ++position;
    }
    require(position == team.bowlerCount());
    for (int p = team.bowlerCount(); p < Team::kMaxBowlers; ++p)
        require(team.bowlers()[p] == -1);
    return 0;
}
