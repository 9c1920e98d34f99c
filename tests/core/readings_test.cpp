// The readings of a graph: the area under the curve with its uncertainty,
// the tangent's slope with its uncertainty, the statistics of a selection;
// each against closed forms, and in the batch.

#include "batch/batch_run.h"
#include "graph/graph_plot.h"
#include "readings/reading_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <sstream>

namespace {

using std::numbers::pi;

ReadingRows rowsOf(const std::vector<double>& x, const std::function<double(double)>& f,
                   const std::vector<double>& uy = {})
{
    ReadingRows rows;
    for (std::size_t i = 0; i < x.size(); ++i) {
        rows.points.push_back({x[i], f(x[i])});
        rows.lines.push_back(static_cast<int>(i) + 2);
    }
    rows.uy = uy;
    return rows;
}

std::vector<double> evenly(double from, double to, int rows)
{
    std::vector<double> x;
    for (int i = 0; i < rows; ++i)
        x.push_back(from + (to - from) * i / (rows - 1));
    return x;
}

AreaReading areaOf(const ReadingRows& rows)
{
    const auto area = areaUnder(rows);
    if (const auto* why = std::get_if<std::string>(&area))
        ADD_FAILURE() << *why;
    return std::holds_alternative<AreaReading>(area) ? std::get<AreaReading>(area)
                                                     : AreaReading{};
}

struct AreaCase {
    const char* name;
    std::vector<double> x;
    std::function<double(double)> f;
    double exact;
    bool ruleExact; // the trapezoid rule itself has no error
};

// Straight lines are exact for the rule, even unevenly spaced, and its error
// estimate is then 0; for smooth curves the estimate is the true error
// within a few per cent, exactly for parabolas and cubics.
TEST(Area, OfClosedFormsIsExactOrWithinTheRulesEstimate)
{
    const std::vector<AreaCase> cases = {
        {"constant", evenly(0, 2, 11), [](double) { return 4.0; }, 8, true},
        {"line", evenly(0, 2, 11), [](double x) { return 3 * x + 1; }, 8, true},
        {"line, uneven x", {0, 0.1, 0.15, 0.6, 1.1, 2}, [](double x) { return 3 * x + 1; }, 8, true},
        {"parabola", evenly(0, 1, 11), [](double x) { return x * x; }, 1.0 / 3, false},
        {"parabola, odd rows", evenly(0, 1, 12), [](double x) { return x * x; }, 1.0 / 3, false},
        {"cubic", evenly(-1, 2, 31), [](double x) { return x * x * x - x; }, 3.75 - 1.5, false},
        {"sine", evenly(0, pi, 21), [](double x) { return std::sin(x); }, 2, false},
        {"exponential, uneven", {0, 0.05, 0.2, 0.3, 0.55, 0.7, 1}, [](double x) { return std::exp(x); },
         std::exp(1.0) - 1, false},
        {"sine, uneven", {0, 0.2, 0.5, 1.1, 1.3, 2.0, 2.6, 3.0, pi}, [](double x) { return std::sin(x); },
         2, false},
    };
    for (const AreaCase& c : cases) {
        SCOPED_TRACE(c.name);
        const AreaReading area = areaOf(rowsOf(c.x, c.f));
        const double error = std::fabs(area.area - c.exact);
        ASSERT_TRUE(area.rulePart);
        if (c.ruleExact) {
            EXPECT_NEAR(area.area, c.exact, 1e-13);
            EXPECT_LT(*area.rulePart, 1e-13);
        } else {
            EXPECT_GT(error, 1e-6);
            EXPECT_NEAR(*area.rulePart / error, 1, 0.1);
            EXPECT_EQ(area.uncertainty, *area.rulePart); // no readings' part without u(y)
        }
        EXPECT_EQ(area.points, c.x.size());
        EXPECT_EQ(area.from, c.x.front());
        EXPECT_EQ(area.to, c.x.back());
    }
}

// Simpson's rule is exact for parabolas however spaced, and for cubics
// sampled evenly in pairs of steps: the estimate is then the rule's error
// exactly.
TEST(Area, EstimatesTheErrorOfParabolasExactly)
{
    const std::vector<double> uneven = {-1, -0.7, -0.1, 0.35, 0.4, 1.2, 2};
    for (const std::vector<double>& x : {evenly(-1, 2, 11), evenly(-1, 2, 12), uneven}) {
        const AreaReading parabola = areaOf(rowsOf(x, [](double t) { return 3 * t * t - t; }));
        EXPECT_NEAR(*parabola.rulePart, std::fabs(parabola.area - 7.5), 1e-12);
    }
    const AreaReading cubic = areaOf(rowsOf(evenly(-1, 2, 11), [](double t) { return t * t * t; }));
    EXPECT_NEAR(*cubic.rulePart, std::fabs(cubic.area - 3.75), 1e-12);
}

// u² = Σ (wᵢ u(yᵢ))², wᵢ half the x step on each side; a row without an
// uncertainty counts as exact, and is counted.
TEST(Area, PropagatesTheReadingsUncertainties)
{
    const std::vector<double> x = {0, 1, 3, 4};
    const std::vector<double> u = {0.1, 0.2, NAN, 0.4};
    const AreaReading area = areaOf(rowsOf(x, [](double t) { return 2 * t; }, u));
    const double expected = std::sqrt(std::pow(0.5 * 0.1, 2) + std::pow(1.5 * 0.2, 2) +
                                      std::pow(0.5 * 0.4, 2));
    EXPECT_NEAR(area.readingsPart, expected, 1e-15);
    EXPECT_EQ(area.withoutUncertainty, 1);
    EXPECT_NEAR(area.uncertainty, std::hypot(expected, *area.rulePart), 1e-15);
}

// A force sensor's pulse, F = 50 N sin²(π t / 0.2 s) sampled every
// millisecond with 0.5 N of noise: J = 5 N s within its uncertainty, in 95
// of 100 pulses at 2 u or so.
TEST(Area, OfANoisyPulseHoldsTheTrueImpulseWithinItsUncertainty)
{
    int within = 0;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        std::mt19937 engine(seed);
        std::normal_distribution<double> noise(0, 0.5);
        const std::vector<double> t = evenly(0, 0.2, 201);
        ReadingRows rows = rowsOf(
            t, [&](double s) { return 50 * std::pow(std::sin(pi * s / 0.2), 2) + noise(engine); },
            std::vector<double>(t.size(), 0.5));
        const AreaReading area = areaOf(rows);
        within += std::fabs(area.area - 5) <= 2 * area.uncertainty;
        EXPECT_NEAR(area.readingsPart, 0.5 * 0.001 * std::sqrt(199.5), 1e-6);
    }
    EXPECT_GE(within, 90);
}

TEST(Area, IsRefusedWithoutTwoRowsOrWithXNotIncreasing)
{
    const auto square = [](double x) { return x * x; };
    const struct {
        std::vector<double> x;
        const char* why;
    } cases[] = {
        {{}, "no area: there are no rows in the range"},
        {{1}, "no area: it needs at least two rows"},
        {{0, 1, 3, 2}, "no area: x does not increase at line 5 (the rows are not summed backwards)"},
        {{0, 1, 1, 2}, "no area: x does not increase at line 4 (the rows are not summed backwards)"},
    };
    for (const auto& c : cases) {
        const auto area = areaUnder(rowsOf(c.x, square));
        ASSERT_TRUE(std::holds_alternative<std::string>(area));
        EXPECT_EQ(std::get<std::string>(area), c.why);
    }
}

TangentReading tangentOf(const ReadingRows& rows, double x, int count = defaultTangentRows)
{
    const auto tangent = tangentAt(rows, x, count);
    if (const auto* why = std::get_if<std::string>(&tangent))
        ADD_FAILURE() << *why;
    return std::holds_alternative<TangentReading>(tangent) ? std::get<TangentReading>(tangent)
                                                           : TangentReading{};
}

// A parabola's own tangent, wherever it is taken, from the middle or the ends.
TEST(Tangent, OfAParabolaIsItsDerivative)
{
    const ReadingRows rows = rowsOf(evenly(-1, 2, 31), [](double x) { return 2 * x * x + 3 * x + 1; });
    for (const double x : {-1.0, -0.37, 0.5, 1.25, 2.0}) {
        SCOPED_TRACE(x);
        const TangentReading tangent = tangentOf(rows, x);
        EXPECT_TRUE(tangent.parabola);
        EXPECT_NEAR(tangent.slope, 4 * x + 3, 1e-9);
        EXPECT_NEAR(tangent.y, 2 * x * x + 3 * x + 1, 1e-9);
        EXPECT_LT(tangent.uncertainty, 1e-9);
        EXPECT_EQ(tangent.points, defaultTangentRows);
    }
}

// A noisy sine: the slope within its uncertainty of cos x at several points,
// the uncertainty ten times smaller for ten times less noise.
TEST(Tangent, OfANoisySineHoldsItsDerivativeWithinItsUncertainty)
{
    const std::vector<double> x = evenly(0, 2 * pi, 201);
    for (const double at : {0.3, 1.0, 2.5, 4.0, 6.0}) {
        SCOPED_TRACE(at);
        double uncertainty[2];
        for (const int k : {0, 1}) {
            const double sigma = k == 0 ? 0.01 : 0.001;
            std::mt19937 engine(7);
            std::normal_distribution<double> noise(0, sigma);
            const ReadingRows rows = rowsOf(x, [&](double t) { return std::sin(t) + noise(engine); });
            const TangentReading tangent = tangentOf(rows, at, 15);
            EXPECT_NEAR(tangent.slope, std::cos(at), 4 * tangent.uncertainty);
            uncertainty[k] = tangent.uncertainty;
        }
        EXPECT_GT(uncertainty[0] / uncertainty[1], 3); // the scatter shrinks; the shape stays
    }
}

TEST(Tangent, IsALineThroughFewRowsAndWeightedByTheirUncertainties)
{
    const ReadingRows line = rowsOf({0, 1, 2, 3, 4}, [](double x) { return 2 * x + (x == 2 ? 0.1 : 0); });
    const TangentReading three = tangentOf(line, 2, 3);
    EXPECT_FALSE(three.parabola);
    EXPECT_NEAR(three.slope, 2, 1e-12);
    EXPECT_EQ(three.from, 1);
    EXPECT_EQ(three.to, 3);
    ReadingRows weighted = line;
    weighted.uy = {0.1, 0.1, 0.1, 0.1, 0.1};
    EXPECT_TRUE(tangentOf(weighted, 2, 4).weighted);
    weighted.uy[1] = NAN; // a row without one: unweighted
    EXPECT_FALSE(tangentOf(weighted, 2, 4).weighted);
}

TEST(Tangent, IsRefusedOutsideTheRowsOrWithTooFewRows)
{
    const ReadingRows rows = rowsOf({0, 1, 2, 3, 4}, [](double x) { return x; });
    const struct {
        double x;
        int count;
        const char* why;
    } cases[] = {
        {4.5, 3, "no tangent at x = 4.5: the rows' x go from 0 to 4"},
        {-0.1, 3, "no tangent at x = -0.1: the rows' x go from 0 to 4"},
        {2, 2, "no tangent: it needs at least 3 rows"},
        {2, 7, "no tangent: it needs 7 rows, and there are 5"},
    };
    for (const auto& c : cases) {
        const auto tangent = tangentAt(rows, c.x, c.count);
        ASSERT_TRUE(std::holds_alternative<std::string>(tangent));
        EXPECT_EQ(std::get<std::string>(tangent), c.why);
    }
    EXPECT_TRUE(std::holds_alternative<std::string>(
        tangentAt(rowsOf({1, 1, 1, 1}, [](double) { return 2.0; }), 1, 3)));
    const auto acrossAGap = tangentAt(rowsOf({0, 5, 5.1, 5.2}, [](double x) { return x; }), 2.7, 3);
    ASSERT_TRUE(std::holds_alternative<std::string>(acrossAGap));
    EXPECT_EQ(std::get<std::string>(acrossAGap),
              "no tangent at x = 2.7: the nearest rows all lie on one side of it (a gap in the rows)");
}

// Against a two-pass computation by hand, far from zero where a one-pass
// sum of squares would lose every digit.
TEST(SelectionStats, AreThoseOfTheRows)
{
    const ReadingRows rows =
        rowsOf({3, 1, 2, 4}, [](double x) { return 1e9 + (x == 1 ? 0.1 : x == 2 ? 0.2 : x == 3 ? 0.3 : 0.6); });
    const SelectionStats stats = *selectionStats(rows);
    EXPECT_EQ(stats.points, 4u);
    EXPECT_NEAR(stats.mean, 1e9 + 0.3, 1e-6);
    const double sd = std::sqrt((0.04 + 0.01 + 0 + 0.09) / 3);
    EXPECT_NEAR(*stats.sd, sd, 1e-6);
    EXPECT_NEAR(*stats.standardError, sd / 2, 1e-6);
    EXPECT_EQ(stats.min, 1e9 + 0.1);
    EXPECT_EQ(stats.max, 1e9 + 0.6);
    EXPECT_EQ(stats.from, 1);
    EXPECT_EQ(stats.to, 4);
    const SelectionStats one = *selectionStats(rowsOf({5}, [](double) { return 2.5; }));
    EXPECT_FALSE(one.sd);
    EXPECT_EQ(one.mean, 2.5);
    EXPECT_FALSE(selectionStats(ReadingRows{}));
}

TEST(ReadingText, NamesTheUnitsAndBothParts)
{
    const struct {
        ReadingUnits units;
        const char* area;
        const char* slope;
    } units[] = {
        {{"s", "N"}, "N s", "N/s"}, {{"s", "m/s"}, "m", "m/s/s"}, {{"s", ""}, "s", "1/s"},
        {{"", "V"}, "V", "V"},      {{"", ""}, "", ""},
    };
    for (const auto& u : units) {
        EXPECT_EQ(areaUnit(u.units), u.area);
        EXPECT_EQ(slopeUnit(u.units), u.slope);
    }
    AreaReading area;
    area.area = 9.9812;
    area.readingsPart = 0.012;
    area.rulePart = 0.004;
    area.uncertainty = std::hypot(0.012, 0.004);
    area.uncertaintiesGiven = true;
    area.points = 41;
    area.to = 2;
    EXPECT_EQ(areaText(area, {"s", "N"}),
              "area = 9.981 ± 0.013 N s from x = 0 to 2 (41 rows, trapezoid rule; uncertainty "
              "from the readings ± 0.012, from the rule ± 0.0040)");
    area.uncertaintiesGiven = false;
    area.rulePart.reset();
    area.points = 2;
    EXPECT_EQ(areaText(area, {}),
              "area = 9.981 ± 0.013 from x = 0 to 2 (2 rows, trapezoid rule; uncertainty of the "
              "rule not estimated from two rows; y has no uncertainties chosen)");
    TangentReading tangent;
    tangent.x = 0.5;
    tangent.slope = 1.2345;
    tangent.uncertainty = 0.012;
    tangent.points = 7;
    tangent.parabola = true;
    tangent.from = 0.35;
    tangent.to = 0.65;
    EXPECT_EQ(tangentText(tangent, {"s", "m"}),
              "tangent at x = 0.5: slope = 1.234 ± 0.012 m/s (parabola through the 7 nearest "
              "rows, x from 0.35 to 0.65)");
}

// With all runs, each run is read on its own: a line a run, named by it,
// and its area and tangent kept with its points for the drawing.
TEST(PlotReadings, AreOneLineARunWithAllRuns)
{
    const char* const box = "L = 0.5 m\r\nt (s),v (m/s)\r\n0,0\r\n1,1\r\n2,2\r\n3,3\r\n4,4\r\n\r\n"
                            "L = 0.7 m\r\nt (s),v (m/s)\r\n0,0\r\n1,2\r\n2,4\r\n3,6\r\n4,8\r\n";
    const std::vector<GraphTable> blocks = readGraphBlocks(box, ',');
    GraphChoice choice = defaultChoice(blocks[0]);
    choice.allRuns = true;
    choice.area = true;
    choice.tangentAt = 2;
    choice.tangentRows = 3;
    const GraphPlot plot = plotRuns(blocks, 0, choice);
    ASSERT_EQ(plot.runs.size(), 2u);
    EXPECT_EQ(plot.readingsText,
              (std::vector<std::string>{
                  "L = 0.5 m: area = 8.000 ± 0 m from x = 0 to 4 (5 rows, trapezoid rule; "
                  "uncertainty from the rule ± 0; y has no uncertainties chosen)",
                  "L = 0.5 m: tangent at x = 2: slope = 1.000 ± 0 m/s/s (straight line through "
                  "the 3 nearest rows, x from 1 to 3)",
                  "L = 0.7 m: area = 16.00 ± 0 m from x = 0 to 4 (5 rows, trapezoid rule; "
                  "uncertainty from the rule ± 0; y has no uncertainties chosen)",
                  "L = 0.7 m: tangent at x = 2: slope = 2.000 ± 0 m/s/s (straight line through "
                  "the 3 nearest rows, x from 1 to 3)"}));
    EXPECT_EQ(plot.runs[1].area->area, 16);
    EXPECT_EQ(plot.runs[1].tangent->slope, 2);
    EXPECT_NE(plot.text().find("L = 0.7 m: area = 16.00"), std::string::npos);
}

BatchResult run(const std::vector<std::string>& arguments, const std::string& box)
{
    std::istringstream input(box);
    return runBatch(arguments, input);
}

// A cart's position every 0.1 s, x = 0.5 t² m, with u(x) = 0.01 m.
std::string cart()
{
    std::string box = "t (s),x (m),u(x) (m)\r\n";
    for (int i = 0; i <= 20; ++i) {
        const double t = i / 10.0;
        std::ostringstream row;
        row << t << "," << 0.5 * t * t << ",0.01\r\n";
        box += row.str();
    }
    return box;
}

TEST(BatchReadings, PrintTheLinesAndJsonOfTheReadings)
{
    const BatchResult integral = run({"integral", "--from", "0.5", "--to", "1.5"}, cart());
    ASSERT_EQ(integral.exitStatus, producedOutput) << integral.err;
    EXPECT_EQ(integral.out.rfind("area = 0.54", 0), 0u) << integral.out;
    EXPECT_NE(integral.out.find("m s from x = 0.5 to 1.5 (11 rows"), std::string::npos);
    const BatchResult json = run({"integral", "--sigma-y", "3", "--json"}, cart());
    ASSERT_EQ(json.exitStatus, producedOutput) << json.err;
    EXPECT_EQ(json.out.rfind("{\"area\": 1.33", 0), 0u) << json.out;
    EXPECT_NE(json.out.find("\"unit\": \"m s\", \"from\": 0, \"to\": 2, \"points\": 21"),
              std::string::npos)
        << json.out;
    const BatchResult tangent = run({"tangent", "--at", "1", "--json"}, cart());
    ASSERT_EQ(tangent.exitStatus, producedOutput) << tangent.err;
    EXPECT_EQ(tangent.out.rfind("{\"x\": 1, \"slope\": ", 0), 0u) << tangent.out;
    EXPECT_NE(tangent.out.find("\"unit\": \"m/s\", \"scatter_uncertainty\": "), std::string::npos);
    EXPECT_NE(tangent.out.find("\"points\": 7"), std::string::npos);
    // Three rows about the point: a parabola's secant there is its tangent;
    // the line's misfit, u = s/√Sxx = 0.0041/0.14, is its uncertainty.
    const BatchResult text = run({"tangent", "--at", "1", "--points", "3"}, cart());
    ASSERT_EQ(text.exitStatus, producedOutput) << text.err;
    EXPECT_EQ(text.out, "tangent at x = 1: slope = 1.000 ± 0.029 m/s (straight line "
                        "through the 3 nearest rows, x from 0.9 to 1.1)\n");
    const BatchResult stats = run({"stats", "--to", "0.2", "--json"}, cart());
    ASSERT_EQ(stats.exitStatus, producedOutput) << stats.err;
    EXPECT_EQ(stats.out.rfind("{\"points\": 3, \"mean\": 0.00833", 0), 0u) << stats.out;
}

TEST(BatchReadings, ExitOneWithAMessageOutsideTheData)
{
    const struct {
        std::vector<std::string> arguments;
        int status;
        const char* message;
    } cases[] = {
        {{"tangent", "--at", "3"}, noOutput, "message: no tangent at x = 3: the rows' x go from 0 to 2\n"},
        {{"integral", "--from", "5", "--to", "6"}, noOutput,
         "message: no area: there are no rows in the range\n"},
        {{"stats", "--from", "5"}, noOutput, "message: no statistics: there are no rows in the range\n"},
        {{"tangent", "--points", "30", "--at", "1"}, noOutput,
         "message: no tangent: it needs 30 rows, and there are 21\n"},
        {{"tangent"}, usageError, ""},
        {{"tangent", "--at", "x"}, usageError, ""},
        {{"stats", "--sigma-y", "3"}, usageError, ""},
    };
    for (const auto& c : cases) {
        const BatchResult result = run(c.arguments, cart());
        EXPECT_EQ(result.exitStatus, c.status) << c.arguments.front();
        EXPECT_EQ(result.out, "");
        if (c.status == noOutput) {
            EXPECT_EQ(result.err, c.message);
        }
    }
}

} // namespace
