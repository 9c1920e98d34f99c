// A lab of several runs: names and values from the headings, the runs that
// share columns, a fit per run, and the results block that goes back into
// the box as data.

#include "graph/graph_plot.h"
#include "graph/growing_runs.h"
#include "graph/run_results.h"
#include "graph/runs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

void PrintTo(const RunValue& value, std::ostream* out)
{
    *out << value.name << "=" << value.value << " [" << value.unit << "]";
}

namespace {

struct HeadingCase {
    const char* heading;
    std::vector<RunValue> values;
};

const HeadingCase headings[] = {
    {"L = 0.50 m", {{"L", 0.5, "m"}}},
    {"L = 0.50 m; m = 200 g", {{"L", 0.5, "m"}, {"m", 200, "g"}}},
    {"L=0.5, m=200g", {{"L", 0.5, ""}, {"m", 200, "g"}}},
    {"L = 0,70 m", {{"L", 0.7, "m"}}}, // a decimal comma where commas separate nothing
    {"θ = 15 °; run 2", {{"θ", 15, "°"}}},
    {"v0 = 1.2e3 m/s", {{"v0", 1200, "m/s"}}},
    {"lid on", {}},
    {"x = y", {}},
    {"2 = 3", {}},
};

TEST(RunHeadings, GiveTheRunsValues)
{
    for (const HeadingCase& c : headings)
        EXPECT_EQ(runValuesOf(c.heading), c.values) << c.heading;
}

// Five lengths of a pendulum, each a block under its heading; a block of
// masses with other columns; a command's star line over a block.
const char* const lab = "Pendulum lab, group 3\r\n"
                        "L = 0.50 m\r\nt (s),x (cm)\r\n0,1\r\n1,2\r\n2,3\r\n\r\n"
                        "L = 0.70 m\r\nt (s),x (cm)\r\n0,2\r\n1,4\r\n2,6\r\n\r\n"
                        "mass (g)\r\n100\r\n200\r\n\r\n"
                        "t (s),x (cm)\r\n0,3\r\n1,6\r\n2,9\r\n"
                        "***** a star line\r\nt (s),x (cm)\r\n0,4\r\n1,8\r\n2,12\r\n";

TEST(Runs, AreNamedByTheirHeadingsElseCounted)
{
    const std::vector<GraphTable> blocks = readGraphBlocks(lab, ',');
    ASSERT_EQ(blocks.size(), 5u);
    const std::vector<::Run> runs = runsOf(blocks);
    const std::vector<std::string> names = {"L = 0.50 m", "L = 0.70 m", "run 3", "run 4", "run 5"};
    for (std::size_t r = 0; r < runs.size(); ++r)
        EXPECT_EQ(runs[r].name, names[r]) << r;
    EXPECT_EQ(runs[1].values, (std::vector<RunValue>{{"L", 0.7, "m"}}));
    // "mass (g)" is the column name of run 3: its line above is a data row.
    const RunSelection selection = runsLike(blocks, 1);
    EXPECT_EQ(selection.blocks, (std::vector<std::size_t>{0, 1, 3, 4}));
    ASSERT_TRUE(selection.firstOther);
    EXPECT_EQ(otherColumnsNote(blocks[*selection.firstOther]),
              "the block \"mass (g)\" has other columns and is not drawn");
}

// A line of blanks over the column names is no heading: the run is counted.
TEST(Runs, AreNotNamedByALineOfBlanks)
{
    const std::vector<GraphTable> blocks = readGraphBlocks("   \r\nt,x\r\n0,1\r\n1,2", ',');
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(runsOf(blocks).front().name, "run 1");
}

// Each run's fit is the fit of its block alone; the axes take in every run.
TEST(Runs, AreFittedEachOnItsOwn)
{
    const std::vector<GraphTable> blocks = readGraphBlocks(lab, ',');
    GraphChoice choice = defaultChoice(blocks[0]);
    choice.model.kind = ModelKind::Line;
    choice.results = "2*m";
    const GraphPlot plot = plotRuns(blocks, 0, choice);
    ASSERT_EQ(plot.runs.size(), 4u);
    for (const RunPlot& run : plot.runs) {
        const GraphPlot alone = plotGraph(blocks[run.block], choice);
        ASSERT_TRUE(run.fit && run.fit->fitted());
        EXPECT_EQ(run.fit->values, alone.fit->values);
        EXPECT_EQ(run.results.front().value, alone.results.front().value);
        EXPECT_EQ(run.points.size(), alone.points.size());
        EXPECT_GE(run.curve.size(), 1u);
    }
    EXPECT_LE(plot.y.low, 1);
    EXPECT_GE(plot.y.high, 12);
    EXPECT_EQ(plot.notes.front(), "the block \"mass (g)\" has other columns and is not drawn");
    ASSERT_GE(plot.runsText.size(), 6u);
    EXPECT_EQ(plot.runsText[0], "Fit y = m x + b, each run on its own:");
    EXPECT_EQ(plot.runsText[1], "run\tL (m)\tm (cm/s)\tb (cm)\tR²\t2*m (cm/s)");
    EXPECT_EQ(plot.runsText[2], "L = 0.50 m\t0.5\t1.000 ± 0\t1.000 ± 0\tR² = 1.000000\t2.000 ± 0");
    EXPECT_EQ(plot.runsText[4], "run 4\t\t3.000 ± 0\t3.000 ± 0\tR² = 1.000000\t6.000 ± 0");
}

// A lab recorded run after run, in the pieces a recording hands over: a new
// run starts under its heading, rows come into the last one. Read as they
// come, the runs' plot is the plot of the whole box, whatever is chosen and
// whenever it changes, and whether or not the graph gave its runs back.
TEST(Runs, OfAGrowingBoxAreTheRunsOfTheWholeBox)
{
    std::vector<std::string> pieces{"L = 0.5 m\r\nt (s),x (cm),u(x) (cm)"};
    for (int run = 0; run < 3; ++run) {
        if (run > 0)
            pieces.push_back("\r\n\r\nL = " + std::to_string(run + 5) + "0 m\r\nt (s),x (cm),u(x) (cm)");
        for (int i = 0; i < 24; ++i) {
            const int n = 24 * run + i;
            const std::string x = n == 5 ? "" : n == 29 ? "-1" : std::to_string(n * n % 31 + run);
            pieces.push_back("\r\n" + std::to_string(i) + "," + x + "," +
                             (n % 7 == 0 ? "" : std::to_string(1 + n % 3)));
        }
    }
    GraphChoice points;
    points.xColumn = 1;
    points.yColumn = 2;
    points.allRuns = true;
    GraphChoice line = points;
    line.model.kind = ModelKind::Line;
    line.yUncertainty = {UncertaintyChoice::Kind::Column, 3, 0};
    line.results = "2*m";
    GraphChoice logY = line;
    logY.logY = true;
    GraphChoice quadratic = line; // the same points, another fit
    quadratic.model.kind = ModelKind::Quadratic;
    quadratic.results.clear();
    const std::vector<GraphChoice> choices{points, line, logY, line, quadratic};

    GraphBlockReader reader(',');
    GrowingRuns growing;
    GraphPlot shown;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        ASSERT_TRUE(reader.add(pieces[i]));
        if (reader.blocks().empty())
            continue;
        const GraphChoice& choice = choices[i / 10 % choices.size()];
        const bool givenBack = i % 9 != 0;
        shown = growing.plot(reader.blocks(), 0, choice, givenBack ? std::move(shown) : GraphPlot{});
        const GraphPlot whole = plotRuns(reader.blocks(), 0, choice);
        SCOPED_TRACE("piece " + std::to_string(i));
        ASSERT_EQ(shown.runs.size(), whole.runs.size());
        for (std::size_t r = 0; r < whole.runs.size(); ++r) {
            const RunPlot& a = shown.runs[r];
            const RunPlot& b = whole.runs[r];
            EXPECT_EQ(a.name, b.name);
            EXPECT_EQ(a.rows, b.rows);
            ASSERT_EQ(a.points.size(), b.points.size());
            for (std::size_t p = 0; p < b.points.size(); ++p)
                EXPECT_EQ(a.points[p].y, b.points[p].y);
            EXPECT_EQ(a.bars.size(), b.bars.size());
            ASSERT_EQ(a.fit.has_value(), b.fit.has_value());
            if (b.fit) {
                EXPECT_EQ(a.fit->values, b.fit->values);
            }
            EXPECT_EQ(a.results.size(), b.results.size());
            EXPECT_EQ(a.curve.size(), b.curve.size());
        }
        EXPECT_EQ(shown.x.low, whole.x.low);
        EXPECT_EQ(shown.y.high, whole.y.high);
        EXPECT_EQ(shown.x.labels, whole.x.labels);
        EXPECT_EQ(shown.text(), whole.text());
        EXPECT_EQ(shown.runsText, whole.runsText);
    }
    EXPECT_EQ(shown.runs.size(), 3u);
}

// y = A sin(B t) at five lengths with noise: the results block holds every
// run's parameters with two digits of their uncertainties, and read back by
// the graph's column rules its u(...) columns are the uncertainties.
TEST(ResultsBlocks, GoBackIntoTheBoxAsDataWithTheirUncertainties)
{
    std::mt19937 engine(2);
    std::normal_distribution<double> noise(0, 0.01);
    std::string box;
    const double lengths[] = {0.3, 0.5, 0.7, 0.9, 1.1};
    for (const double length : lengths) {
        box += "L = " + std::to_string(length) + " m\r\nt (s),x (m)\r\n";
        const double omega = std::sqrt(9.81 / length);
        for (int i = 0; i < 80; ++i) {
            const double t = i * 0.05;
            box += std::to_string(t) + "," + std::to_string(0.1 * std::sin(omega * t) + noise(engine)) +
                   "\r\n";
        }
        box += "\r\n";
    }
    const std::vector<GraphTable> blocks = readGraphBlocks(box, ',');
    GraphChoice choice = defaultChoice(blocks[0]);
    choice.model.kind = ModelKind::OwnEquation;
    choice.model.equation = "A*sin(B*x)";
    choice.model.starts = {{"A", 0.1}, {"B", 5}};
    choice.results = "T = 2*pi/abs(B)"; // A sin(B t) = -A sin(-B t): a fit may take either
    const GraphPlot plot = plotRuns(blocks, 0, choice);
    const std::vector<std::string> lines = resultsBlockLines(plot.runs, choice.model, ',');
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Results: A*sin(B*x)");
    EXPECT_EQ(lines[1], "run,L (m),A,u(A),B,u(B),T,u(T)");
    std::string results;
    for (const std::string& line : lines)
        results += line + "\r\n";
    const GraphTable table = readGraphTable(results, ',');
    ASSERT_EQ(table.rowCount(), 5u);
    GraphChoice back = defaultChoice(table);
    EXPECT_EQ(back.xColumn, 1); // run
    EXPECT_EQ(back.yColumn, 2); // L
    for (std::size_t r = 0; r < 5; ++r) {
        const RunPlot& run = plot.runs[r];
        const RowNumbers row = table.row(r);
        EXPECT_NEAR(*row[1], lengths[r], 1e-12);
        // B to the place of its uncertainty's second significant digit.
        const double u = run.fit->uncertainties[1];
        EXPECT_NEAR(*row[4], run.fit->values[1], u / 10 + 1e-15);
        EXPECT_NEAR(*row[5], u, u / 10);
        EXPECT_NEAR(*row[6], 2 * M_PI / std::fabs(run.fit->values[1]), 1e-3);
    }
    // The power law T against L: exponent 1/2 within its uncertainty.
    GraphChoice law = defaultChoice(table);
    law.xColumn = 2;
    law.yColumn = 7;
    law.yUncertainty = {UncertaintyChoice::Kind::Column, 8, 0};
    law.model.kind = ModelKind::Power;
    const GraphPlot fitted = plotGraph(table, law);
    ASSERT_TRUE(fitted.fit && fitted.fit->fitted()) << fitted.text();
    EXPECT_NEAR(fitted.fit->values[1], 0.5, 3 * fitted.fit->uncertainties[1]) << fitted.text();
}

} // namespace
