#include "app/command_line.h"

#include <algorithm>
#include <cstring>

#include "analysis/bounded_input.h"
#include "resources/strings.h"
#include "teams/line_scan.h"

int saturatingAtoi(const char* text)
{
    int value = 0;
    const char* p = text;
    return scanInt(p, value) ? value : 0;
}

namespace {

// The text after the first "=" of a token, or nullptr without one.
const char* valueOf(const std::string& token)
{
    auto eq = token.find('=');
    return eq == std::string::npos ? nullptr : token.c_str() + eq + 1;
}

void setIfValue(std::optional<std::string>& field, const std::string& token)
{
    const char* value = valueOf(token);
    if (value && *value) field = std::string(value);
}

void noteGiven(CommandLineSettings& settings, const char* option)
{
    auto& given = settings.matchSettingsGiven;
    if (std::find(given.begin(), given.end(), option) == given.end()) given.push_back(option);
}

}  // namespace

int parseCommandLine(const std::string& commandLine, CommandLineSettings& settings, GameOptions& options)
{
    static const char kDelimiters[] = " ,\t\n";
    std::size_t pos = 0;
    while (pos < commandLine.size()) {
        pos = commandLine.find_first_not_of(kDelimiters, pos);
        if (pos == std::string::npos) break;
        std::size_t end = commandLine.find_first_of(kDelimiters, pos);
        if (end == std::string::npos) end = commandLine.size();
        const std::string token = commandLine.substr(pos, end - pos);
        pos = end;

        if (token[0] != '/' && token[0] != '-') continue;
        const char key = token.size() > 1 ? token[1] : '\0';
        const char* value = valueOf(token);
        switch (key) {
        case '?': return 1;
        case 'a':
            settings.autoplay = 1;
            if (value && *value) {
                if (settings.bowlerListFile) std::fclose(settings.bowlerListFile);
                settings.bowlerListFile = openForReading(value);  // a FIFO must not hold up start-up
            }
            break;
        case 's': setIfValue(settings.outputFileName, token); break;
        case 'l':
            options.briefOutput = 0;
            noteGiven(settings, "/l");
            break;
        case 'r':
            if (value) settings.randomSeed = saturatingAtoi(value);
            break;
        case 'd':
            if (value) {
                int tenth = saturatingAtoi(value) / 10;
                options.speedChanged = 1;
                options.gameSpeed = (tenth < 0 || tenth > 100) ? 0 : tenth;
            }
            break;
        case 't': {
            const char third = token.size() > 2 ? token[2] : '\0';
            if (third == '1')
                setIfValue(settings.team1File, token);
            else if (third == '2')
                setIfValue(settings.team2File, token);
            else {
                options.oneDay = 0;
                noteGiven(settings, "/t");
            }
            break;
        }
        case 'o':
            options.oneDay = 1;
            noteGiven(settings, "/o");
            break;
        default:
            if (token.compare(1, std::string::npos, "nta") == 0) settings.titleAnimation = 0;
            break;
        }
    }
    return 0;
}

std::string usageText(std::string_view program)
{
    std::string text(loadString(str::Usage));
    // The second line shows how the program is started.
    const std::size_t line = text.find('\n') + 1;
    const std::size_t name = text.find(' ', line);
    if (line != 0 && name != std::string::npos) text.replace(line, name - line, program);
    return text;
}
