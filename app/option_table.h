// The "--name=value" options of a console program, read from one table that
// also writes their --help lines, so what a program takes and what it says
// it takes cannot drift apart.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

template <class Settings>
struct Option {
    std::string_view name;   // "--matches"
    std::string_view value;  // what --help calls the value ("N"); empty for a flag
    std::string_view help;   // the rest of its --help line; further lines start "\n  "
    // Reads the value (the text after "=", or nullptr for a flag) into the
    // settings; returns why it cannot, empty when it can.
    std::string (*read)(Settings& settings, const char* value);
    bool once = true;  // given twice, the command line is refused
};

// "--matches=N : play N matches ...", one line (or more) per option.
template <class Settings>
std::string optionsHelp(std::span<const Option<Settings>> table)
{
    std::string text;
    for (const Option<Settings>& o : table) {
        text += o.name;
        if (!o.value.empty()) text.append("=").append(o.value);
        text.append(" : ").append(o.help).append("\n");
    }
    return text;
}

// The same as a column: "  --name=VALUE" then its help from column `column`
// (further lines of the help, split at "\n", start there too).
template <class Settings>
std::string alignedOptionsHelp(std::span<const Option<Settings>> table, std::size_t column)
{
    std::string text;
    for (const Option<Settings>& o : table) {
        std::string head = "  " + std::string(o.name);
        if (!o.value.empty()) head.append("=").append(o.value);
        head.append(head.size() + 2 <= column ? column - head.size() : 2, ' ');
        text += head;
        for (char c : o.help) {
            text += c;
            if (c == '\n') text.append(column, ' ');
        }
        text += '\n';
    }
    return text;
}

// Reads one argument starting "--" into the settings. `seen` counts, per
// entry of the table, how often it was given. Returns why the argument is
// refused, empty when it was read.
template <class Settings>
std::string readOption(std::span<const Option<Settings>> table, const char* argument, Settings& settings,
                       std::span<int> seen)
{
    const std::string_view text(argument);
    const std::size_t eq = text.find('=');
    const std::string_view name = text.substr(0, eq);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Option<Settings>& o = table[i];
        if (o.name != name) continue;
        if (o.value.empty() && eq != std::string_view::npos)
            return std::string(name) + " takes no value, not \"" + std::string(text.substr(eq + 1)) + "\"";
        if (!o.value.empty() && eq == std::string_view::npos)
            return std::string(name) + " needs a value: " + std::string(name) + "=" + std::string(o.value);
        if (++seen[i] > 1 && o.once) return std::string(name) + " is given more than once";
        return o.read(settings, eq == std::string_view::npos ? nullptr : argument + eq + 1);
    }
    return "unknown option " + std::string(text);
}

// Reads a whole number from `low` to `high`; the problem names the option.
inline std::string readWholeNumber(std::string_view option, const char* text, long long low, long long high,
                                   long long& out)
{
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || v < low || v > high)
        return std::string(option) + " needs a whole number from " + std::to_string(low) + " to " +
               std::to_string(high) + ", not \"" + text + "\"";
    out = v;
    return {};
}

template <class Int>
std::string readWholeNumber(std::string_view option, const char* text, long long low, long long high, Int& out)
{
    long long v = 0;
    std::string why = readWholeNumber(option, text, low, high, v);
    if (why.empty()) out = static_cast<Int>(v);
    return why;
}
