#include "analysis/json_document.h"

#include "analysis/bounded_input.h"
#include "analysis/printable_text.h"

namespace {

// The parser's own words without its exception number or the bytes it last
// read: "at line 1, column 5: syntax error while parsing value - invalid literal",
// or "number overflow parsing '1E999'".
std::string parseFault(const nlohmann::json::exception& e)
{
    std::string_view what = e.what();
    if (const std::size_t tag = what.find("] ");
        what.rfind("[json.exception.", 0) == 0 && tag != std::string_view::npos)
        what.remove_prefix(tag + 2);
    const std::string_view marker = "parse error ";
    if (what.rfind(marker, 0) == 0) what.remove_prefix(marker.size());
    if (const std::size_t last = what.find("; last read"); last != std::string_view::npos) what = what.substr(0, last);
    return printableText(std::string(what), 200);
}

}  // namespace

template <typename Json>
bool parseJsonDocument(std::string_view text, std::string_view kind, Json& document, std::string& error)
{
    std::string why;
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        why = "the file is empty";
    } else if (std::string deep = jsonDepthError(text); !deep.empty()) {
        why = std::move(deep);
    } else {
        try {
            document = Json::parse(text);
            return true;
        } catch (const nlohmann::json::parse_error& e) {
            why = "not valid JSON " + parseFault(e);
        } catch (const nlohmann::json::exception& e) {  // a number out of range, say
            why = "not valid JSON: " + parseFault(e);
        }
    }
    error = "not a " + std::string(kind) + " (" + why + ")";
    return false;
}

template bool parseJsonDocument(std::string_view, std::string_view, nlohmann::json&, std::string&);
template bool parseJsonDocument(std::string_view, std::string_view, nlohmann::ordered_json&, std::string&);
