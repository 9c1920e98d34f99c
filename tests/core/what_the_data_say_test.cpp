// What the window and the batch show must be what the data say: no typo read
// as a number, no row with a field too many taken, no block of data hidden
// without a word.

#include "batch/batch_run.h"
#include "format/report_number.h"
#include "graph/graph_plot.h"
#include "graph/point_density.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <random>
#include <sstream>

namespace {

bool hasNote(const GraphPlot& plot, const std::string& note)
{
    return std::find(plot.notes.begin(), plot.notes.end(), note) != plot.notes.end();
}

GraphChoice lineFit(const GraphTable& table)
{
    GraphChoice choice = defaultChoice(table);
    choice.model.kind = ModelKind::Line;
    return choice;
}

struct TypoCase {
    const char* name;
    char delimiter;
    std::string box;
    int fitted;                     // points the fit takes
    std::vector<std::string> notes; // among the plot's notes
};

// y = 2 x with typos: a letter O for a zero, two points, a decimal comma in a
// comma file (a field too many), a unit after the number.
const TypoCase typoCases[] = {
    {"letter_o_and_decimal_comma",
     ',',
     "t,x\r\n1,2\r\n2,4.1\r\n3,6\r\n4,8.2\r\n5,1O.2\r\n6,12.1\r\n7,14,0\r\n8,16",
     6,
     {"line 6: \"1O.2\" is not a number",
      "line 8 has 3 fields where its header names 2; it is left out"}},
    {"two_points_and_a_unit",
     ';',
     "t;x\r\n1;2\r\n2;12.0.1\r\n3;6 cm\r\n4;8\r\n5;10",
     3,
     {"2 fields are not numbers; the first is in line 3: \"12.0.1\""}},
    {"several_rows_too_wide",
     ',',
     "t,x\r\n1,2\r\n2,4,5\r\n3,6,1\r\n4,8\r\n5,10\r\n6,12",
     4,
     {"2 rows have more fields than their header names and are left out; the first: line 3 has "
      "3 fields where its header names 2"}},
    // Rows wider than a header that most rows do not follow are the data's
    // own shape, not typos: all are taken.
    {"a_header_most_rows_do_not_follow", ',', "value\r\n1,2\r\n2,4\r\n3,6", 3, {}},
};

class Typos : public testing::TestWithParam<TypoCase> {};

TEST_P(Typos, AreNamedAndLeftOutNeverReadAsAnotherNumber)
{
    const TypoCase& c = GetParam();
    const GraphTable table = readGraphTable(c.box, c.delimiter);
    const GraphPlot plot = plotGraph(table, lineFit(table));
    ASSERT_TRUE(plot.fit && plot.fit->fitted()) << plot.text();
    EXPECT_EQ(plot.fit->points, c.fitted) << plot.text();
    for (const std::string& note : c.notes)
        EXPECT_TRUE(hasNote(plot, note)) << note << "\nnot in\n" << plot.text();
    for (const Point& p : plot.points)
        EXPECT_NEAR(p.y, 2 * p.x, 0.3) << "a point that is not in the data";
}

INSTANTIATE_TEST_SUITE_P(Boxes, Typos, testing::ValuesIn(typoCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct OtherBlocksCase {
    const char* name;
    std::string box;
    std::size_t shown;
    std::optional<std::string> note;
};

const OtherBlocksCase otherBlocks[] = {
    {"a_note_line_inside_a_recording",
     "t (s),U (V)\r\n0,1\r\n1,2\r\n2,3\r\n-- battery changed --\r\n3,4\r\n4,5", 0,
     "the data go on after line 4, \"-- battery changed --\": choose them in the data list"},
    {"the_last_block_names_the_one_before",
     "t (s),U (V)\r\n0,1\r\n1,2\r\n-- battery changed --\r\n3,4", 1,
     "more data stand before line 5, \"t (s),U (V)\": choose them in the data list"},
    {"blocks_without_a_header", "1\r\n2\r\n\r\n\r\n3", 0,
     "the data go on after line 2, in lines 3 to 3: choose them in the data list"},
    {"one_block", "t,x\r\n1,2\r\n3,4", 0, std::nullopt},
};

class OtherBlocks : public testing::TestWithParam<OtherBlocksCase> {};

TEST_P(OtherBlocks, AreNamedWhenOneIsShown)
{
    const std::vector<GraphTable> blocks = readGraphBlocks(GetParam().box, ',');
    EXPECT_EQ(otherBlocksNote(blocks, GetParam().shown), GetParam().note);
}

INSTANTIATE_TEST_SUITE_P(Boxes, OtherBlocks, testing::ValuesIn(otherBlocks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OtherBlocks, TheBatchSaysThatItReadsTheFirstOnly)
{
    std::istringstream input("t,x\r\n0,1\r\n1,3\r\n2,5\r\n-- battery changed --\r\n3,7\r\n");
    const BatchResult result = runBatch({"fit", "--model", "line"}, input);
    EXPECT_EQ(result.exitStatus, producedOutput);
    EXPECT_NE(result.err.find("message: the data go on after line 4, \"-- battery changed --\": "
                              "the batch reads the first block only\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("through 3 points"), std::string::npos) << result.out;
}

TEST(Typos, TheBatchNamesThemOnStandardError)
{
    std::istringstream input("t,x\r\n1,2\r\n2,4\r\n3,1O.2\r\n4,8\r\n");
    const BatchResult result = runBatch({"fit", "--model", "line"}, input);
    EXPECT_NE(result.err.find("message: line 4: \"1O.2\" is not a number\n"), std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("through 3 points"), std::string::npos) << result.out;
}

struct StartColumns {
    const char* header;
    int x, y;
};

// The y column at start is the first after x that holds no uncertainty.
TEST(DefaultColumns, AreNeverAnUncertaintyColumn)
{
    const StartColumns cases[] = {
        {"L,u(L),T,u(T)", 1, 3}, {"L (m),ΔL (m),T (s)", 1, 3}, {"t,x,y", 1, 2}, {"x,u(x)", 0, 1},
        {"t,±,v,±", 1, 3},
    };
    for (const StartColumns& c : cases) {
        const std::string header = c.header;
        const auto fields = std::count(header.begin(), header.end(), ',') + 1;
        std::string row = "1";
        for (long k = 1; k < fields; ++k)
            row += ",1";
        const GraphTable table = readGraphTable(header + "\r\n" + row + "\r\n" + row, ',');
        const GraphChoice choice = defaultChoice(table);
        EXPECT_EQ(choice.xColumn, c.x) << c.header;
        EXPECT_EQ(choice.yColumn, c.y) << c.header;
    }
}

// A range given from its high end, as typed with a decimal comma ("0,9" to
// "0.3") or dragged leftwards, takes the points between its ends.
TEST(FitRanges, CountTheirPointsInEitherOrder)
{
    std::string box = "x,y\r\n";
    for (int i = 0; i < 10; ++i)
        box += "0." + std::to_string(i) + "," + std::to_string(2 * i + 1) + "\r\n";
    const GraphTable table = readGraphTable(box, ',');
    for (const auto& [from, to] : {std::pair{0.9, 0.3}, std::pair{0.3, 0.9}}) {
        GraphChoice choice = lineFit(table);
        choice.fitFrom = from;
        choice.fitTo = to;
        const GraphPlot plot = plotGraph(table, choice);
        ASSERT_TRUE(plot.fit->fitted());
        EXPECT_EQ(plot.fit->points, 7);
        EXPECT_NE(plot.text().find("fitted from x = 0.3 to x = 0.9 (7 of 10 points)"),
                  std::string::npos)
            << plot.text();
    }
}

// Charges that are exact multiples of 1.6 × 10⁻¹⁹ C: the fitted A carries an
// uncertainty at the rounding of a double, which is said as such, never
// printed as if it were measured, with 19 digits.
TEST(Precision, AnUncertaintyAtTheRoundingLevelIsSaidAsSuch)
{
    std::string box = "n,q (C)\r\n";
    for (const int n : {3, 5, 6, 8, 9, 11, 12, 14}) { // off by a few units of the last digit
        char charge[32];
        const double scatter = n % 2 == 0 ? 1 + 4e-16 : 1 - 4e-16;
        *std::to_chars(charge, charge + sizeof charge - 1, n * 1.6e-19 * scatter).ptr = '\0';
        box += std::to_string(n) + "," + charge + "\r\n";
    }
    const GraphTable table = readGraphTable(box, ',');
    GraphChoice choice = defaultChoice(table);
    choice.model.kind = ModelKind::Proportional;
    choice.results = "A*2";
    const GraphPlot plot = plotGraph(table, choice);
    const std::string text = plot.text();
    EXPECT_NE(text.find("A = 1.6 × 10⁻¹⁹ C (exact within the precision of the computation)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("A*2 = 3.2 × 10⁻¹⁹ C (exact within the precision of the computation)"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("99999"), std::string::npos) << text;
    // A measured uncertainty keeps its two digits.
    EXPECT_EQ(valueWithUncertainty(1.6e-19, 0.013e-19), "(1.600 ± 0.013) × 10⁻¹⁹");
    EXPECT_EQ(valueWithUncertainty(2.5, 1e-15), "2.5");
    EXPECT_EQ(precisionNote(2.5, 1e-9), "");
}

// y = 3 sin(2.2 x) with noise fitted as A*sin(B*x) from B = 1: the solver
// settles in a poor minimum (R² 0.03) with every parameter fixed. The
// program's own starts are tried as well, and the better fit is kept with
// the start it came from named.
TEST(OwnEquations, APoorFitFromTheGivenStartsGivesWayToTheProgramsStarts)
{
    std::mt19937 engine(5);
    std::normal_distribution<double> noise(0, 0.05);
    std::string box = "x,y\r\n";
    for (int i = 0; i < 60; ++i)
        box += std::to_string(i * 0.1) + "," +
               std::to_string(3 * std::sin(2.2 * i * 0.1) + noise(engine)) + "\r\n";
    const GraphTable table = readGraphTable(box, ',');
    GraphChoice choice = defaultChoice(table);
    choice.model.kind = ModelKind::OwnEquation;
    choice.model.equation = "A*sin(B*x)";
    choice.model.starts = {{"B", 1}};
    const GraphPlot plot = plotGraph(table, choice);
    ASSERT_TRUE(plot.fit->fitted()) << plot.text();
    EXPECT_NEAR(std::fabs(plot.fit->values[0]), 3, 0.05) << plot.text();
    EXPECT_NEAR(std::fabs(plot.fit->values[1]), 2.2, 0.01) << plot.text();
    EXPECT_GT(*plot.fit->rSquared, 0.999);
    EXPECT_NE(plot.text().find("starting values found by the program: "), std::string::npos)
        << plot.text();
    EXPECT_NE(plot.text().find("(from those given, the fit reached only R² = 0.02"),
              std::string::npos)
        << plot.text();
}

// The cooling curve of thirty readings over 900 s from the default starts
// (k = 1 acts on the first row only): fitted right, as without noise.
TEST(OwnEquations, ACoolingCurveWithNoiseIsFittedFromTheDefaultStarts)
{
    std::mt19937 engine(11);
    std::normal_distribution<double> noise(0, 0.08);
    std::string box = "t (s),T (°C)\r\n";
    for (int i = 0; i < 30; ++i) {
        const double t = i * 900.0 / 29;
        box += std::to_string(t) + "," +
               std::to_string(22 + 58 * std::exp(-0.0035 * t) + noise(engine)) + "\r\n";
    }
    std::istringstream input(box);
    const BatchResult batch = runBatch({"fit", "--json", "--equation", "T0 + A*exp(-k*x)"}, input);
    ASSERT_EQ(batch.exitStatus, producedOutput) << batch.err;
    EXPECT_EQ(batch.err, "");
    EXPECT_NE(batch.out.find("\"r_squared\": 0.9999"), std::string::npos) << batch.out;
}

// A fit no better than the data's mean is never printed without a warning;
// the batch repeats it on standard error.
TEST(PoorFits, AreNeverPrintedWithoutAWarning)
{
    std::istringstream input("x,y\r\n1,5\r\n2,1\r\n3,6\r\n4,2\r\n5,5\r\n6,1\r\n7,5\r\n8,2\r\n");
    const BatchResult result = runBatch({"fit", "--model", "line"}, input);
    ASSERT_EQ(result.exitStatus, producedOutput);
    const std::string warning = "warning: the curve explains the data hardly better than their "
                                "mean does; the model may not suit them";
    EXPECT_NE(result.out.find(warning), std::string::npos) << result.out;
    EXPECT_NE(result.err.find("message: " + warning + "\n"), std::string::npos) << result.err;
}

// Every point counts on its marker's square, none is dropped for sharing a
// pixel column with others, and the rows where most readings lie are the
// densest: 1.000 ± 0.010 is densest at 1.000.
TEST(PointDensity, CountsEveryPointAndIsDensestWhereMostLie)
{
    std::mt19937 engine(3);
    std::normal_distribution<double> noise(0, 0.010);
    std::vector<Point> points;
    for (int i = 0; i < 30000; ++i)
        points.push_back({i * 0.001, 1 + noise(engine)});
    const Axis x = makeAxis(0, 30, false), y = makeAxis(0.95, 1.05, false);
    const int width = 300, height = 200, spread = 3;
    const PointDensity density = pointDensity(points, x, y, width, height, spread);
    std::uint64_t total = 0;
    int densestRow = 0;
    std::uint64_t densest = 0;
    for (int row = 0; row < height; ++row) {
        std::uint64_t sum = 0;
        for (int column = 0; column < width; ++column)
            sum += density.at(column, row);
        total += sum;
        if (sum > densest) {
            densest = sum;
            densestRow = row;
        }
    }
    EXPECT_EQ(total, points.size() * spread * spread);
    const double meanRow = (1 - y.fraction(1.0)) * height;
    EXPECT_NEAR(densestRow, meanRow, 3);
    // Outside the axes nothing is counted; a point on the last pixel is.
    const PointDensity edges =
        pointDensity({{-1, 1}, {30, 1.05}, {31, 1}}, makeAxis(0, 30, false), y, 10, 10, 1);
    EXPECT_EQ(edges.most, 1u);
}

// A marker of any size is the square of pixels behind its point: the counts
// of markers of `spread` pixels are the sums over such squares of the counts
// of one-pixel markers, moved to centre the square, for points away from the
// plot's right and bottom edges (where a marker is held inside the plot).
TEST(PointDensity, MarkersOfEverySizeAreSquaresOfSinglePixels)
{
    std::mt19937 engine(11);
    std::uniform_real_distribution<double> inside(0, 0.9);
    std::vector<Point> points;
    for (int i = 0; i < 3000; ++i)
        points.push_back({inside(engine), 0.1 + inside(engine)});
    const Axis axis = makeAxis(0, 1, false);
    const int width = 47, height = 31;
    const PointDensity single = pointDensity(points, axis, axis, width, height, 1);
    const auto singleAt = [&](int column, int row) {
        return column < 0 || row < 0 ? 0u : single.at(column, row);
    };
    for (const int spread : {2, 3, 4, 8}) {
        SCOPED_TRACE("spread " + std::to_string(spread));
        PointDensity marked;
        countPoints(points, axis, axis, width, height, spread, marked);
        std::uint32_t most = 0;
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column) {
                std::uint32_t sum = 0;
                for (int i = 0; i < spread; ++i)
                    for (int j = 0; j < spread; ++j)
                        sum += singleAt(column - spread / 2 - j, row - spread / 2 - i);
                ASSERT_EQ(marked.at(column, row), sum) << column << "," << row;
                most = std::max(most, sum);
            }
        EXPECT_EQ(marked.most, most);
    }
}

} // namespace
