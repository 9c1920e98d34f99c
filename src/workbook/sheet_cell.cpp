#include "workbook/sheet_cell.h"

#include "data/data_field.h"

#include <algorithm>
#include <cmath>

namespace {

bool blank(std::string_view field)
{
    return std::all_of(field.begin(), field.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// "21,5" read as "21.5": its first comma as a point, when that makes the
// whole field a number.
std::optional<double> decimalCommaNumber(std::string_view field)
{
    std::string pointed(field);
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    if (std::count(field.begin(), field.end(), ',') != 1)
        return std::nullopt;
    return readDataField(pointed).number;
}

} // namespace

SheetCell cellOfField(std::string_view field, bool decimalCommas)
{
    if (blank(field))
        return {};
    const DataField read = readDataField(field);
    std::optional<double> number = read.number;
    if (!number && read.decimalComma && decimalCommas)
        number = decimalCommaNumber(field);
    if (number && std::isfinite(*number))
        return {SheetCell::Kind::Number, *number, {}};
    return {SheetCell::Kind::Text, 0, field};
}

OwnCell OwnCell::of(double number)
{
    if (!std::isfinite(number))
        return {};
    return {SheetCell::Kind::Number, number, {}};
}

OwnCell OwnCell::of(std::string text)
{
    if (text.empty())
        return {};
    return {SheetCell::Kind::Text, 0, std::move(text)};
}
