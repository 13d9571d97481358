#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

#include "teams/text_encoding.h"

// Copies at most N-1 bytes of text into a char[N] field and terminates it.
// Longer texts are cut, never inside a UTF-8 character.
template <std::size_t N>
void storeText(char (&field)[N], std::string_view text)
{
    const std::size_t n = utf8PrefixLength(text, N - 1);
    if (n > 0) std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

// The same, keeping at most maxCharacters characters of UTF-8 text.
template <std::size_t N>
void storeCharacters(char (&field)[N], std::string_view text, std::size_t maxCharacters)
{
    std::size_t bytes = 0;
    for (std::size_t characters = 0; bytes < text.size(); ++bytes)
        if ((static_cast<unsigned char>(text[bytes]) & 0xC0) != 0x80 && characters++ == maxCharacters) break;
    storeText(field, text.substr(0, bytes));
}
