// Arbitrary bytes as a tournament file. Its sides are four small team files
// in a scratch folder (a.xi .. d.xi, sides named A .. D), so a valid file
// loads and is then checked against the rules the reader promises.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/tournament.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

// Eleven players, six of them bowling: enough for any kind of match.
constexpr const char* kPlayers =
    "Abbott       1070 115  496 0 0   0   0 0\n"
    "Blaney       1060 120  480 0 0   0   0 0\n"
    "Corrie       1090 125  512 0 1 260  80 2\n"
    "Darwen       1080 125  480 0 0   0   0 0\n"
    "Egerton      1100 135  448 0 1 280  90 1\n"
    "Fenwick      1090 145  432 1 0   0   0 0\n"
    "Garside      1050 155   24 0 1 320 110 1\n"
    "Hebden       1010 175   19 0 1 340 120 0\n"
    "Ilkley        970 195   15 0 1 350 125 0\n"
    "Jervis        930 215   11 0 1 360 130 0\n"
    "Kirkham       910 225    9 0 0   0   0 0\n";

// The scratch folder, written once and removed at exit.
const std::string& sidesFolder()
{
    static const struct Folder {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("fuzz_tournament-" + std::to_string(getpid()));
        std::string text = path.string();
        Folder()
        {
            std::filesystem::create_directories(path);
            for (char side = 'a'; side <= 'd'; ++side)
                std::ofstream(path / (std::string(1, side) + ".xi")) << static_cast<char>(side - 'a' + 'A') << "\n"
                                                                     << kPlayers;
        }
        ~Folder()
        {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    } folder;
    return folder.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TournamentPlan plan;
    std::string error;
    if (!parseTournament(text, sidesFolder(), plan, error)) {
        require(!error.empty());
        for (const char c : error)
            require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
        return 0;
    }
    const int n = static_cast<int>(plan.sides.size());
    require(n >= 2 && n <= kMaxTournamentSides && plan.sidePaths.size() == plan.sides.size());
    require(plan.rounds == 1 || plan.rounds == 2);
    require(plan.groups >= 1 && plan.groups <= n / 2);
    require(plan.playoff == 0 || plan.playoff == 2 || plan.playoff == 4 || plan.playoff == 8 || plan.playoff == 16);
    require(plan.playoff <= n && plan.inputsDigest.size() == 16);
    require(plan.matchesPerTournament() > 0 && !plan.describe().empty());
    for (const char c : plan.name)
        require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    return 0;
}
