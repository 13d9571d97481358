#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Text is UTF-8 everywhere. A team file that is not valid UTF-8 is taken as
// Latin-1 (each byte one character) and converted; names are cut by
// characters and never carry control characters.

// Checks UTF-8 piece by piece, so a character split between two reads of a
// long line is still judged whole.
class Utf8Validator {
public:
    void feed(std::string_view bytes);
    // True when nothing fed so far breaks UTF-8. A character still open at
    // the end may go on in bytes not fed (a reader that stops early).
    bool valid() const { return valid_; }
    // Valid, and no character left open.
    bool complete() const { return valid_ && pending_ == 0; }

private:
    bool valid_ = true;
    int pending_ = 0;              // continuation bytes still expected
    unsigned char lowest_ = 0x80;  // bounds of the next continuation byte
    unsigned char highest_ = 0xBF;
};

bool isValidUtf8(std::string_view bytes);

// At most `maxCharacters` characters of the first word, as UTF-8: decoded as
// UTF-8 when `utf8`, else each byte as Latin-1. Control characters
// (U+0000-U+001F, U+007F-U+009F) become '?'.
std::string cleanName(std::string_view raw, bool utf8, std::size_t maxCharacters = 15);

// Characters (code points) in valid UTF-8 text.
std::size_t characterCount(std::string_view utf8);

// Appends the text and then blanks up to `width` characters, as "%-*s" does
// for single-byte text.
void appendPadded(std::string& out, std::string_view utf8, std::size_t width);

// The longest prefix of at most `maxBytes` bytes that does not end inside a character.
std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes);
