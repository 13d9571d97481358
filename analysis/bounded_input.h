#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// Every file the program reads has a size it cannot sensibly pass, and every
// JSON file of ours is shallow: larger or deeper input is refused with a
// message instead of exhausting memory or the stack.

constexpr std::size_t kMegabyte = std::size_t{1} << 20;
// Nothing Pelmora writes nests deeper than a handful of levels; Cricsheet files about ten.
constexpr int kMaxJsonDepth = 64;

// Opens a file for reading without waiting for a writer (a FIFO with none reads
// as empty) and without following it into a folder; null with errno set.
std::FILE* openForReading(const std::string& path);

// Reads a whole file of at most maxBytes; false with the reason ("larger than
// 16 MB", the system's message) otherwise.
bool readBoundedFile(const std::string& path, std::size_t maxBytes, std::string& text, std::string& error);
// Reads at most maxBytes from an open stream; false with the reason.
bool readBoundedStream(std::FILE* file, std::size_t maxBytes, std::string& text, std::string& error);

// Empty when the JSON text nests arrays and objects no deeper than maxDepth;
// else a message saying so. Strings are skipped, so brackets in names count for nothing.
std::string jsonDepthError(std::string_view text, int maxDepth = kMaxJsonDepth);

// "16 MB", "512 KB": a limit as the user reads it.
std::string describeSize(std::size_t bytes);
