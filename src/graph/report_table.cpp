#include "graph/report_table.h"

#include "data/fields.h"

namespace {

// The columns the table shows, from 1 (0 the line number): x, y, and the
// uncertainty columns in use; a histogram's values alone.
std::vector<int> shownColumns(const GraphChoice& choice)
{
    if (choice.histogram)
        return {choice.yColumn};
    std::vector<int> columns = {choice.xColumn, choice.yColumn};
    for (const UncertaintyChoice* u : {&choice.xUncertainty, &choice.yUncertainty})
        if (u->kind == UncertaintyChoice::Kind::Column)
            columns.push_back(u->column);
    return columns;
}

} // namespace

ReportTable reportTable(const GraphTable& table, const GraphChoice& choice, const GraphPlot& plot,
                        char delimiter)
{
    ReportTable report;
    const std::vector<int> columns = shownColumns(choice);
    report.heads.push_back("row");
    for (const int column : columns)
        report.heads.push_back(columnTitle(table, column));
    for (std::size_t i = 0; i < plot.rows.size(); ++i) {
        const std::size_t r = plot.rows[i];
        std::vector<std::string> fields;
        forEachField(table.lineText(r), delimiter, [&](int, std::string_view field) {
            fields.emplace_back(withoutBlanks(field));
        });
        std::vector<std::string> row = {std::to_string(i + 1)};
        for (const int column : columns) {
            if (column == 0)
                row.push_back(std::to_string(r + 1)); // the line number, as x plots it
            else
                row.push_back(static_cast<std::size_t>(column) <= fields.size()
                                  ? fields[static_cast<std::size_t>(column - 1)]
                                  : std::string());
        }
        report.rows.push_back(std::move(row));
    }
    return report;
}
