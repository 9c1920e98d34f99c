// Each built-in model on data made from it, and every sentence a fit gives
// when it cannot fit.
#include "fit/curve_fit.h"
#include "fit/fit_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <iostream>
#include <map>

namespace {

struct ModelCase {
    const char* name;
    ModelKind kind;
    int degree;
    std::function<double(double)> truth;
    std::vector<double> parameters; // the truth's, in the fit's order
    double firstX, step;
    int count;
    double noise; // the largest deviation added to y
};

// Deviations that look random, reproducible on every machine, mean about 0.
double deviation(int i, double size) { return size * (((i * 7919 + 13) % 101) - 50) / 50.0; }

const double pi = 3.141592653589793;

const ModelCase modelCases[] = {
    {"line", ModelKind::Line, 0, [](double x) { return 2.5 * x - 3; }, {2.5, -3}, 0, 1, 21, 0.2},
    {"proportional",
     ModelKind::Proportional,
     0,
     [](double x) { return -1.7 * x; },
     {-1.7},
     1,
     0.5,
     12,
     0.05},
    {"falling_ball",
     ModelKind::Quadratic,
     0,
     [](double t) { return 1.2 + 0.5 * t - 4.9 * t * t; },
     {1.2, 0.5, -4.9},
     0,
     0.05,
     15,
     0.005},
    {"cubic_at_clock_times",
     ModelKind::Polynomial,
     3,
     [](double x) {
         const double t = x - 36000;
         return 2 + 0.01 * t - 2e-4 * t * t + 1e-6 * t * t * t;
     },
     // the powers of t = x - c carried to those of x
     {2 - 0.01 * 36000 - 2e-4 * 36000.0 * 36000 - 1e-6 * 36000.0 * 36000 * 36000,
      0.01 + 2 * 36000 * 2e-4 + 3 * 1e-6 * 36000.0 * 36000, -2e-4 - 3 * 36000 * 1e-6, 1e-6},
     36000,
     10,
     40,
     0.01},
    {"decay",
     ModelKind::Exponential,
     0,
     [](double x) { return 5 * std::exp(-0.3 * x); },
     {5, -0.3},
     0,
     0.5,
     21,
     0.01},
    {"negative_growth",
     ModelKind::Exponential,
     0,
     [](double x) { return -2 * std::exp(0.2 * x); },
     {-2, 0.2},
     -5,
     0.5,
     21,
     0.02},
    {"cooling_at_clock_times",
     ModelKind::ExponentialWithOffset,
     0,
     [](double t) { return 21.5 + 58 * std::exp(-0.004 * (t - 36000)); },
     {58 * std::exp(0.004 * 36000), -0.004, 21.5},
     36000,
     60,
     31,
     0.1},
    {"charging",
     ModelKind::ExponentialWithOffset,
     0,
     [](double t) { return 9 - 9 * std::exp(-t / 2.2); },
     {-9, -1 / 2.2, 9},
     0,
     0.5,
     25,
     0.03},
    {"pendulum",
     ModelKind::Power,
     0,
     [](double l) { return 2.006 * std::pow(l, 0.5); },
     {2.006, 0.5},
     0.2,
     0.1,
     15,
     0.005},
    {"logarithm",
     ModelKind::Logarithm,
     0,
     [](double x) { return 3 - 2 * std::log(x); },
     {3, -2},
     0.5,
     0.5,
     20,
     0.02},
    {"spring",
     ModelKind::Sine,
     0,
     [](double t) { return 2 * std::sin(3 * t + 0.5) + 1; },
     {2, 3, 0.5, 1},
     0,
     0.1,
     101,
     0.05},
    // A spring read every 0.1 s, 2.9 readings a period: the frequency above
    // half the rate of reading that fits the readings as well (2π/0.1 - 21.6)
    // is not the one a student measured.
    {"fast_spring_read_three_times_a_period",
     ModelKind::Sine,
     0,
     [](double t) { return std::sin(21.6 * t + 0.4); },
     {1, 21.6, 0.4, 0},
     0,
     0.1,
     40,
     0.01},
    {"sine_at_clock_times",
     ModelKind::Sine,
     0,
     [](double t) { return 0.3 * std::sin(pi * t + 1) - 0.1; },
     {0.3, pi, std::remainder(1 + pi * 0, 2 * pi), -0.1},
     36000,
     0.1,
     60,
     0.01},
    {"spectral_line",
     ModelKind::Gaussian,
     0,
     [](double x) { return 10 * std::exp(-(x - 450) * (x - 450) / (2 * 16)) + 0.5; },
     {10, 450, 4, 0.5},
     430,
     1,
     41,
     0.1},
    {"absorption_dip",
     ModelKind::Gaussian,
     0,
     [](double x) { return -3 * std::exp(-(x + 2) * (x + 2) / (2 * 0.25)) + 7; },
     {-3, -2, 0.5, 7},
     -5,
     0.1,
     61,
     0.02},
};

class BuiltinModels : public testing::TestWithParam<ModelCase> {};

// The least squares can be no larger than at the true parameters, where
// they are the sum of the squared deviations; a fit caught in another
// minimum gives more. The parameters lie near the truth.
TEST_P(BuiltinModels, FindTheLeastSquaresFromTheirOwnStart)
{
    const ModelCase& c = GetParam();
    std::vector<Point> points;
    double deviations = 0;
    for (int i = 0; i < c.count; ++i) {
        const double x = c.firstX + i * c.step;
        points.push_back({x, c.truth(x) + deviation(i, c.noise)});
        deviations += deviation(i, c.noise) * deviation(i, c.noise);
    }
    ModelChoice model;
    model.kind = c.kind;
    model.degree = c.degree;
    const CurveFit fit = fitCurve(points, model);
    ASSERT_TRUE(fit.fitted()) << fit.failure;
    EXPECT_LE(fit.residualSumOfSquares, deviations * (1 + 1e-9));
    ASSERT_EQ(fit.values.size(), c.parameters.size());
    for (std::size_t k = 0; k < c.parameters.size(); ++k)
        EXPECT_NEAR(fit.values[k], c.parameters[k], 6 * fit.uncertainties[k] + 1e-9)
            << fit.names[k];
    std::vector<double> x = {points[3].x}, y(1);
    fit.curve(x.data(), 1, y.data());
    EXPECT_NEAR(y[0], c.truth(x[0]), 5 * c.noise + 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Data, BuiltinModels, testing::ValuesIn(modelCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    ModelChoice model;
    std::vector<Point> points;
    std::string text;
};

ModelChoice own(const std::string& equation, std::map<std::string, double> starts = {})
{
    ModelChoice model;
    model.kind = ModelKind::OwnEquation;
    model.equation = equation;
    model.starts = std::move(starts);
    return model;
}

ModelChoice builtin(ModelKind kind, int degree = 2)
{
    ModelChoice model;
    model.kind = kind;
    model.degree = degree;
    return model;
}

const std::vector<Point> three = {{1, 2}, {2, 3.9}, {3.2, 6.1}};

const FailureCase failures[] = {
    {"unreadable", own("a*(x"), three,
     "Fit y = a*(x: the equation cannot be read at character 5: missing parenthesis."},
    {"no_parameter", own("2*x + 1"), three,
     "Fit y = 2*x + 1: the equation has no parameter to fit."},
    {"too_few_points", builtin(ModelKind::Polynomial, 4), three,
     "Fit y = a0 + a1 x + a2 x² + a3 x³ + a4 x⁴: 3 points cannot fix 5 parameters."},
    // no number from the start given nor from any the program tries
    {"no_number", own("a*sqrt(-x - b^2)", {{"b", 2}}), three,
     "Fit y = a*sqrt(-x - b^2): the equation gives no number at x = 1 with these parameter "
     "values."},
    {"product", own("A*B*x + C"), three,
     "Fit y = A*B*x + C: A and B appear only as their product A·B; fix one of them or write one "
     "parameter."},
    {"ratio", own("a/b*x"), three,
     "Fit y = a/b*x: a and b appear only as their ratio a/b; fix one of them or write one "
     "parameter."},
    {"sum", own("exp(k + c)*x + d"), three,
     "Fit y = exp(k + c)*x + d: k and c appear only as their sum k + c; fix one of them or write "
     "one parameter."},
    {"undetermined", own("a*x + 0*b"), three,
     "Fit y = a*x + 0*b: b cannot be determined from these data (the data do not depend on it)."},
    {"undetermined_polynomial",
     builtin(ModelKind::Quadratic),
     {{1, 1}, {1, 2}, {2, 3}, {2, 4}},
     "Fit y = a0 + a1 x + a2 x²: a2 cannot be determined from these data (the data do not depend "
     "on it)."},
    {"proportional_through_x_0",
     builtin(ModelKind::Proportional),
     {{0, 1}, {0, 2}},
     "Fit y = A x: A cannot be determined from these data (the data do not depend on it)."},
    {"logarithm_of_zero",
     builtin(ModelKind::Logarithm),
     {{0, 1}, {1, 2}, {2, 3}},
     "Fit y = A + B ln x: the model gives no number at x = 0."},
};

class FitFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(FitFailures, SayWhyInOneSentence)
{
    EXPECT_EQ(describeFit(fitCurve(GetParam().points, GetParam().model)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Sentences, FitFailures, testing::ValuesIn(failures),
                         [](const auto& info) { return std::string(info.param.name); });

// A cup of tea cooling towards the room's 21.5 °C: T = 21.5 + 58.5 e^(-x/290),
// every `step` seconds for 900 s, with small deviations.
std::vector<Point> coolingCurve(double step)
{
    std::vector<Point> points;
    for (int i = 0; i * step <= 900; ++i) {
        const double x = i * step;
        points.push_back({x, 21.5 + 58.5 * std::exp(-x / 290) + deviation(i, 0.05)});
    }
    return points;
}

struct Rescue {
    const char* equation;
    std::map<std::string, double> starts;
    std::vector<double> expected; // near the truth
    const char* startNote;
};

TEST(OwnEquations, FitFromStartsOfTheProgramsOwnWhereTheGivenLeadNowhere)
{
    const Rescue rescues[] = {
        // From 1, e^(-900) is 0: k has no influence.
        {"T0 + A*exp(-k*x)",
         {},
         {21.5, 58.5, 1 / 290.0},
         "starting values found by the program: T0 = "},
        // From the given k the exponential overflows... nowhere: k < 0 grows.
        {"T0 + A*exp(-k*x)",
         {{"k", -1}},
         {21.5, 58.5, 1 / 290.0},
         "starting values found by the program: "},
        // Given well, the student's values are kept and nothing is said.
        {"T0 + A*exp(-k*x)", {{"T0", 20}, {"A", 60}, {"k", 0.01}}, {21.5, 58.5, 1 / 290.0}, ""},
    };
    const std::vector<Point> points = coolingCurve(60);
    for (const Rescue& rescue : rescues) {
        const CurveFit fit = fitCurve(points, own(rescue.equation, rescue.starts));
        ASSERT_TRUE(fit.fitted()) << fit.failure;
        for (std::size_t k = 0; k < rescue.expected.size(); ++k)
            EXPECT_NEAR(fit.values[k], rescue.expected[k], 0.01 * std::fabs(rescue.expected[k]))
                << rescue.equation << " " << fit.names[k];
        EXPECT_TRUE(fit.startNote.starts_with(rescue.startNote)) << fit.startNote;
        EXPECT_EQ(fit.startNote.empty(), std::string(rescue.startNote).empty());
        if (!fit.startNote.empty()) {
            EXPECT_NE(describeFit(fit).find("\n" + fit.startNote + "\n"), std::string::npos);
        }
    }
}

TEST(OwnEquations, FitAFewThousandPointsFromAnyStartWithinASecond)
{
    const std::vector<Point> points = coolingCurve(0.3); // 3001 readings
    const auto started = std::chrono::steady_clock::now();
    const CurveFit fit = fitCurve(points, own("T0 + A*exp(-k*x)"));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_TRUE(fit.fitted()) << fit.failure;
    EXPECT_NEAR(fit.values[2], 1 / 290.0, 1e-5);
    std::cout << "3001 points from starting values of 1: " << seconds << " s\n";
    EXPECT_LT(seconds, 3.0); // under a second in a release build; the sanitizers take longer
}

// s² (JᵀJ)⁻¹ of a model at its parameters, J its derivatives by the
// parameters at every x, inverted by Gauss-Jordan in extended precision.
std::vector<long double> covarianceOf(const std::vector<Point>& points, double s,
                                      const std::function<std::vector<long double>(double)>& row)
{
    const std::size_t p = row(points.front().x).size();
    std::vector<long double> a(p * 2 * p, 0); // [JᵀJ | I]
    for (const Point& point : points) {
        const std::vector<long double> j = row(point.x);
        for (std::size_t r = 0; r < p; ++r)
            for (std::size_t c = 0; c < p; ++c)
                a[r * 2 * p + c] += j[r] * j[c];
    }
    for (std::size_t r = 0; r < p; ++r)
        a[r * 2 * p + p + r] = 1;
    for (std::size_t k = 0; k < p; ++k) {
        std::size_t pivot = k;
        for (std::size_t r = k + 1; r < p; ++r)
            if (std::fabs(a[r * 2 * p + k]) > std::fabs(a[pivot * 2 * p + k]))
                pivot = r;
        for (std::size_t c = 0; c < 2 * p; ++c)
            std::swap(a[k * 2 * p + c], a[pivot * 2 * p + c]);
        const long double diagonal = a[k * 2 * p + k];
        for (std::size_t c = 0; c < 2 * p; ++c)
            a[k * 2 * p + c] /= diagonal;
        for (std::size_t r = 0; r < p; ++r)
            if (r != k) {
                const long double factor = a[r * 2 * p + k];
                for (std::size_t c = 0; c < 2 * p; ++c)
                    a[r * 2 * p + c] -= factor * a[k * 2 * p + c];
            }
    }
    std::vector<long double> covariance(p * p);
    for (std::size_t r = 0; r < p; ++r)
        for (std::size_t c = 0; c < p; ++c)
            covariance[r * p + c] = static_cast<long double>(s) * s * a[r * 2 * p + p + c];
    return covariance;
}

// A sine fitted far from x = 0 is fitted in x less an offset; its printed
// uncertainties must be those of the fit in x itself, worked out here from
// the derivatives of A sin(B x + C) + D at the fitted parameters.
TEST(SineUncertainties, FarFromZeroAreThoseOfTheFitInXItself)
{
    const struct {
        const char* name;
        double firstX;
    } cases[] = {{"near_zero", 0}, {"at_clock_times", 36000}, {"before_zero", -5000}};
    for (const auto& c : cases) {
        std::vector<Point> points;
        for (int i = 0; i < 60; ++i) {
            const double x = c.firstX + 0.1 * i;
            points.push_back({x, 0.3 * std::sin(pi * x + 1) - 0.1 + deviation(i, 0.01)});
        }
        const CurveFit fit = fitCurve(points, builtin(ModelKind::Sine));
        ASSERT_TRUE(fit.fitted()) << c.name << ": " << fit.failure;
        const long double a = fit.values[0], b = fit.values[1], phase = fit.values[2];
        const std::vector<long double> covariance =
            covarianceOf(points, *fit.residualStandardDeviation, [&](double x) {
                const long double angle = b * x + phase;
                return std::vector<long double>{std::sin(angle), a * x * std::cos(angle),
                                                a * std::cos(angle), 1};
            });
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_NEAR(fit.uncertainties[k], std::sqrt(static_cast<double>(covariance[k * 5])),
                        1e-6 * fit.uncertainties[k])
                << c.name << " " << fit.names[k];
    }
}

TEST(FitTexts, GiveEveryParameterSAndRSquaredAndTheRange)
{
    const std::vector<Point> points = {{0, 1.02}, {1, 2.98}, {2, 5.01}, {3, 7.03}, {4, 8.97}};
    const CurveFit fit = fitCurve(points, builtin(ModelKind::Proportional));
    EXPECT_EQ(describeFit(fit, FitRange{0.5, std::nullopt, 4, 5}),
              // A = Σxy/Σx² = 69.97/30, s² = (Σy² - A Σxy)/4, u(A) = s/√30, by hand
              "Fit y = A x through 5 points:\nA = 2.33 ± 0.12\n"
              "root-mean-square deviation s = 0.6537\nR² = 0.957055\n"
              "± gives the standard uncertainty (one standard deviation).\n"
              "fitted from x = 0.5 (4 of 5 points)");
}

} // namespace
