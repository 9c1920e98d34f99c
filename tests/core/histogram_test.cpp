#include "graph/graph_plot.h"
#include "graph/histogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TEST(BinWidth, RoundsDownToOneTwoOrFiveTimesAPowerOfTen)
{
    const struct {
        double width, rounded;
    } cases[] = {{0.037, 0.02},      {0.05, 0.05},   {0.0499999999999, 0.05}, {0.0499, 0.02},
                 {7, 5},             {1, 1},         {0.99999999999, 1},      {1.9, 1},
                 {150, 100},         {0.3, 0.2},     {3e-7, 2e-7},            {9.9999, 5},
                 {1e-300 * 4, 2e-300}, {123456, 100000}};
    for (const auto& c : cases)
        EXPECT_EQ(roundedBinWidth(c.width), c.rounded) << c.width;
}

TEST(Quantiles, InterpolateBetweenOrderStatistics)
{
    const std::vector<double> four = {1, 2, 3, 4};
    EXPECT_DOUBLE_EQ(quantile(four, 0.25), 1.75);
    EXPECT_DOUBLE_EQ(quantile(four, 0.75), 3.25);
    EXPECT_DOUBLE_EQ(quantile(four, 0), 1);
    EXPECT_DOUBLE_EQ(quantile(four, 1), 4);
    EXPECT_DOUBLE_EQ(quantile({7}, 0.25), 7);
}

struct BinCase {
    const char* name;
    std::vector<double> values;
    BinChoice bins;
    double width;
    std::vector<double> edges;
    std::vector<std::size_t> counts;
};

using Rule = BinChoice::Rule;

const BinCase binCases[] = {
    // IQR 2·3.5 of eight values: 2·3.5/2 = 3.5, rounded to 2; the value 2
    // on an edge counts in the bin that begins there.
    {"freedman_diaconis_with_values_on_edges",
     {1, 2, 3, 4, 5, 6, 7, 8},
     {},
     2,
     {0, 2, 4, 6, 8, 10},
     {1, 2, 2, 2, 1}},
    // Ties make the IQR 0: Sturges' range / (⌈log₂ 7⌉ + 1) = 2/4.
    {"iqr_zero_takes_sturges",
     {1, 2, 2, 2, 2, 2, 3},
     {},
     0.5,
     {1, 1.5, 2, 2.5, 3, 3.5},
     {1, 0, 5, 0, 1}},
    // 0.6/4 = 0.15, rounded to 0.1; -0.3/0.1 is -2.9999999999999996.
    {"negative_values_sturges",
     {-0.3, -0.1, 0.0, 0.1, 0.3},
     {Rule::Sturges, 0},
     0.1,
     {-0.3, -0.2, -0.1, 0, 0.1, 0.2, 0.3, 0.4},
     {1, 0, 1, 1, 1, 0, 1}},
    // One value: a bar a tenth of its size wide, rounded.
    {"one_value", {0.249}, {}, 0.02, {0.24, 0.26}, {1}},
    {"equal_values", {5, 5, 5}, {Rule::Sturges, 0}, 0.5, {5, 5.5}, {3}},
    // A typed width, used as typed; 0.3 is on an edge.
    {"typed_width", {0.1, 0.2, 0.3}, {Rule::Width, 0.1}, 0.1, {0.1, 0.2, 0.3, 0.4}, {1, 1, 1}},
    // Clock times: 36000.1 over 0.1 is off an integer in its last place only.
    {"clock_times_on_edges",
     {36000.1, 36000.2, 36000.25},
     {Rule::Width, 0.1},
     0.1,
     {36000.1, 36000.2, 36000.3},
     {1, 2}},
    {"typed_width_not_one_two_five",
     {0.02, 0.06, 0.07},
     {Rule::Width, 0.025},
     0.025,
     {0, 0.025, 0.05, 0.075},
     {1, 0, 2}},
};

class Bins : public testing::TestWithParam<BinCase> {};

TEST_P(Bins, FollowTheRuleAndCountEveryValueOnce)
{
    const BinCase& c = GetParam();
    const auto made = makeHistogram(c.values, c.bins);
    ASSERT_TRUE(std::holds_alternative<Histogram>(made)) << std::get<std::string>(made);
    const Histogram& h = std::get<Histogram>(made);
    EXPECT_DOUBLE_EQ(h.binWidth, c.width);
    ASSERT_EQ(h.edges.size(), c.edges.size());
    for (std::size_t i = 0; i < c.edges.size(); ++i)
        EXPECT_NEAR(h.edges[i], c.edges[i], 1e-12) << i;
    EXPECT_EQ(h.counts, c.counts);
    EXPECT_EQ(h.n, c.values.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, Bins, testing::ValuesIn(binCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Bins, RefuseAWidthThatIsNoneOrTooNarrow)
{
    const std::vector<double> values = {0, 0.5, 1};
    for (const double width : {0.0, -1.0, std::nan(""), HUGE_VAL})
        EXPECT_EQ(std::get<std::string>(makeHistogram(values, {Rule::Width, width})),
                  "the bin width must be a number above 0");
    EXPECT_EQ(std::get<std::string>(makeHistogram(values, {Rule::Width, 1e-5})),
              "a bin width of 0.00001 would make more than 10000 bins: choose a wider one");
}

TEST(Bins, AFarOutlierFallsBackToSturges)
{
    std::vector<double> values;
    for (int i = 0; i < 49; ++i)
        values.push_back(1 + 0.001 * i);
    values.push_back(1e9);
    const Histogram h = std::get<Histogram>(makeHistogram(values, {}));
    EXPECT_LE(h.counts.size(), 20u);
    EXPECT_EQ(h.counts.front(), 49u);
    EXPECT_EQ(h.counts.back(), 1u);
}

TEST(HistogramStatistics, MeanStandardErrorAndTheShareWithinOneS)
{
    const Histogram h = std::get<Histogram>(makeHistogram({1, 2, 3, 4, 5, 6, 7, 8}, {}));
    EXPECT_DOUBLE_EQ(h.mean, 4.5);
    EXPECT_DOUBLE_EQ(h.standardDeviation, std::sqrt(6.0)); // 42 / 7
    EXPECT_DOUBLE_EQ(h.standardError, std::sqrt(6.0 / 8));
    EXPECT_EQ(h.withinOneSd, 4u); // 3, 4, 5, 6
    // The expected count in the mean's bin: n · width / (s √(2π)).
    EXPECT_DOUBLE_EQ(normalCount(h, 4.5), 8 * 2 / (std::sqrt(6.0) * std::sqrt(2 * std::numbers::pi)));
}

TEST(HistogramStatistics, CentredSumsKeepTheDigitsOfValuesFarFromZero)
{
    const Histogram h =
        std::get<Histogram>(makeHistogram({1e9 + 0.1, 1e9 + 0.2, 1e9 + 0.3}, {}));
    EXPECT_NEAR(h.standardDeviation, 0.1, 1e-7);
}

TEST(HistogramText, SaysWhatTheNumbersMean)
{
    const struct {
        std::vector<double> values;
        std::string unit;
        std::vector<std::string> lines;
    } cases[] = {
        {{1, 2, 3, 4, 5, 6, 7, 8},
         "s",
         {"N = 8", "mean = 4.50 ± 0.87 s (± the standard error s/√N)",
          "s = 2.4 s (standard deviation, N - 1)",
          "4 of 8 values (50 %) lie within mean ± s; for a normal distribution about 68 % would"}},
        {{0.249},
         "s",
         {"N = 1", "mean = 0.249 s",
          "one value has no spread: the standard deviation and the standard error need at least "
          "two values"}},
        {{5, 5, 5},
         "",
         {"N = 3", "mean = 5.000 ± 0 (± the standard error s/√N)",
          "s = 0 (standard deviation, N - 1)", "all 3 values are equal: they have no spread"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describeHistogram(std::get<Histogram>(makeHistogram(c.values, {})), c.unit),
                  c.lines);
}

TEST(HistogramPlot, CountsTheYColumnWithItsUnitAndTheNormalCurve)
{
    // Deviations from 0.256: -0.006, 0.014, -0.046, -0.006, 0.044; s = 0.0329.
    const GraphTable table = readGraphTable(
        "trial,t (s)\r\n1,0.25\r\n2,0.27\r\n3,x\r\n4,0.21\r\n5,0.25\r\n6,0.30", ',');
    GraphChoice choice = defaultChoice(table);
    choice.histogram = true;
    choice.bins = {Rule::Width, 0.05};
    const GraphPlot plot = plotGraph(table, choice);
    ASSERT_TRUE(plot.histogram);
    EXPECT_EQ(plot.histogram->counts, (std::vector<std::size_t>{1, 3, 1}));
    EXPECT_EQ(plot.xTitle, "t (s)");
    EXPECT_EQ(plot.yTitle, "count");
    EXPECT_EQ(plot.x.labels, (std::vector<std::string>{"0.20", "0.25", "0.30", "0.35"}));
    for (const double tick : plot.y.ticks)
        EXPECT_EQ(tick, std::round(tick));
    ASSERT_EQ(plot.curve.size(), 1u);
    EXPECT_EQ(plot.text(), "1 row has no number in column 2; it is line 4: \"3,x\"\n"
                           "N = 5\n"
                           "mean = 0.256 ± 0.015 s (± the standard error s/√N)\n"
                           "s = 0.033 s (standard deviation, N - 1)\n"
                           "3 of 5 values (60 %) lie within mean ± s; for a normal distribution "
                           "about 68 % would");
    choice.normalCurve = false;
    EXPECT_TRUE(plotGraph(table, choice).curve.empty());
}

TEST(HistogramPlot, EdgeAxisLabelsEveryEdgeWhileThereIsRoom)
{
    std::vector<double> edges;
    for (int i = 0; i <= 40; ++i)
        edges.push_back(i * 0.025);
    const Axis few = makeEdgeAxis({0, 0.025, 0.05, 0.075}, 0.025, 4);
    EXPECT_EQ(few.labels, (std::vector<std::string>{"0", "0.025", "0.050", "0.075"}));
    // 40 bins, room for 10 labels: every fifth edge.
    const Axis many = makeEdgeAxis(edges, 0.025, 4);
    EXPECT_EQ(many.labels, (std::vector<std::string>{"0", "0.125", "0.250", "0.375", "0.500",
                                                     "0.625", "0.750", "0.875", "1.000"}));
}

} // namespace
