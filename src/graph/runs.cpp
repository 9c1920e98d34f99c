#include "graph/runs.h"

#include "data/fields.h"
#include "data/number_reading.h"
#include "formula/equation.h"

#include <algorithm>

namespace {

std::vector<std::string_view> split(std::string_view text, char at)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(at, start);
        pieces.push_back(text.substr(start, end == text.npos ? text.npos : end - start));
        if (end == text.npos)
            return pieces;
        start = end + 1;
    }
}

// "0.50 m", "0,50 m", "200g": the number and the unit after it.
std::optional<RunValue> valueOf(std::string_view name, std::string_view written)
{
    written = withoutBlanks(written);
    std::size_t end = 0;
    while (end < written.size() &&
           std::string_view("+-0123456789.,eE").find(written[end]) != std::string_view::npos)
        ++end;
    // The longest start that is a number; what follows is the unit.
    for (; end > 0; --end) {
        std::string number(written.substr(0, end));
        std::replace(number.begin(), number.end(), ',', '.');
        if (const std::optional<double> value = readAnswer(number))
            return RunValue{std::string(name), *value,
                            std::string(withoutBlanks(written.substr(end)))};
    }
    return std::nullopt;
}

std::optional<RunValue> namedValue(std::string_view piece)
{
    const std::size_t equals = piece.find('=');
    if (equals == piece.npos)
        return std::nullopt;
    const std::string_view name = withoutBlanks(piece.substr(0, equals));
    if (!isVariableName(name))
        return std::nullopt;
    return valueOf(name, piece.substr(equals + 1));
}

// The pieces of a part between semicolons: split at its commas only where
// every piece then names a value, else whole (a decimal comma).
std::vector<std::string_view> valuePieces(std::string_view part)
{
    const std::vector<std::string_view> byComma = split(part, ',');
    const bool allNamed = std::all_of(byComma.begin(), byComma.end(), [](std::string_view piece) {
        return namedValue(piece).has_value();
    });
    return allNamed && byComma.size() > 1 ? byComma : std::vector<std::string_view>{part};
}

bool sameColumns(const GraphTable& a, const GraphTable& b)
{
    if (a.columnNames.empty() || b.columnNames.empty())
        return a.columnNames.empty() && b.columnNames.empty() && a.columns == b.columns;
    return a.columnNames == b.columnNames;
}

} // namespace

std::vector<RunValue> runValuesOf(std::string_view heading)
{
    std::vector<RunValue> values;
    for (const std::string_view part : split(heading, ';'))
        for (const std::string_view piece : valuePieces(part))
            if (std::optional<RunValue> value = namedValue(piece))
                values.push_back(std::move(*value));
    return values;
}

std::vector<Run> runsOf(const std::vector<GraphTable>& blocks)
{
    std::vector<Run> runs;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const std::string& heading = blocks[b].heading;
        runs.push_back(
            {b, heading.empty() ? "run " + std::to_string(b + 1) : heading, runValuesOf(heading)});
    }
    return runs;
}

RunSelection runsLike(const std::vector<GraphTable>& blocks, std::size_t like)
{
    RunSelection selection;
    if (like >= blocks.size())
        return selection;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        if (sameColumns(blocks[b], blocks[like]))
            selection.blocks.push_back(b);
        else if (!selection.firstOther)
            selection.firstOther = b;
    }
    return selection;
}

std::string otherColumnsNote(const GraphTable& block)
{
    return "the block \"" + block.name + "\" has other columns and is not drawn";
}
