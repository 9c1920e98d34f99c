#include "graph/report_table.h"

#include "data/fields.h"
#include "format/report_number.h"

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

} // namespace

namespace {

// A plotted row of a table (at row r of its block) as the report shows it.
std::vector<std::string> rowCells(const GraphTable& table, std::size_t r,
                                  const std::vector<int>& columns, char delimiter)
{
    std::vector<std::string> fields;
    forEachField(table.lineText(r), delimiter, [&](int, std::string_view field) {
        fields.emplace_back(withoutBlanks(field));
    });
    std::vector<std::string> cells;
    for (const int column : columns) {
        if (column == 0)
            cells.push_back(std::to_string(r + 1)); // the line number, as x plots it
        else
            cells.push_back(static_cast<std::size_t>(column) <= fields.size()
                                ? fields[static_cast<std::size_t>(column - 1)]
                                : std::string());
    }
    return cells;
}

// The rows numbered from 1, each made by `cells`; a table longer than the
// report keeps its first and last rows, and says so.
template <typename Cells>
void addRows(ReportTable& report, std::size_t total, const std::string& wholeData, Cells cells)
{
    const bool shortened = total > longestReportTable;
    for (std::size_t i = 0; i < total; ++i) {
        if (shortened && i == firstReportRows) {
            report.rows.emplace_back(report.heads.size(), "...");
            i = total - lastReportRows;
        }
        std::vector<std::string> row = {std::to_string(i + 1)};
        for (std::string& cell : cells(i))
            row.push_back(std::move(cell));
        report.rows.push_back(std::move(row));
    }
    if (shortened)
        report.note = "The table shows the first " + groupedCount(firstReportRows) + " and the last " +
                      groupedCount(lastReportRows) + " of the " + groupedCount(total) + " rows plotted; " +
                      groupedCount(total - firstReportRows - lastReportRows) +
                      " are left out here. The whole data are in " + wholeData + ".";
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
    addRows(report, plot.rows.size(), wholeData, [&](std::size_t i) {
        return rowCells(table, plot.rows[i], columns, delimiter);
    });
    return report;
}

ReportTable reportTableOfRuns(const std::vector<GraphTable>& blocks, const GraphChoice& choice,
                              const GraphPlot& plot, char delimiter, const std::string& wholeData)
{
    ReportTable report;
    if (plot.runs.empty())
        return report;
    const std::vector<int> columns = shownColumns(choice);
    report.heads = {"row", "run"};
    for (const int column : columns)
        report.heads.push_back(columnTitle(blocks[plot.runs.front().block], column));
    // Row i of the whole table: a run's row, the runs one after the other.
    std::vector<std::pair<std::size_t, std::size_t>> rows; // run, its point
    for (std::size_t k = 0; k < plot.runs.size(); ++k)
        for (std::size_t p = 0; p < plot.runs[k].rows.size(); ++p)
            rows.emplace_back(k, p);
    addRows(report, rows.size(), wholeData, [&](std::size_t i) {
        const RunPlot& run = plot.runs[rows[i].first];
        std::vector<std::string> cells = {run.name};
        for (std::string& cell :
             rowCells(blocks[run.block], run.rows[rows[i].second], columns, delimiter))
            cells.push_back(std::move(cell));
        return cells;
    });
    return report;
}
