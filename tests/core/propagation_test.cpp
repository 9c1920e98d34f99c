// The law of propagation of uncertainty on formulas, against cases worked
// out by hand and derivatives known in closed form.
#include "formula/propagation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

Equation formulaOf(const std::string& text)
{
    auto read = Equation::read(text);
    if (!std::holds_alternative<Equation>(read))
        ADD_FAILURE() << text << ": " << std::get<EquationError>(read).reason;
    return std::move(std::get<Equation>(read));
}

// Each name's value and uncertainty, in the order the formula names them.
struct Inputs {
    std::vector<double> values;
    std::vector<double> uncertainties;
};

Inputs inputsFor(const Equation& formula,
                 const std::map<std::string, std::pair<double, double>>& given)
{
    Inputs inputs;
    for (const std::string& name : formula.names()) {
        inputs.values.push_back(given.at(name).first);
        inputs.uncertainties.push_back(given.at(name).second);
    }
    return inputs;
}

struct PropagationCase {
    const char* formula;
    std::map<std::string, std::pair<double, double>> inputs; // name: value, u
    double value;
    double uncertainty; // NaN: none
    bool firstOrderHolds;
};

const double none = std::nan("");

const PropagationCase propagationCases[] = {
    // u(x²) = 2x u
    {"x^2", {{"x", {2, 0.25}}}, 4, 1.0, true},
    // products and quotients add relative uncertainties in quadrature:
    // √(0.01² + 0.02²) = 0.0223607
    {"x*y", {{"x", {3, 0.03}}, {"y", {4, 0.08}}}, 12, 12 * std::sqrt(0.0005), true},
    {"x/y", {{"x", {3, 0.03}}, {"y", {4, 0.08}}}, 0.75, 0.75 * std::sqrt(0.0005), true},
    {"x + 2*y", {{"x", {3, 0.3}}, {"y", {4, 0.2}}}, 11, 0.5, true},
    // u(ln x) = u/x
    {"ln(x)", {{"x", {5, 0.1}}}, std::log(5.0), 0.02, true},
    // an input without an uncertainty counts as exact
    {"x*y", {{"x", {3, 0.03}}, {"y", {4, 0}}}, 12, 0.12, true},
    {"4*pi^2*L/T^2",
     {{"L", {0.5, 0.001}}, {"T", {1.42, 0.01}}},
     4 * M_PI* M_PI * 0.5 / (1.42 * 1.42),
     4 * M_PI* M_PI * 0.5 / (1.42 * 1.42) * std::hypot(0.001 / 0.5, 2 * 0.01 / 1.42),
     true},
    // the rule gives 0, yet x² reaches 100 within ± 10
    {"x^2", {{"x", {0, 10}}}, 0, 0, false},
    // 1/x bends: at 1 ± 0.05 the line is close, at 1 ± 0.2 it is not
    {"1/x", {{"x", {1, 0.05}}}, 1, 0.05, true},
    {"1/x", {{"x", {1, 0.2}}}, 1, 0.2, false},
    // ln is not defined at 0.05 - 0.1
    {"ln(x)", {{"x", {0.05, 0.1}}}, std::log(0.05), 2, false},
    // √x has no finite slope at 0
    {"sqrt(x)", {{"x", {0, 0.1}}}, 0, none, false},
    // a kink: the rule's slope 0 says nothing of |x| within ± 1
    {"abs(x)", {{"x", {0, 1}}}, 0, 0, false},
};

TEST(Propagation, FollowsTheFirstOrderRuleAndSaysWhereItFails)
{
    for (const PropagationCase& c : propagationCases) {
        Equation formula = formulaOf(c.formula);
        const Inputs inputs = inputsFor(formula, c.inputs);
        const Propagated result =
            propagateIndependent(formula, inputs.values, inputs.uncertainties);
        EXPECT_NEAR(result.value, c.value, 1e-12 * std::fabs(c.value)) << c.formula;
        if (std::isnan(c.uncertainty))
            EXPECT_TRUE(std::isnan(result.uncertainty)) << c.formula << ": " << result.uncertainty;
        else
            EXPECT_NEAR(result.uncertainty, c.uncertainty, 1e-9 * c.uncertainty + 1e-15)
                << c.formula;
        EXPECT_EQ(firstOrderHolds(formula, inputs.values, inputs.uncertainties, result),
                  c.firstOrderHolds)
            << c.formula;
    }
}

TEST(Propagation, GivesNothingWhereTheFormulaGivesNoNumber)
{
    Equation formula = formulaOf("ln(x)");
    const Propagated result = propagateIndependent(formula, {-1}, {0.1});
    EXPECT_TRUE(std::isnan(result.value));
    EXPECT_TRUE(std::isnan(result.uncertainty));
}

// A function of the formula language and its derivative in closed form,
// with the values of x where both are checked.
struct KnownDerivative {
    const char* formula;
    double (*derivative)(double);
    std::vector<double> at;
};

const KnownDerivative knownDerivatives[] = {
    {"sin(x)", [](double x) { return std::cos(x); }, {-3, 0, 0.5, 2, 40, 1e4}},
    {"cos(x)", [](double x) { return -std::sin(x); }, {-3, 0.5, 2, 40}},
    {"tan(x)", [](double x) { return 1 / (std::cos(x) * std::cos(x)); }, {-1.5, 0, 0.7, 1.5}},
    {"exp(x)", [](double x) { return std::exp(x); }, {-20, -1, 0, 3, 300}},
    {"ln(x)", [](double x) { return 1 / x; }, {1e-6, 0.01, 1, 250, 1e9}},
    {"log10(x)", [](double x) { return 1 / (x * std::log(10.0)); }, {0.001, 2, 5e5}},
    {"sqrt(x)", [](double x) { return 0.5 / std::sqrt(x); }, {1e-8, 0.3, 16, 1e12}},
    {"x^3 - 2*x", [](double x) { return 3 * x * x - 2; }, {-5, 0.5, 1, 1e3}},
    {"1/x", [](double x) { return -1 / (x * x); }, {-2, 1e-4, 3, 1e5}},
    {"asin(x)", [](double x) { return 1 / std::sqrt(1 - x * x); }, {-0.9, 0, 0.5, 0.99}},
    {"atan(x)", [](double x) { return 1 / (1 + x * x); }, {-10, 0, 1, 1e3}},
    {"tanh(x)", [](double x) { return 1 / (std::cosh(x) * std::cosh(x)); }, {-3, 0, 0.4, 5}},
    {"exp(-x^2/2)", [](double x) { return -x * std::exp(-x * x / 2); }, {-2, 0.1, 1, 3}},
    {"x^2.5", [](double x) { return 2.5 * std::pow(x, 1.5); }, {0.01, 1, 7, 1e4}},
    {"exp(1000*x)", [](double x) { return 1000 * std::exp(1000 * x); }, {-0.01, 0, 0.3}},
};

// The relative error of ∂f/∂x as propagation finds it: the largest over
// every case.
TEST(Propagation, FindsDerivativesExactUpToRounding)
{
    double largest = 0;
    for (const KnownDerivative& known : knownDerivatives) {
        Equation formula = formulaOf(known.formula);
        for (const double x : known.at) {
            const Propagated result = propagateIndependent(formula, {x}, {1e-3});
            const double exact = known.derivative(x);
            const double error = exact == 0 ? std::fabs(result.gradient[0])
                                            : std::fabs(result.gradient[0] / exact - 1);
            largest = std::max(largest, error);
            EXPECT_LT(error, 1e-14) << known.formula << " at " << x << ": " << result.gradient[0]
                                    << " against " << exact;
        }
    }
    RecordProperty("largest_relative_error", std::to_string(largest));
    std::cout << "largest relative error of a derivative: " << largest << "\n";
}

TEST(Propagation, CarriesCorrelatedInputsThroughTheirCovariance)
{
    // f = a - b with u(a) = u(b) = 1: 0 when fully correlated, √2 when
    // independent, 2 when anticorrelated.
    Equation formula = formulaOf("a - b");
    for (const auto& [correlation, expected] :
         {std::pair{1.0, 0.0}, std::pair{0.0, std::sqrt(2.0)}, std::pair{-1.0, 2.0}}) {
        const Propagated result =
            propagateCorrelated(formula, {5, 3}, {1, correlation, correlation, 1});
        EXPECT_DOUBLE_EQ(result.value, 2);
        EXPECT_NEAR(result.uncertainty, expected, 1e-9) << correlation;
    }
}

} // namespace
