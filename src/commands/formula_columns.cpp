#include "commands/formula_columns.h"

#include "data/working_state.h"
#include "formula/equation.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

// The K of "cK", or nothing when the name is not of that form (c0 and c01
// are not).
std::optional<long> columnNumber(const std::string& name)
{
    if (name.size() < 2 || name[0] != 'c' || name[1] == '0')
        return std::nullopt;
    long column = 0;
    const auto [end, error] = std::from_chars(name.data() + 1, name.data() + name.size(), column);
    if (end != name.data() + name.size() || error == std::errc::invalid_argument)
        return std::nullopt;
    return error == std::errc::result_out_of_range ? maxTableColumns + 1L : column;
}

// A column's header name can stand in a formula: a name of the formula
// language that means nothing else there, on a column of values (not one
// that holds another column's uncertainty).
bool offersName(const ColumnHeads& heads, std::size_t k)
{
    const std::string& name = heads.names[k];
    bool holdsUncertainty = false;
    for (const int column : heads.uncertaintyColumns)
        holdsUncertainty = holdsUncertainty || column == static_cast<int>(k);
    return !holdsUncertainty && isVariableName(name) && name != "n" && !columnNumber(name);
}

std::vector<int> columnsNamed(const ColumnHeads& heads, const std::string& name)
{
    std::vector<int> columns;
    for (std::size_t k = 0; k < heads.names.size(); ++k)
        if (heads.names[k] == name && offersName(heads, k))
            columns.push_back(static_cast<int>(k) + 1);
    return columns;
}

// "a, b or c"; "a, b and c" with `lastWord` "and".
std::string listed(const std::vector<std::string>& items, const char* lastWord)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() ? std::string(" ") + lastWord + " " : ", ";
        text += items[i];
    }
    return text;
}

// "the columns are L, T or c1 to c4, and n is the row number".
std::string whatTheBoxOffers(const ColumnHeads& heads, int columns)
{
    std::vector<std::string> names;
    for (std::size_t k = 0; k < heads.names.size(); ++k)
        if (offersName(heads, k) &&
            std::find(names.begin(), names.end(), heads.names[k]) == names.end())
            names.push_back(heads.names[k]);
    names.push_back(columns <= 1 ? std::string("c1") : "c1 to c" + std::to_string(columns));
    return std::string(columns <= 1 ? "the column is " : "the columns are ") + listed(names, "or") +
           ", and n is the row number";
}

std::string sharedName(const std::string& name, const std::vector<int>& columns)
{
    std::vector<std::string> numbers, cNames;
    for (const int column : columns) {
        numbers.push_back(std::to_string(column));
        cNames.push_back(std::string(1, 'c').append(numbers.back()));
    }
    return "the formula uses \"" + name + "\", the name of columns " + listed(numbers, "and") +
           "; use " + listed(cNames, "or") + " instead";
}

} // namespace

std::variant<std::vector<int>, std::string> columnsOfFormula(const std::vector<std::string>& names,
                                                             const ColumnHeads& heads, int columns)
{
    std::vector<int> result;
    for (const std::string& name : names) {
        if (name == "n") {
            result.push_back(0);
            continue;
        }
        if (const std::optional<long> column = columnNumber(name)) {
            if (*column > maxTableColumns)
                return "the formula uses \"" + name + "\"; there are at most 100 columns";
            result.push_back(static_cast<int>(*column));
            continue;
        }
        const std::vector<int> named = columnsNamed(heads, name);
        if (named.size() > 1)
            return sharedName(name, named);
        if (named.empty())
            return "the formula uses \"" + name + "\"; " + whatTheBoxOffers(heads, columns);
        result.push_back(named.front());
    }
    return result;
}
