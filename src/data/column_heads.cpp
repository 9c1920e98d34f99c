#include "data/column_heads.h"

#include "data/fields.h"

namespace {

// "(s)", "[m/s²]": a unit in parentheses or brackets.
bool isUnit(std::string_view text)
{
    return text.size() >= 2 && ((text.front() == '(' && text.back() == ')') ||
                                (text.front() == '[' && text.back() == ']'));
}

// Nothing, or a unit, after a name.
bool isNothingOrUnit(std::string_view rest)
{
    rest = withoutBlanks(rest);
    return rest.empty() || isUnit(rest);
}

// "Position, x (m)" without its quotes (a doubled quote inside is one).
std::string unquoted(std::string_view field)
{
    if (field.size() < 2 || field.front() != '"' || field.back() != '"')
        return std::string(field);
    std::string content;
    for (std::size_t i = 1; i + 1 < field.size(); ++i) {
        content += field[i];
        if (field[i] == '"' && field[i + 1] == '"')
            ++i;
    }
    return content;
}

// Where a trailing unit in parentheses or brackets after a blank begins
// ("T (s)": at "("), or npos.
std::size_t unitStart(std::string_view field)
{
    if (field.empty() || (field.back() != ')' && field.back() != ']'))
        return std::string_view::npos;
    const auto open = field.rfind(field.back() == ')' ? '(' : '[');
    if (open != std::string_view::npos && open > 0 &&
        (field[open - 1] == ' ' || field[open - 1] == '\t'))
        return open;
    return std::string_view::npos;
}

std::string nameOf(std::string_view field)
{
    field = withoutBlanks(field);
    const std::size_t unit = unitStart(field);
    return std::string(unit == std::string_view::npos ? field
                                                      : withoutBlanks(field.substr(0, unit)));
}

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

// Whether a header field marks the standard uncertainty of the column named
// `name` just before it.
bool isUncertaintyOf(std::string_view field, const std::string& name)
{
    field = withoutBlanks(field);
    if (startsWith(field, "±"))
        return isNothingOrUnit(field.substr(std::string_view("±").size()));
    if (name.empty())
        return false;
    const std::string marked[] = {"u(" + name + ")", "Δ" + name, "δ" + name};
    for (const std::string& mark : marked)
        if (startsWith(field, mark) && isNothingOrUnit(field.substr(mark.size())))
            return true;
    return false;
}

} // namespace

std::string unitOfHeader(std::string_view field)
{
    field = withoutBlanks(field);
    const std::size_t start = unitStart(field);
    if (start == std::string_view::npos)
        return {};
    return std::string(withoutBlanks(field.substr(start + 1, field.size() - start - 2)));
}

int ColumnHeads::uncertaintyColumnOf(int column) const
{
    if (column < 0 || column >= static_cast<int>(uncertaintyColumns.size()))
        return -1;
    return uncertaintyColumns[static_cast<std::size_t>(column)];
}

std::vector<std::string> headerFields(std::string_view line, char delimiter)
{
    std::vector<std::string> fields;
    std::string field;
    bool inQuotes = false;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || (line[i] == delimiter && !inQuotes)) {
            fields.emplace_back(unquoted(withoutBlanks(field)));
            field.clear();
            continue;
        }
        inQuotes = line[i] == '"' ? !inQuotes : inQuotes;
        field += line[i];
    }
    return fields;
}

ColumnHeads readColumnHeads(const std::vector<std::string>& fields)
{
    ColumnHeads heads;
    for (const std::string& field : fields)
        heads.names.push_back(nameOf(field));
    heads.uncertaintyColumns.assign(fields.size(), -1);
    for (std::size_t k = 1; k < fields.size(); ++k)
        if (isUncertaintyOf(fields[k], heads.names[k - 1]))
            heads.uncertaintyColumns[k - 1] = static_cast<int>(k);
    return heads;
}
