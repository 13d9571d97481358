#include "analysis/printable_text.h"

#include "teams/text_encoding.h"

std::string printableText(std::string_view text, std::size_t maxCharacters)
{
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        if (characters == maxCharacters) {
            out += "...";
            break;
        }
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string_view piece = text.substr(i, length);
        const bool character = length == 1 ? lead < 0x80 : piece.size() == length && isValidUtf8(piece);
        const bool control = lead < 0x20 || lead == 0x7F ||
                             (lead == 0xC2 && piece.size() > 1 && static_cast<unsigned char>(piece[1]) < 0xA0);
        if (character && !control) {
            out += piece;
            i += length;
        } else {
            out += '?';
            i += character ? length : 1;
        }
    }
    return out;
}
