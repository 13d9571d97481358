#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

// Copies at most N-1 bytes of text into a char[N] field and terminates it.
// Longer texts are cut; bytes are kept as they are.
template <std::size_t N>
void storeText(char (&field)[N], std::string_view text)
{
    std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    if (n > 0) std::memcpy(field, text.data(), n);
    field[n] = '\0';
}
