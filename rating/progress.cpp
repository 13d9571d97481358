#include "rating/progress.h"

#include <cstdio>

#include "teams/text_encoding.h"

ProgressLine& progress()
{
    static ProgressLine line("pelmora-rate");
    return line;
}

void complain(const std::string& message)
{
    progress().clear();
    const std::string shown = cleanName(message, isValidUtf8(message), std::string::npos);
    std::fprintf(stderr, "pelmora-rate: %s\n", shown.c_str());
}
