#pragma once
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game_options.h"

// What the command line sets besides GameOptions.
struct CommandLineSettings {
    int titleAnimation = 1;
    int autoplay = 0;
    std::FILE* bowlerListFile = nullptr;  // opened by /a=FileName, never read
    std::optional<std::string> outputFileName;
    std::optional<std::string> team1File;
    std::optional<std::string> team2File;
    int randomSeed = 0;  // 0: seed from the calendar time
    // "/t", "/o", "/l" as given: the match's type and report, which a match file fixes.
    std::vector<std::string> matchSettingsGiven;
};

// Splits the command line at " ,\t\n" and applies each option token in order;
// later tokens override earlier ones. Returns 1 when /? asks for the usage
// text (tokens after it are not looked at), else 0. Opens the bowler list
// file of /a=FileName; the caller owns that handle.
int parseCommandLine(const std::string& commandLine, CommandLineSettings& settings, GameOptions& options);

// The usage text, with the name the program was installed as.
std::string usageText(std::string_view program);

// atoi, but a value outside the int range saturates instead of being undefined.
int saturatingAtoi(const char* text);
