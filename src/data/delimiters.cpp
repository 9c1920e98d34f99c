#include "data/delimiters.h"

#include <array>

namespace {

// In the order that settles a tie.
constexpr std::array<DelimiterName, 4> names{{
    {'\t', "tab", "tabs"},
    {';', "semicolon", "semicolons"},
    {',', "comma", "commas"},
    {' ', "space", "spaces"},
}};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the line holds the character as a delimiter.
bool holds(std::string_view line, char character, bool decimalCommas)
{
    for (std::size_t at = line.find(character); at != std::string_view::npos;
         at = line.find(character, at + 1)) {
        const bool decimalComma = decimalCommas && character == ',' && at > 0 &&
                                  at + 1 < line.size() && isDigit(line[at - 1]) &&
                                  isDigit(line[at + 1]);
        if (!decimalComma)
            return true;
    }
    return false;
}

} // namespace

const DelimiterName& delimiterNamed(char character)
{
    for (const DelimiterName& d : names)
        if (d.character == character)
            return d;
    return names[2];
}

std::optional<char> otherDelimiterOfLines(const std::vector<std::string_view>& lines, char inForce,
                                          bool decimalCommas)
{
    if (lines.empty())
        return std::nullopt;
    for (const std::string_view line : lines)
        if (holds(line, inForce, decimalCommas))
            return std::nullopt;
    std::optional<char> best;
    std::size_t bestLines = 0;
    for (const DelimiterName& other : names) {
        std::size_t count = 0;
        for (const std::string_view line : lines)
            count += other.character != inForce && holds(line, other.character, decimalCommas);
        if (count > bestLines) {
            best = other.character;
            bestLines = count;
        }
    }
    if (2 * bestLines < lines.size())
        return std::nullopt;
    return best;
}

std::string delimiterHintSentence(char inForce, char found)
{
    return std::string("no line contains the delimiter in force (") + delimiterNamed(inForce).name +
           "); the lines seem to be separated by " + delimiterNamed(found).plural +
           ". Choose the delimiter with Change Delimiter and run the command again.";
}
