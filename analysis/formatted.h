#pragma once
#include <cstdarg>
#include <cstdio>
#include <string>

// printf into a string, for the summaries' columns; text is cut at 511 bytes.
inline std::string vformatted(const char* format, va_list args)
{
    char buf[512];
    std::vsnprintf(buf, sizeof buf, format, args);
    return buf;
}

inline std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline std::string formatted(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = vformatted(format, args);
    va_end(args);
    return text;
}
