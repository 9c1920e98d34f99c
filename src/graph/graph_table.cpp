#include "graph/graph_table.h"

#include "data/fields.h"

#include <algorithm>

namespace {

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// Calls visit(line) for each line; CR LF, CR and LF end a line.
template <typename Visit> void forEachLine(std::string_view text, Visit visit)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        visit(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

std::vector<std::optional<double>> rowNumbers(std::string_view line, char delimiter)
{
    std::vector<std::optional<double>> numbers;
    forEachField(line, delimiter, [&](int k, std::string_view field) {
        if (k <= mostPlottedColumns)
            numbers.push_back(leadingNumber(field));
    });
    return numbers;
}

} // namespace

GraphTable readGraphTable(std::string_view boxText, char delimiter)
{
    GraphTable table;
    std::string_view lastNonEmpty; // the nearest non-empty line above, until data starts
    forEachLine(boxText, [&](std::string_view line) {
        const std::string_view first = line.substr(0, line.find(delimiter));
        if (!leadingNumber(first)) {
            if (table.dataRows == 0 && !line.empty())
                lastNonEmpty = line;
            return;
        }
        if (table.dataRows++ == 0 && !lastNonEmpty.empty())
            forEachField(lastNonEmpty, delimiter, [&](int, std::string_view name) {
                table.columnNames.push_back(trimmed(name));
            });
        if (table.rows.size() < static_cast<std::size_t>(mostPlottedRows)) {
            table.rows.push_back(rowNumbers(line, delimiter));
            table.columns = std::max(table.columns, static_cast<int>(table.rows.back().size()));
        }
    });
    return table;
}
