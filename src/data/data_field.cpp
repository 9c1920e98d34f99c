#include "data/data_field.h"

#include "data/fields.h"
#include "data/number_reading.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isDigitOfBase(char c, bool hexadecimal)
{
    if (hexadecimal)
        return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    return c >= '0' && c <= '7';
}

// "&H1F" or "&O17" and nothing else: its value; nothing otherwise.
std::optional<double> wholeBasedNumber(std::string_view text)
{
    const bool hexadecimal = text[1] == 'H' || text[1] == 'h';
    const std::string_view digits = text.substr(2);
    if (digits.empty())
        return std::nullopt;
    for (const char c : digits)
        if (!isDigitOfBase(c, hexadecimal))
            return std::nullopt;
    return readNumberIfAny(text);
}

} // namespace

DataField readDataField(std::string_view field)
{
    DataField read;
    const std::string_view whole = withoutBlanks(field);
    const std::string_view start = whole.substr(0, 2);
    if (start == "&H" || start == "&h" || start == "&O" || start == "&o") {
        read.beginsWithNumber = true;
        read.number = wholeBasedNumber(whole);
        read.malformed = !read.number;
        return read;
    }
    std::size_t i = 0;
    if (i < whole.size() && (whole[i] == '+' || whole[i] == '-'))
        ++i;
    while (i < whole.size() && isBlank(whole[i])) // "- 5" still begins a data row
        ++i;
    const bool digitFirst = i < whole.size() && isDigit(whole[i]);
    const bool pointFirst = i + 1 < whole.size() && whole[i] == '.' && isDigit(whole[i + 1]);
    if (!digitFirst && !pointFirst)
        return read;
    read.beginsWithNumber = true;
    while (i < whole.size() && (isDigit(whole[i]) || whole[i] == '.'))
        ++i;
    read.decimalComma = i + 1 < whole.size() && whole[i] == ',' && isDigit(whole[i + 1]);
    if (read.decimalComma)
        return read;
    read.number = readAnswer(whole);
    read.malformed = !read.number;
    return read;
}
