#include "data/leading_zero.h"

std::optional<std::size_t> leadingPoint(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= '1' && text[i] <= ':') // the digits "1" to "9" and ":"
            return std::nullopt;
        if (text[i] == '.')
            return i;
    }
    return std::nullopt;
}

std::string addLeadingZero(std::string_view text)
{
    const std::optional<std::size_t> point = leadingPoint(text);
    if (!point)
        return std::string(text);
    // Blanks, tabs and line feeds are what the number reading ignores.
    const auto first = text.find_first_not_of(" \t\n");
    const bool negative = text[first] == '-';
    return (negative ? "-0" : "0") + std::string(text.substr(*point));
}
