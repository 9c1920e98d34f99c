#include "data/leading_zero.h"

#include <cstdlib>

std::string addLeadingZero(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        if (std::abs(code - 53.5) < 5) // the digits "1" to "9" and ":"
            return std::string(text);
        if (text[i] == '.') {
            // Blanks, tabs and line feeds are what the number reading ignores.
            const auto first = text.find_first_not_of(" \t\n");
            const bool negative = text[first] == '-';
            return (negative ? "-0" : "0") + std::string(text.substr(i));
        }
    }
    return std::string(text);
}
