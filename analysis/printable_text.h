#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Text from a file or the command line as a message may show it: control
// characters (C0, DEL and C1, which a terminal would act on) and bytes that
// are not UTF-8 become '?', and text past maxCharacters is cut with "...".
std::string printableText(std::string_view text, std::size_t maxCharacters = 80);
