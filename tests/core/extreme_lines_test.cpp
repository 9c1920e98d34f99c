#include "fit/extreme_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

struct ExtremeCase {
    const char* name;
    std::vector<ErrorBox> boxes;
    bool exist;
    double steepest, shallowest;
};

const ExtremeCase extremeCases[] = {
    // (0, -1) to (2, 3) is the steepest, (0, 1) to (2, 1) the shallowest.
    {"three_points", {{0, 0, 0, 1}, {1, 1, 0, 1}, {2, 2, 0, 1}}, true, 2, 0},
    // Two bars of 0 fix the line; the third bar only has to hold it.
    {"bars_of_0_fix_the_slope", {{0, 0, 0, 0}, {1, 2, 0, 0}, {2, 4, 0, 1}}, true, 2, 2},
    {"no_line_possible", {{0, 0, 0, 0.1}, {1, 1, 0, 0.1}, {2, 0, 0, 0.1}}, false, 0, 0},
    // Horizontal bars only: (0.5, 0) to (1.5, 2), and (-0.5, 0) to (2.5, 2).
    {"x_bars_only", {{0, 0, 0.5, 0}, {2, 2, 0.5, 0}}, true, 2, 2.0 / 3},
    // Both: the corners that bind change with the sign of the slope.
    {"falling_with_both_bars", {{0, 2, 0.5, 0.5}, {2, 0, 0.5, 0.5}}, true, -1.0 / 3, -3},
    {"one_x_leaves_the_slope_free", {{1, 0, 0, 1}, {1, 2, 0, 1}}, false, 0, 0},
};

class ExtremeLinesThroughBars : public testing::TestWithParam<ExtremeCase> {};

TEST_P(ExtremeLinesThroughBars, AreTheLinesOfGreatestAndLeastSlope)
{
    const ExtremeCase& c = GetParam();
    const std::optional<ExtremeLines> lines = extremeLines(c.boxes);
    ASSERT_EQ(lines.has_value(), c.exist);
    if (!lines)
        return;
    EXPECT_NEAR(lines->steepest.slope, c.steepest, 1e-12);
    EXPECT_NEAR(lines->shallowest.slope, c.shallowest, 1e-12);
    for (const ErrorBox& box : c.boxes) {
        EXPECT_TRUE(crosses(lines->steepest, box));
        EXPECT_TRUE(crosses(lines->shallowest, box));
    }
}

INSTANTIATE_TEST_SUITE_P(Bars, ExtremeLinesThroughBars, testing::ValuesIn(extremeCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The brute force: every line through two corners of the boxes that crosses
// all of them; the extremes of a feasible slope are reached on such lines.
std::optional<std::pair<double, double>> bruteForce(const std::vector<ErrorBox>& boxes)
{
    std::vector<std::pair<double, double>> corners;
    for (const ErrorBox& b : boxes)
        for (const double dx : {-b.ux, b.ux})
            for (const double dy : {-b.uy, b.uy})
                corners.emplace_back(b.x + dx, b.y + dy);
    std::optional<std::pair<double, double>> range;
    for (const auto& [x1, y1] : corners)
        for (const auto& [x2, y2] : corners) {
            if (!(x2 > x1))
                continue;
            const Line line{(y2 - y1) / (x2 - x1), y1 - (y2 - y1) / (x2 - x1) * x1};
            bool all = true;
            for (const ErrorBox& box : boxes)
                all = all && crosses(line, box);
            if (!all)
                continue;
            if (!range)
                range = {line.slope, line.slope};
            range->first = std::max(range->first, line.slope);
            range->second = std::min(range->second, line.slope);
        }
    return range;
}

TEST(ExtremeLinesThroughBars, AgreeWithABruteForceSearch)
{
    std::mt19937 engine(2026);
    std::uniform_int_distribution<int> count(2, 6), xs(0, 8);
    std::uniform_real_distribution<double> ys(-3, 3), sizes(0, 1.5);
    int compared = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<ErrorBox> boxes;
        const bool xBars = trial % 2 == 0;
        for (int i = count(engine); i > 0; --i)
            boxes.push_back({static_cast<double>(xs(engine)), 0.5 * xs(engine) + ys(engine),
                             xBars ? sizes(engine) : 0, sizes(engine)});
        const auto expected = bruteForce(boxes);
        const auto lines = extremeLines(boxes);
        if (!expected || !lines) {
            // Both none, or the slope is unbounded (every box at one x).
            EXPECT_FALSE(lines.has_value()) << "trial " << trial;
            continue;
        }
        ++compared;
        EXPECT_NEAR(lines->steepest.slope, expected->first, 1e-9) << "trial " << trial;
        EXPECT_NEAR(lines->shallowest.slope, expected->second, 1e-9) << "trial " << trial;
    }
    EXPECT_GT(compared, 1000);
}

} // namespace
