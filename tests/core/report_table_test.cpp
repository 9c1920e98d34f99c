#include "graph/report_table.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;

struct TableCase {
    const char* name;
    char delimiter;
    std::string box;
    int x, y;
    int xUncertainty, yUncertainty; // columns, 0 for none
    std::vector<std::string> heads;
    Rows rows;
};

const TableCase cases[] = {
    // The values as the box holds them, blanks around them trimmed: ".81"
    // stays ".81", "1.00" keeps its zeros.
    {"pendulum_with_its_uncertainty_column",
     ',',
     "L (m),T (s),u(T) (s),T^2,u(T^2)\r\n0.20,0.90,0.02, .81, .036\r\n1.00,2.01,0.02, 4.040, .0804",
     1, 4, 0, 5,
     {"row", "L (m)", "T^2", "u(T^2)"},
     {{"1", "0.20", ".81", ".036"}, {"2", "1.00", "4.040", ".0804"}}},
    // A row without a y is not plotted, so not in the table; the rows are
    // numbered as plotted.
    {"rows_not_plotted_left_out",
     ',',
     "t,v\r\n0,1\r\n1,x\r\n2,3",
     1, 2, 0, 0,
     {"row", "t", "v"},
     {{"1", "0", "1"}, {"2", "2", "3"}}},
    // x is the line number: the table shows it as the graph plots it.
    {"line_number_as_x",
     ';',
     "5,1;7\r\n5,3;8",
     0, 2, 0, 0,
     {"row", "line", "column 2"},
     {{"1", "1", "7"}, {"2", "2", "8"}}},
    // Both uncertainty columns, x's first, each value's own way of writing kept.
    {"both_uncertainties",
     ';',
     "x;y;ux;uy\r\n1;2.50;1e-1;+0.2",
     1, 2, 3, 4,
     {"row", "x", "y", "ux", "uy"},
     {{"1", "1", "2.50", "1e-1", "+0.2"}}},
};

class ReportTables : public testing::TestWithParam<TableCase> {};

TEST_P(ReportTables, HoldThePlottedRowsAsTheBoxHoldsThem)
{
    const TableCase& c = GetParam();
    const GraphTable table = readGraphTable(c.box, c.delimiter);
    GraphChoice choice = defaultChoice(table);
    choice.xColumn = c.x;
    choice.yColumn = c.y;
    for (const auto& [column, uncertainty] :
         {std::pair{c.xUncertainty, &choice.xUncertainty}, std::pair{c.yUncertainty, &choice.yUncertainty}})
        if (column > 0)
            *uncertainty = {UncertaintyChoice::Kind::Column, column, 0};
    const ReportTable report = reportTable(table, choice, plotGraph(table, choice), c.delimiter);
    EXPECT_EQ(report.heads, c.heads);
    EXPECT_EQ(report.rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportTables, testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
