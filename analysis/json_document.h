#pragma once
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// Parses the text of a JSON file of ours or of Cricsheet's, refusing nesting
// deeper than kMaxJsonDepth before the parser can recurse into it. On failure
// `error` is "not a KIND (WHY)", WHY being "the file is empty", "nested deeper
// than 64 levels" or "not valid JSON at line L, column C: what was wrong", so
// every reader says the same thing of the same fault.
// Made for nlohmann::json and nlohmann::ordered_json.
template <typename Json>
bool parseJsonDocument(std::string_view text, std::string_view kind, Json& document, std::string& error);
