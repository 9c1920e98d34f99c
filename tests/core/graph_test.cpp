#include "graph/graph_plot.h"
#include "graph/growing_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

using Row = std::vector<std::optional<double>>;
constexpr std::nullopt_t none = std::nullopt;

struct TableCase {
    const char* name;
    char delimiter;
    std::string box;
    std::vector<Row> rows;
    std::vector<std::string> names;
};

const TableCase tables[] = {
    {"header_names_the_columns",
     ',',
     "time (s), x (cm) \r\n0,1\r\n0.5,3",
     {{0, 1}, {0.5, 3}},
     {"time (s)", "x (cm)"}},
    {"data_from_the_first_line", ',', "1,2\r\n3,4", {{1, 2}, {3, 4}}, {}},
    {"star_lines_and_reports_end_a_block",
     ',',
     "********  Differences are displayed below with original data **** 1\r\n 4, 3\r\n"
     "There are  2 numbers in your distribution.\r\n-.5",
     {{4, 3}},
     {"********  Differences are displayed below with original data **** 1"}},
    {"gaps_hold_no_point", ',', "1,\r\n2,x\r\n\r\n3,4,5", {{1, none}, {2, none}}, {}},
    {"tab_delimiter", '\t', "a\tb\r\n1\t2\r\n", {{1, 2}}, {"a", "b"}},
    // A number too large is a data row without that number; inf and nan are
    // no numbers, so not data rows.
    {"no_number_too_large_or_not_finite",
     ',',
     "1e999,1\r\ninf,2\r\nnan\r\n1,1e999",
     {{none, 1}},
     {}},
    // Never another number: the commands read l.417 as 0.417, t=.5 as 0.5 and
    // 1,5 (under a semicolon) as 1.
    {"text_before_a_number_or_a_decimal_comma",
     ';',
     "1;l.417\r\n2;t=.5\r\n1,5;2\r\n3;4 cm\r\n5;1O.2\r\n6;12.0.1",
     {{1, none}, {2, none}, {none, 2}, {3, none}, {5, none}, {6, none}},
     {}},
};

std::vector<Row> rowsOf(const GraphTable& table)
{
    std::vector<Row> rows;
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        rows.emplace_back();
        for (std::size_t k = 0; k < table.row(r).size(); ++k)
            rows.back().push_back(table.row(r)[k]);
    }
    return rows;
}

std::vector<std::string> nonEmptyLines(const std::string& box)
{
    std::vector<std::string> lines;
    std::istringstream in(box);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

class GraphTables : public testing::TestWithParam<TableCase> {};

TEST_P(GraphTables, TakeDataRowsAndColumnNames)
{
    const GraphTable table = readGraphTable(GetParam().box, GetParam().delimiter);
    EXPECT_EQ(rowsOf(table), GetParam().rows);
    EXPECT_EQ(table.columnNames, GetParam().names);
    // Each row keeps its line's text, as the box holds it.
    const std::vector<std::string> lines = nonEmptyLines(GetParam().box);
    for (std::size_t r = 0; r < table.rowCount(); ++r)
        EXPECT_EQ(table.lineText(r), lines.at(static_cast<std::size_t>(table.lineNumbers[r] - 1)));
}

INSTANTIATE_TEST_SUITE_P(Boxes, GraphTables, testing::ValuesIn(tables),
                         [](const auto& info) { return std::string(info.param.name); });

struct BlockName {
    std::string name;
    int dataRows;
    std::optional<std::string> hint;
};

struct BlocksCase {
    const char* name;
    char delimiter;
    std::string box;
    std::vector<BlockName> blocks;
};

const std::string semicolonHint = "no line contains the delimiter in force (comma); the lines seem "
                                  "to be separated by semicolons. Choose the delimiter with Change "
                                  "Delimiter and run the command again.";

const BlocksCase blockCases[] = {
    {"cooling_curve_after_difference_quotient",
     ',',
     "t (s),T (C)\r\n0,80\r\n60,62\r\n120,49\r\n"
     "********* Difference Quotients appear in Third Column, then below as Single Column.\r\n"
     "0,80\r\n 60, 62,-.3\r\n 120, 49,-.2167\r\n\r\n"
     "********* Difference Quotients in Single Column.\r\n-.3\r\n-.2167\r\n",
     {{"t (s),T (C)", 3, {}},
      {"********* Difference Quotients appear in...", 3, {}},
      {"********* Difference Quotients in Single...", 2, {}}}},
    {"no_header_names_the_lines",
     ',',
     "1\r\n2\r\n\r\n\r\n3",
     {{"lines 1 to 2", 2, {}}, {"lines 3 to 3", 1, {}}}},
    {"header_trimmed", ',', "  x, y  \r\n1,2", {{"x, y", 1, {}}}},
    {"semicolons_under_a_comma", ',', "t;x\r\n1;2\r\n3;4", {{"t;x", 2, semicolonHint}}},
    {"the_delimiter_in_force_stands_in_a_row", ';', "t;x\r\n1,5;2\r\n3;4", {{"t;x", 2, {}}}},
    {"decimal_commas_between_tabs_under_a_comma",
     ',',
     "0,5\t1,294\r\n1,0\t2,5",
     {{"lines 1 to 2", 2,
       "no line contains the delimiter in force (comma); the lines seem to be separated by tabs. "
       "Choose the delimiter with Change Delimiter and run the command again. Their commas stand "
       "between digits: decimal commas, which are read only as points (paste the rows again, or "
       "open them as a file, and answer Yes)."}}},
};

TEST(GraphBlocks, NameTheFieldsThatWriteADecimalComma)
{
    const GraphTable table = readGraphTable("t\tx\r\n0,5\t1,294\r\n1.0\t2,5", '\t');
    EXPECT_EQ(rowsOf(table), (std::vector<Row>{{none, none}, {1, none}}));
    EXPECT_EQ(table.decimalCommaNote,
              "3 fields write their decimals with a comma, which the program reads only as a "
              "point; the first is in line 2: \"0,5\t1,294\". Change the commas to points: paste "
              "the rows again, or open them as a file, and answer Yes.");
    EXPECT_EQ(readGraphTable("1\t2", '\t').decimalCommaNote, std::nullopt);
}

class GraphBlocks : public testing::TestWithParam<BlocksCase> {};

TEST_P(GraphBlocks, AreRunsOfDataRowsNamedByTheLineAbove)
{
    const std::vector<GraphTable> blocks = readGraphBlocks(GetParam().box, GetParam().delimiter);
    ASSERT_EQ(blocks.size(), GetParam().blocks.size());
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        EXPECT_EQ(blocks[b].name, GetParam().blocks[b].name);
        EXPECT_EQ(blocks[b].dataRows, GetParam().blocks[b].dataRows);
        EXPECT_EQ(blocks[b].delimiterHint, GetParam().blocks[b].hint);
    }
}

INSTANTIATE_TEST_SUITE_P(Boxes, GraphBlocks, testing::ValuesIn(blockCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GraphTables, KeepEveryRow)
{
    std::string box;
    for (int i = 0; i < 100000; ++i)
        box += std::to_string(i) + "\r\n";
    const GraphTable table = readGraphTable(box, ',');
    EXPECT_EQ(table.rowCount(), 100000u);
    EXPECT_EQ(table.dataRows, 100000);
    const GraphPlot plot = plotGraph(table, defaultChoice(table));
    EXPECT_EQ(plot.points.size(), 100000u);
    EXPECT_TRUE(plot.notes.empty());
}

struct AxisCase {
    double low, high;
    bool fromZero;
    std::vector<std::string> labels;
};

const AxisCase axes[] = {
    {0, 10, false, {"0", "2", "4", "6", "8", "10"}},
    {0.12, 0.31, false, {"0.15", "0.20", "0.25", "0.30"}},
    {5, 5, false, {"4.6", "4.8", "5.0", "5.2", "5.4"}},
    {0, 0, false, {"-1.0", "-0.5", "0", "0.5", "1.0"}},
    {5, 10, true, {"0", "2", "4", "6", "8", "10"}},
    {-3, -1, true, {"-3", "-2", "-1", "0"}},
    {1e9, 1e9 + 60, false, {"1000000000", "1000000020", "1000000040", "1000000060"}},
};

class Axes : public testing::TestWithParam<AxisCase> {};

TEST_P(Axes, CoverTheDataWithNiceTicks)
{
    const AxisCase& c = GetParam();
    const Axis axis = makeAxis(c.low, c.high, c.fromZero);
    EXPECT_EQ(axis.labels, c.labels);
    EXPECT_LE(axis.low, c.fromZero ? std::min(c.low, 0.0) : c.low);
    EXPECT_GE(axis.high, c.high);
    EXPECT_DOUBLE_EQ(axis.fraction(axis.low), 0);
    EXPECT_DOUBLE_EQ(axis.fraction(axis.high), 1);
}

INSTANTIATE_TEST_SUITE_P(Ranges, Axes, testing::ValuesIn(axes));

struct PowerCase {
    double low, high;
    std::vector<std::string> labels;
    const char* power;
};

const PowerCase powerCases[] = {
    // charges of an oil drop: 1.6 × 10⁻¹⁹ C and its multiples
    {1.6e-19, 8.0e-19, {"2", "4", "6", "8"}, "× 10⁻¹⁹"},
    {0, 0.0008, {"0", "2", "4", "6", "8"}, "× 10⁻⁴"},
    {0, 1.2e7, {"0", "0.2", "0.4", "0.6", "0.8", "1.0", "1.2"}, "× 10⁷"},
    // no power where the labels are short, or where it would not shorten them
    {0, 0.004, {"0", "0.001", "0.002", "0.003", "0.004"}, ""},
    {0, 900000, {"0", "200000", "400000", "600000", "800000"}, ""},
    {1e9, 1e9 + 60, {"1000000000", "1000000020", "1000000040", "1000000060"}, ""},
};

TEST(Axes, ShowACommonPowerOfTenWhereLabelsWouldBeLong)
{
    for (const PowerCase& c : powerCases) {
        const Axis axis = makeAxis(c.low, c.high, false);
        EXPECT_EQ(axis.labels, c.labels) << c.low << " " << c.high;
        EXPECT_EQ(axis.powerLabel(), c.power) << c.low << " " << c.high;
    }
}

struct LogCase {
    double low, high;
    std::vector<std::string> labels;
    std::size_t minorTicks;
};

const LogCase logCases[] = {
    {1, 1000, {"1", "10", "100", "1000"}, 6},
    {0.002, 40, {"0.01", "0.1", "1", "10"}, 10},
    {3e-7, 2e-2, {"10⁻⁶", "10⁻⁵", "10⁻⁴", "10⁻³", "10⁻²"}, 11},
    {15, 300, {"20", "50", "100", "200"}, 0},    // less than two powers of ten
    // less than two powers of ten, two of them inside
    {110, 2327, {"100", "200", "500", "1000", "2000"}, 0},
    {1.5, 90, {"2", "5", "10", "20", "50", "100"}, 0},
    {20, 40, {"20", "25", "30", "35", "40"}, 0}, // less than one 1-2-5 step
};

TEST(Axes, LogarithmicAxesLabelThePowersOfTen)
{
    for (const LogCase& c : logCases) {
        const Axis axis = makeLogAxis(c.low, c.high);
        EXPECT_TRUE(axis.logarithmic);
        EXPECT_EQ(axis.labels, c.labels) << c.low << " " << c.high;
        EXPECT_EQ(axis.minorTicks.size(), c.minorTicks) << c.low << " " << c.high;
        EXPECT_LE(axis.low, c.low);
        EXPECT_GE(axis.high, c.high);
        for (const double tick : axis.ticks) {
            EXPECT_GE(axis.fraction(tick), -1e-12);
            EXPECT_LE(axis.fraction(tick), 1 + 1e-12);
            EXPECT_NEAR(axis.valueAt(axis.fraction(tick)), tick, 1e-9 * tick);
        }
    }
    // Equal steps on the page for each power of ten; nothing at or below 0.
    const Axis axis = makeLogAxis(1, 100);
    EXPECT_NEAR(axis.fraction(10) - axis.fraction(1), axis.fraction(100) - axis.fraction(10),
                1e-12);
    EXPECT_EQ(axis.fraction(0), -std::numeric_limits<double>::infinity());
}

TEST(Axes, HaveFourTicksFrom300PixelsUp)
{
    for (const int pixels : {300, 450, 700, 1200})
        for (const auto& [low, high] : {std::pair{0.0, 1000.0}, {-3.7, 12.2}, {440.0, 460.0}}) {
            const Axis axis = makeAxis(low, high, false, ticksForPixels(pixels));
            EXPECT_GE(axis.ticks.size(), 4u) << pixels << ": " << low << " to " << high;
            EXPECT_GE(axis.ticks.size(), static_cast<std::size_t>(pixels / 80));
        }
}

TEST(Axes, StayFiniteAndPlainAtTheEndsOfADouble)
{
    const double largest = std::numeric_limits<double>::max();
    for (const auto& [low, high] : {std::pair{-largest, largest},
                                    {largest, largest},
                                    {-1e308, 1e308},
                                    {4.9e-324, 4.9e-324},
                                    {1e-300, 2e-300}}) {
        const Axis axis = makeAxis(low, high, false);
        ASSERT_TRUE(std::isfinite(axis.low) && std::isfinite(axis.high) && axis.low < axis.high);
        EXPECT_GE(axis.ticks.size(), 2u) << low << " " << high;
        for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
            EXPECT_TRUE(std::isfinite(axis.ticks[i]));
            EXPECT_EQ(axis.labels[i].find_first_of("eE"), std::string::npos) << axis.labels[i];
        }
        EXPECT_NEAR(axis.fraction(axis.low), 0, 1e-12);
        EXPECT_NEAR(axis.fraction(axis.high), 1, 1e-12);
        EXPECT_GE(axis.fraction(low), 0);
        EXPECT_LE(axis.fraction(high), 1);
    }
}

ModelChoice lineModel()
{
    ModelChoice model;
    model.kind = ModelKind::Line;
    return model;
}

std::vector<Point> norrisPoints()
{
    std::ifstream file(std::string(BENCHTABLER_TEST_DATA) + "/straight_line_norris.csv");
    std::stringstream text;
    text << file.rdbuf();
    const GraphTable table = readGraphTable(text.str(), ',');
    return plotGraph(table, defaultChoice(table)).points;
}

void expectSignificantDigits(double value, double certified, const char* what)
{
    EXPECT_NEAR(value, certified, std::fabs(certified) * 1e-9) << what;
}

TEST(LineFits, ReproduceTheCertifiedNorrisValues)
{
    const std::vector<Point> points = norrisPoints();
    ASSERT_EQ(points.size(), 36u);
    const CurveFit fit = fitCurve(points, lineModel());
    ASSERT_TRUE(fit.fitted()) << fit.failure;
    expectSignificantDigits(fit.values[0], 1.00211681802045, "slope");
    expectSignificantDigits(fit.uncertainties[0], 0.429796848199937E-03, "u(slope)");
    expectSignificantDigits(fit.values[1], -0.262323073774029, "intercept");
    expectSignificantDigits(fit.uncertainties[1], 0.232818234301152, "u(intercept)");
    expectSignificantDigits(*fit.rSquared, 0.999993745883712, "R squared");
    expectSignificantDigits(*fit.residualStandardDeviation, 0.884796396144373, "s");
    expectSignificantDigits(fit.residualSumOfSquares, 26.6173985294224, "SSE");
}

struct FitCase {
    const char* name;
    std::vector<Point> points;
    std::string text;
};

const FitCase fits[] = {
    {"no_point", {}, "Straight-line fit: a line needs at least two points; there are 0 points."},
    {"one_point",
     {{1, 2}},
     "Straight-line fit: a line needs at least two points; there is 1 point."},
    {"all_x_equal",
     {{2, 1}, {2, 5}, {2, 3}},
     "Straight-line fit: all 3 points have the same x, so no line of the form y = m x + b fits "
     "them."},
    {"two_points",
     {{0, 1}, {2, 5}},
     "Straight-line fit y = m x + b through 2 points:\nslope m = 2.000\nintercept b = 1.000\n"
     "R² = 1.000000\n"
     "The uncertainties are not defined for two points."},
    {"all_y_equal",
     {{0, 3}, {1, 3}, {2, 3}},
     "Straight-line fit y = m x + b through 3 points:\nslope m = 0 ± 0\nintercept b = 3.000 ± 0\n"
     "R² = not defined (all y are equal)\n"
     "± gives the standard uncertainty (one standard deviation)."},
    {"clock_times_do_not_cancel",
     {{1e9, 1}, {1e9 + 1, 3.1}, {1e9 + 2, 4.9}, {1e9 + 3, 7.1}},
     "Straight-line fit y = m x + b through 4 points:\nslope m = 2.010 ± 0.052\n"
     "intercept b = (-2.010 ± 0.052) × 10⁹\nR² = 0.998665\n"
     "± gives the standard uncertainty (one standard deviation)."},
    {"slope_too_large",
     {{0, -1.7e308}, {1e-300, 1.7e308}, {2e-300, 0}},
     "Straight-line fit: the numbers are too large for a line to be computed."},
};

class LineFitTexts : public testing::TestWithParam<FitCase> {};

TEST_P(LineFitTexts, SayWhatTheFitGives)
{
    EXPECT_EQ(describeFit(fitCurve(GetParam().points, lineModel())), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Points, LineFitTexts, testing::ValuesIn(fits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GraphPlots, LeaveOutRowsWithoutANumberAndSaySo)
{
    const GraphTable table = readGraphTable("t,x\r\n0,1\r\n1,\r\n2,x\r\n3,7", ',');
    const GraphChoice choice = defaultChoice(table);
    EXPECT_EQ(choice.xColumn, 1);
    EXPECT_EQ(choice.yColumn, 2);
    const GraphPlot plot = plotGraph(table, choice);
    EXPECT_EQ(plot.points.size(), 2u);
    EXPECT_EQ(plot.xTitle, "t");
    EXPECT_EQ(plot.yTitle, "x");
    EXPECT_EQ(plot.notes, std::vector<std::string>{
                              "2 rows have no number in column 2; the first is line 3: \"1,\""});

    const GraphTable single = readGraphTable("5\r\n7", ',');
    const GraphPlot againstLines = plotGraph(single, defaultChoice(single));
    EXPECT_EQ(againstLines.xTitle, "line");
    EXPECT_EQ(againstLines.yTitle, "column 1");
    EXPECT_EQ(againstLines.points[1].x, 2);
}

} // namespace

namespace {

TEST(GraphPlots, DrawTheCurveAcrossTheAxisBrokenAtAPole)
{
    const GraphTable table =
        readGraphTable("0,-0.4\r\n1,-0.667\r\n2,-2\r\n3,2\r\n4,0.667\r\n5,0.4", ',');
    GraphChoice choice = defaultChoice(table);
    choice.model.kind = ModelKind::OwnEquation;
    choice.model.equation = "a/(x - b)";
    choice.model.starts = {{"b", 2.4}};
    const GraphPlot plot = plotGraph(table, choice);
    ASSERT_TRUE(plot.fit && plot.fit->fitted()) << plot.text();
    ASSERT_EQ(plot.curve.size(), 2u); // one piece each side of x = 2.5
    EXPECT_DOUBLE_EQ(plot.curve.front().front().x, plot.x.low);
    EXPECT_DOUBLE_EQ(plot.curve.back().back().x, plot.x.high);
    for (const auto& piece : plot.curve)
        for (std::size_t i = 1; i < piece.size(); ++i) // no leap across the plot
            EXPECT_FALSE(plot.y.fraction(piece[i - 1].y) > 1 && plot.y.fraction(piece[i].y) < 0);
}

} // namespace

namespace {

// A recording's box: a header, then rows with a gap, a negative value, a
// zero and a missing uncertainty among them.
std::vector<std::string> recordedChunks()
{
    std::vector<std::string> chunks{"t,x,u(x)"};
    for (int i = 0; i < 60; ++i) {
        std::string chunk;
        for (int k = 0; k < 1 + i % 4; ++k) {
            const int n = 4 * i + k;
            const std::string x = n == 7    ? ""
                                  : n == 30 ? "-2"
                                  : n == 41 ? "0"
                                            : std::to_string(n * n % 97);
            const std::string u = n % 13 == 0 ? "" : std::to_string(1 + n % 5);
            chunk += "\r\n" + std::to_string(n) + "," + x + "," + u;
        }
        chunks.push_back(chunk);
    }
    return chunks;
}

void expectSameAxis(const Axis& grown, const Axis& whole)
{
    EXPECT_EQ(grown.low, whole.low);
    EXPECT_EQ(grown.high, whole.high);
    EXPECT_EQ(grown.labels, whole.labels);
}

// Rows read as they come give the plot the whole table gives, whatever is
// chosen and whenever it changes.
TEST(GraphPlots, OfAGrowingTableAreThePlotsOfTheWholeTable)
{
    GraphChoice points;
    points.xColumn = 1;
    points.yColumn = 2;
    GraphChoice bars = points;
    bars.yUncertainty = {UncertaintyChoice::Kind::Column, 3, 0};
    bars.model.kind = ModelKind::Line;
    GraphChoice logY = points;
    logY.logY = true;
    GraphChoice againstLines = bars;
    againstLines.xColumn = 0;
    const std::vector<GraphChoice> choices{points, logY, bars, againstLines};

    GraphBlockReader reader(',');
    GrowingPlot growing;
    GraphPlot shown;
    const std::vector<std::string> chunks = recordedChunks();
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        ASSERT_TRUE(reader.add(chunks[i]));
        if (reader.blocks().empty()) // the header alone
            continue;
        const GraphChoice& choice = choices[i / 8 % choices.size()]; // changed every 8 chunks
        const GraphTable& table = reader.blocks().front();
        shown = growing.plot(table, choice, std::move(shown));
        const GraphPlot whole = plotGraph(table, choice);
        SCOPED_TRACE("chunk " + std::to_string(i));
        ASSERT_EQ(shown.points.size(), whole.points.size());
        for (std::size_t p = 0; p < whole.points.size(); ++p) {
            EXPECT_EQ(shown.points[p].x, whole.points[p].x);
            EXPECT_EQ(shown.points[p].y, whole.points[p].y);
        }
        EXPECT_EQ(shown.rows, whole.rows);
        ASSERT_EQ(shown.bars.size(), whole.bars.size());
        for (std::size_t b = 0; b < whole.bars.size(); ++b)
            EXPECT_EQ(std::isnan(shown.bars[b].uy) ? -1 : shown.bars[b].uy,
                      std::isnan(whole.bars[b].uy) ? -1 : whole.bars[b].uy);
        expectSameAxis(shown.x, whole.x);
        expectSameAxis(shown.y, whole.y);
        EXPECT_EQ(shown.text(), whole.text());
    }
}

// A plot that is not the one made last (the graph showed another) is not
// extended: the table is read whole.
TEST(GraphPlots, OfAGrowingTableReadItWholeForAnotherPlot)
{
    GraphBlockReader reader(',');
    ASSERT_TRUE(reader.add("1,2\r\n2,3"));
    GraphChoice choice;
    choice.xColumn = 1;
    choice.yColumn = 2;
    GrowingPlot growing;
    GraphPlot shown = growing.plot(reader.blocks().front(), choice, {});
    ASSERT_EQ(shown.points.size(), 2u);
    ASSERT_TRUE(reader.add("\r\n3,5"));
    const GraphPlot grown = growing.plot(reader.blocks().front(), choice, {});
    EXPECT_EQ(grown.points.size(), 3u);
    EXPECT_EQ(grown.y.low, plotGraph(reader.blocks().front(), choice).y.low);
}

} // namespace
