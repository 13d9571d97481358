#include "rating/progress.h"

#include <unistd.h>

#include <cstdio>

#include "teams/text_encoding.h"

Progress::Progress() : terminal_(isatty(STDERR_FILENO) == 1) {}

void Progress::show(const std::string& line)
{
    if (!terminal_) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ > 0 && now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    // Padded over what the previous line left.
    const std::string padding(shown_ > line.size() ? shown_ - line.size() : 0, ' ');
    std::fprintf(stderr, "\rpelmora-rate: %s%s", line.c_str(), padding.c_str());
    std::fflush(stderr);
    shown_ = line.size();
}

void Progress::clear()
{
    if (!terminal_ || shown_ == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(shown_ + 14, ' ').c_str());
    std::fflush(stderr);
    shown_ = 0;
}

Progress& progress()
{
    static Progress line;
    return line;
}

void complain(const std::string& message)
{
    progress().clear();
    const std::string shown = cleanName(message, isValidUtf8(message), std::string::npos);
    std::fprintf(stderr, "pelmora-rate: %s\n", shown.c_str());
}
