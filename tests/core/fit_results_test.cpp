// Results worked out from a fit's parameters, against closed forms that
// carry the covariance of slope and intercept by hand.
#include "fit/fit_results.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ModelChoice line()
{
    ModelChoice model;
    model.kind = ModelKind::Line;
    return model;
}

// Absolute zero from a gas thermometer: pressure against temperature in °C.
const std::vector<Point> gas = {{0, 101.2},  {20, 108.9}, {40, 116.1},
                                {60, 123.8}, {80, 130.9}, {100, 138.6}};

TEST(FitResults, XInterceptCarriesTheCovarianceOfSlopeAndIntercept)
{
    // x0 = -b/m; u(x0) = (s/|m|) √(1/n + (x0 - x̄)²/Sxx), the inverse
    // regression formula, which holds the correlation of m and b.
    long double n = 0, sx = 0, sy = 0;
    for (const Point& p : gas) {
        n += 1;
        sx += p.x;
        sy += p.y;
    }
    const long double meanX = sx / n, meanY = sy / n;
    long double sxx = 0, sxy = 0;
    for (const Point& p : gas) {
        sxx += (p.x - meanX) * (p.x - meanX);
        sxy += (p.x - meanX) * (p.y - meanY);
    }
    const long double m = sxy / sxx, b = meanY - m * meanX;
    long double sse = 0;
    for (const Point& p : gas)
        sse += (p.y - m * p.x - b) * (p.y - m * p.x - b);
    const long double s = std::sqrt(sse / (n - 2)), x0 = -b / m;
    const long double u = s / std::fabs(m) * std::sqrt(1 / n + (x0 - meanX) * (x0 - meanX) / sxx);

    const CurveFit fit = fitCurve(gas, line());
    ASSERT_TRUE(fit.fitted());
    const std::vector<FitResult> results = fitResults(fit, "-b/m");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_NEAR(results[0].value, static_cast<double>(x0), 1e-9 * std::fabs(x0));
    EXPECT_NEAR(results[0].uncertainty, static_cast<double>(u), 1e-8 * u);
    // Taken as independent, m and b would give 14 % less here.
    const double independent =
        std::hypot(fit.uncertainties[1] / fit.values[0],
                   fit.values[1] / (fit.values[0] * fit.values[0]) * fit.uncertainties[0]);
    EXPECT_GT(results[0].uncertainty, 1.1 * independent);
}

TEST(FitResults, WeightedFitsUseTheCovarianceOfTheGivenUncertainties)
{
    const std::vector<Point> points = {{1, 2.1}, {2, 3.9}, {3, 6.3}, {4, 7.8}, {5, 10.4}};
    const std::vector<double> u = {0.1, 0.2, 0.1, 0.4, 0.3};
    double s = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double w = 1 / (u[i] * u[i]);
        s += w;
        sx += w * points[i].x;
        sy += w * points[i].y;
        sxx += w * points[i].x * points[i].x;
        sxy += w * points[i].x * points[i].y;
    }
    const double delta = s * sxx - sx * sx;
    const double m = (s * sxy - sx * sy) / delta, b = (sxx * sy - sx * sxy) / delta;
    // b/m: ∂/∂b = 1/m, ∂/∂m = -b/m²; var m = S/Δ, var b = Sxx/Δ, cov = -Sx/Δ.
    const double gb = 1 / m, gm = -b / (m * m);
    const double variance = (gb * gb * sxx + gm * gm * s - 2 * gb * gm * sx) / delta;

    const CurveFit fit = fitCurve(points, line(), {{}, u});
    ASSERT_TRUE(fit.fitted() && fit.weighted);
    const std::vector<FitResult> results = fitResults(fit, "b/m");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_NEAR(results[0].value, b / m, 1e-12);
    EXPECT_NEAR(results[0].uncertainty, std::sqrt(variance), 1e-9 * std::sqrt(variance));
}

struct ResultText {
    const char* formulas;
    std::vector<std::string> lines;
};

TEST(FitResults, SayTheirValueOrWhyTheyHaveNone)
{
    // m = 1.99, b = 1.05, s² = 0.0035: u(m) = 0.026458, and m + b is the line
    // at x = 1, u² = s² (1/4 + (1 - 2.5)²/5) = 0.00245.
    const CurveFit fit = fitCurve({{1, 3}, {2, 5.1}, {3, 7}, {4, 9}}, line());
    ASSERT_TRUE(fit.fitted());
    const ResultText cases[] = {
        {" 4*pi^2/m ; ; m+b", {"4*pi^2/m = 19.84 ± 0.26", "m+b = 3.040 ± 0.049"}},
        {"g/m", {"g/m: \"g\" is not a parameter of this fit; its parameters are m and b"}},
        {"m*(b", {"m*(b: cannot be read at character 5: missing parenthesis"}},
        {"ln(-m)", {"ln(-m): gives no number with these parameter values"}},
        {"2*π", {"2*π = 6.283 ± 0"}},
        {"", {}},
    };
    for (const ResultText& c : cases) {
        std::vector<std::string> lines;
        for (const FitResult& result : fitResults(fit, c.formulas))
            lines.push_back(describeResult(result));
        EXPECT_EQ(lines, c.lines) << c.formulas;
    }
}

TEST(FitResults, WithoutUncertaintiesGiveTheValueAlone)
{
    const CurveFit fit = fitCurve({{1, 3}, {2, 5}}, line());
    ASSERT_TRUE(fit.fitted());
    const std::vector<FitResult> results = fitResults(fit, "-b/m");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(describeResult(results[0]), "-b/m = -0.5000");
}

TEST(FitResults, NoneForAFailedFit)
{
    EXPECT_TRUE(fitResults(fitCurve({{1, 3}}, line()), "m").empty());
}

} // namespace
