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
    // Each uncertainty column right after its value's, each value's own way
    // of writing kept.
    {"both_uncertainties",
     ';',
     "x;y;ux;uy\r\n1;2.50;1e-1;+0.2",
     1, 2, 3, 4,
     {"row", "x", "ux", "y", "uy"},
     {{"1", "1", "1e-1", "2.50", "+0.2"}}},
    {"uncertainty_columns_after_all_values_in_the_box",
     ',',
     "L,T^2,u(L),u(T^2)\r\n0.2,0.81,0.001,0.036",
     1, 2, 3, 4,
     {"row", "L", "u(L)", "T^2", "u(T^2)"},
     {{"1", "0.2", "0.001", "0.81", "0.036"}}},
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

// 200 000 rows are not 3700 pages: the first and last rows, and a note of
// how many are left out and where the whole data are.
TEST(ReportTables, ALongTableKeepsItsFirstAndLastRows)
{
    for (const std::size_t rows : {longestReportTable, longestReportTable + 1, std::size_t{200000}}) {
        std::string box = "t (s),U (V)\r\n";
        for (std::size_t i = 1; i <= rows; ++i)
            box += std::to_string(i) + ",1\r\n";
        const GraphTable table = readGraphTable(box, ',');
        const GraphChoice choice = defaultChoice(table);
        const ReportTable report =
            reportTable(table, choice, plotGraph(table, choice), ',', "cooling.csv");
        if (rows <= longestReportTable) {
            EXPECT_EQ(report.rows.size(), rows);
            EXPECT_EQ(report.note, "");
            continue;
        }
        ASSERT_EQ(report.rows.size(), firstReportRows + 1 + lastReportRows);
        EXPECT_EQ(report.rows[firstReportRows - 1][1], std::to_string(firstReportRows));
        EXPECT_EQ(report.rows[firstReportRows][0], "...");
        EXPECT_EQ(report.rows.back()[0], std::to_string(rows));
        EXPECT_EQ(report.rows.back()[1], std::to_string(rows));
        if (rows == 200000) {
            EXPECT_EQ(report.note, "The table shows the first 200 and the last 50 of the 200 000 "
                                   "rows plotted; 199 750 are left out here. The whole data are "
                                   "in cooling.csv.");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportTables, testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
