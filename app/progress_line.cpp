#include "app/progress_line.h"

#include <unistd.h>

#include <cstdio>
#include <utility>

ProgressLine::ProgressLine(std::string program)
    : prefix_(std::move(program) + ": "), terminal_(isatty(STDERR_FILENO) == 1)
{
}

void ProgressLine::show(const std::string& line)
{
    if (!terminal_) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ > 0 && now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    const std::string text = prefix_ + line;
    // Padded over what the previous line left.
    const std::string padding(shown_ > text.size() ? shown_ - text.size() : 0, ' ');
    std::fprintf(stderr, "\r%s%s", text.c_str(), padding.c_str());
    std::fflush(stderr);
    shown_ = text.size();
}

void ProgressLine::clear()
{
    if (!terminal_ || shown_ == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(shown_, ' ').c_str());
    std::fflush(stderr);
    shown_ = 0;
}
