#include "data/data_field.h"

#include "data/fields.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

DataField readDataField(std::string_view field)
{
    DataField read;
    std::size_t i = 0;
    while (i < field.size() && isBlank(field[i]))
        ++i;
    if (field.substr(i, 2) == "&H" || field.substr(i, 2) == "&h" || field.substr(i, 2) == "&O" ||
        field.substr(i, 2) == "&o") {
        read.beginsWithNumber = true;
        read.number = leadingNumber(field);
        return read;
    }
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        ++i;
    while (i < field.size() && isBlank(field[i])) // the reading ignores blanks: "- 5" is -5
        ++i;
    const bool digitFirst = i < field.size() && isDigit(field[i]);
    const bool pointFirst = i + 1 < field.size() && field[i] == '.' && isDigit(field[i + 1]);
    if (!digitFirst && !pointFirst)
        return read;
    read.beginsWithNumber = true;
    while (i < field.size() && (isDigit(field[i]) || field[i] == '.'))
        ++i;
    read.decimalComma = i + 1 < field.size() && field[i] == ',' && isDigit(field[i + 1]);
    if (!read.decimalComma)
        read.number = leadingNumber(field);
    return read;
}
