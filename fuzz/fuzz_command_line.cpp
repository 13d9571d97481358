// Arbitrary bytes as the command line. The parser must never misbehave, and
// what it sets must agree with a plain strtok reading of the option table.
// Inputs whose /a= file name has a "/" are set aside: the parser opens that
// file, and the fuzzer must not go opening devices; a bare name can only open
// something in the working directory, for reading.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

void require(bool condition)
{
    if (!condition) __builtin_trap();
}

struct Expected {
    int usage = 0;
    CommandLineSettings settings;
    GameOptions options;
};

int atoiSaturating(const char* text)
{
    const long long v = std::strtoll(text, nullptr, 10);
    return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
}

// The option table read token by token, as strtok splits the line.
Expected reference(std::string line, bool& opensDevice)
{
    Expected e;
    opensDevice = false;
    std::vector<char> copy(line.begin(), line.end());
    copy.push_back('\0');
    for (char* token = std::strtok(copy.data(), " ,\t\n"); token; token = std::strtok(nullptr, " ,\t\n")) {
        if (token[0] != '/' && token[0] != '-') continue;
        const char* eq = std::strchr(token, '=');
        const char* value = eq ? eq + 1 : nullptr;
        const bool hasValue = value && *value;
        switch (token[1]) {
        case '?': e.usage = 1; return e;
        case 'a':
            e.settings.autoplay = 1;
            if (hasValue && std::strchr(value, '/')) opensDevice = true;
            break;
        case 's':
            if (hasValue) e.settings.outputFileName = value;
            break;
        case 'l': e.options.briefOutput = 0; break;
        case 'r':
            if (value) e.settings.randomSeed = atoiSaturating(value);
            break;
        case 'd':
            if (value) {
                const int tenth = atoiSaturating(value) / 10;
                e.options.speedChanged = 1;
                e.options.gameSpeed = (tenth < 0 || tenth > 100) ? 0 : tenth;
            }
            break;
        case 't':
            if (token[2] == '1') {
                if (hasValue) e.settings.team1File = value;
            } else if (token[2] == '2') {
                if (hasValue) e.settings.team2File = value;
            } else {
                e.options.oneDay = 0;
            }
            break;
        case 'o': e.options.oneDay = 1; break;
        default:
            if (std::strcmp(token + 1, "nta") == 0) e.settings.titleAnimation = 0;
            break;
        }
    }
    return e;
}

bool sameOptions(const GameOptions& a, const GameOptions& b)
{
    return a.outfield == b.outfield && a.pitchPace == b.pitchPace && a.pitchSurface == b.pitchSurface &&
           a.wicketDifficulty == b.wicketDifficulty && a.gameSpeed == b.gameSpeed && a.briefOutput == b.briefOutput &&
           a.oneDay == b.oneDay && a.speedChanged == b.speedChanged;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    // A C command line ends at its first NUL; the reference reads only that far.
    const bool hasNul = line.find('\0') != std::string::npos;
    bool opensDevice = false;
    const Expected expected = reference(line.substr(0, line.find('\0')), opensDevice);
    if (opensDevice) return -1;
    if (hasNul) {
        // Past a NUL the parser still reads every byte of the token, and its
        // file name ends at the NUL: a stand-in letter keeps both in view.
        bool laterDevice = false;
        std::string whole = line;
        for (char& c : whole)
            if (c == '\0') c = 'x';
        reference(whole, laterDevice);
        if (laterDevice) return -1;
    }

    CommandLineSettings settings;
    GameOptions options;
    const int usage = parseCommandLine(line, settings, options);
    if (settings.bowlerListFile) std::fclose(settings.bowlerListFile);

    require(usage == 0 || usage == 1);
    require(options.gameSpeed >= 0 && options.gameSpeed <= 100);
    for (const std::optional<std::string>* name : {&settings.outputFileName, &settings.team1File, &settings.team2File})
        if (*name) require(!(*name)->empty() && (*name)->find_first_of(" ,\t\n") == std::string::npos);
    if (hasNul) return 0;

    require(usage == expected.usage);
    require(settings.autoplay == expected.settings.autoplay);
    require(settings.titleAnimation == expected.settings.titleAnimation);
    require(settings.randomSeed == expected.settings.randomSeed);
    require(settings.outputFileName == expected.settings.outputFileName);
    require(settings.team1File == expected.settings.team1File);
    require(settings.team2File == expected.settings.team2File);
    require(sameOptions(options, expected.options));
    return 0;
}
