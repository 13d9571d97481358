#pragma once
#include <QString>
#include <string_view>

// The match's texts are plain bytes (team files may hold any); Latin-1 gives
// every byte a character, as the old single-byte code page did.
inline QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A text of the string table.
QString uiText(int id);
