#include "graph/report_table.h"

#include "data/fields.h"

namespace {

// The columns the table shows, from 1 (0 the line number): x, y, and the
// uncertainty columns in use; a histogram's values alone.
std::vector<int> shownColumns(const GraphChoice& choice)
{
    if (choice.histogram)
        return {choice.yColumn};
    std::vector<int> columns;
    for (const auto& [column, u] : {std::pair{choice.xColumn, &choice.xUncertainty},
                                    std::pair{choice.yColumn, &choice.yUncertainty}}) {
        columns.push_back(column);
        if (u->kind == UncertaintyChoice::Kind::Column)
            columns.push_back(u->column);
    }
    return columns;
}

// "200 000": the count with a blank between each three digits.
std::string grouped(std::size_t count)
{
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ' ');
    return digits;
}

} // namespace

ReportTable reportTable(const GraphTable& table, const GraphChoice& choice, const GraphPlot& plot,
                        char delimiter, const std::string& wholeData)
{
    ReportTable report;
    const std::vector<int> columns = shownColumns(choice);
    report.heads.push_back("row");
    for (const int column : columns)
        report.heads.push_back(columnTitle(table, column));
    const std::size_t total = plot.rows.size();
    const bool shortened = total > longestReportTable;
    for (std::size_t i = 0; i < total; ++i) {
        if (shortened && i == firstReportRows) {
            report.rows.emplace_back(report.heads.size(), "...");
            i = total - lastReportRows;
        }
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
    if (shortened)
        report.note = "The table shows the first " + grouped(firstReportRows) + " and the last " +
                      grouped(lastReportRows) + " of the " + grouped(total) + " rows plotted; " +
                      grouped(total - firstReportRows - lastReportRows) +
                      " are left out here. The whole data are in " + wholeData + ".";
    return report;
}
