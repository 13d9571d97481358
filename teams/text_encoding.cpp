#include "teams/text_encoding.h"

void Utf8Validator::feed(std::string_view bytes)
{
    for (unsigned char c : bytes) {
        if (!valid_) return;
        if (pending_ > 0) {
            if (c < lowest_ || c > highest_) {
                valid_ = false;
                return;
            }
            lowest_ = 0x80;
            highest_ = 0xBF;
            --pending_;
            continue;
        }
        if (c < 0x80) continue;
        // Lead bytes; the first continuation byte's range rules out overlong
        // forms, surrogates and code points past U+10FFFF.
        if (c >= 0xC2 && c <= 0xDF) {
            pending_ = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            pending_ = 2;
            if (c == 0xE0) lowest_ = 0xA0;
            if (c == 0xED) highest_ = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            pending_ = 3;
            if (c == 0xF0) lowest_ = 0x90;
            if (c == 0xF4) highest_ = 0x8F;
        } else {
            valid_ = false;
        }
    }
}

bool isValidUtf8(std::string_view bytes)
{
    Utf8Validator v;
    v.feed(bytes);
    return v.complete();
}

namespace {

void appendCodePoint(std::string& out, char32_t cp)
{
    if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
        out += '?';
    } else if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Length of the UTF-8 sequence a lead byte starts (1 for anything else).
std::size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::string cleanName(std::string_view raw, bool utf8, std::size_t maxCharacters)
{
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < raw.size() && characters < maxCharacters; ++characters) {
        const unsigned char lead = static_cast<unsigned char>(raw[i]);
        if (!utf8 || lead < 0x80) {
            appendCodePoint(out, lead);
            ++i;
            continue;
        }
        std::size_t n = sequenceLength(lead);
        if (i + n > raw.size()) n = raw.size() - i;  // cannot happen in valid text
        char32_t cp = n == 2 ? (lead & 0x1F) : n == 3 ? (lead & 0x0F) : (lead & 0x07);
        for (std::size_t k = 1; k < n; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(raw[i + k]) & 0x3F);
        appendCodePoint(out, cp);
        i += n;
    }
    return out;
}

std::size_t characterCount(std::string_view utf8)
{
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

void appendPadded(std::string& out, std::string_view utf8, std::size_t width)
{
    out += utf8;
    const std::size_t n = characterCount(utf8);
    if (n < width) out.append(width - n, ' ');
}

std::size_t utf8PrefixLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes) return text.size();
    std::size_t n = maxBytes;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}
