#pragma once
#include <QString>
#include <string_view>

// The match's texts (names, captions, commentary) are UTF-8.
inline QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A text of the string table.
QString uiText(int id);
