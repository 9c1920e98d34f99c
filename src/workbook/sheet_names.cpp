#include "workbook/sheet_names.h"

#include <algorithm>
#include <string_view>

namespace {

bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

// At most `characters` characters of the text, cut between characters.
std::string firstCharacters(std::string_view text, std::size_t characters)
{
    std::size_t counted = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (startsCharacter(text[i]) && ++counted > characters)
            return std::string(text.substr(0, i));
    return std::string(text);
}

// ASCII letters in capitals: how a spreadsheet compares sheet names (other
// letters are compared as they are, which may leave two names a spreadsheet
// would call the same; the library refuses those, and the export says so).
std::string inCapitals(std::string_view name)
{
    std::string capitals(name);
    std::transform(capitals.begin(), capitals.end(), capitals.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return capitals;
}

std::string_view withoutApostrophesAtEnds(std::string_view name)
{
    while (!name.empty() && name.front() == '\'')
        name.remove_prefix(1);
    while (!name.empty() && name.back() == '\'')
        name.remove_suffix(1);
    return name;
}

} // namespace

std::string SheetNames::valid(std::string_view wanted)
{
    std::string name;
    for (char c : wanted) {
        const bool forbidden = std::string_view("[]:*?/\\").find(c) != std::string_view::npos;
        const bool control = static_cast<unsigned char>(c) < 0x20;
        name.push_back(forbidden || control ? '_' : c);
    }
    name = firstCharacters(withoutApostrophesAtEnds(name), longestSheetName);
    name = std::string(withoutApostrophesAtEnds(name));
    // "History" is a name spreadsheets keep for themselves.
    if (name.empty() || inCapitals(name) == "HISTORY")
        return name.empty() ? "data" : name + "_";
    return name;
}

std::string SheetNames::unique(std::string_view wanted)
{
    const std::string name = valid(wanted);
    std::string chosen = name;
    for (int n = 2; taken(chosen); ++n) {
        const std::string suffix = " (" + std::to_string(n) + ")";
        chosen = std::string(withoutApostrophesAtEnds(
                     firstCharacters(name, longestSheetName - suffix.size()))) +
                 suffix;
    }
    taken_.push_back(inCapitals(chosen));
    return chosen;
}

bool SheetNames::taken(std::string_view name) const
{
    return std::find(taken_.begin(), taken_.end(), inCapitals(name)) != taken_.end();
}
