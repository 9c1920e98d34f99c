#include "formula/equation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The equation at one point, every name set to its value in `values`.
double valueOf(const std::string& text, const std::map<std::string, double>& values)
{
    auto read = Equation::read(text);
    EXPECT_TRUE(std::holds_alternative<Equation>(read)) << text;
    auto& equation = std::get<Equation>(read);
    for (std::size_t k = 0; k < equation.names().size(); ++k)
        *equation.values(k, 1) = values.at(equation.names()[k]);
    double result = 0;
    equation.evaluate(1, &result);
    return result;
}

struct Evaluation {
    const char* text;
    double expected;
};

const Evaluation evaluations[] = {
    {"-a^2", -9},       // -(a^2), as in mathematics
    {"-(x - a)^2", -1}, // negative, as a Gaussian needs
    {"2^-1", 0.5},
    {"2**3**2", 512}, // ** is ^, from the right
    {"a*x + 1.5", 7.5},
    {"ln(exp(2)) + log10(100)", 4},
    {"sqrt(abs(-16))", 4},
    {"sin(pi/2) + cos(0) + tan(0)", 2},
    {"asin(1) + acos(1) + atan(0) - pi/2", 0},
    {"sinh(0) + cosh(0) + tanh(0)", 1},
    {"x/a", 2.0 / 3},
    {"2*π - 2*pi", 0},
};

TEST(Equations, EvaluateWithMathematicsPrecedence)
{
    for (const Evaluation& e : evaluations)
        EXPECT_NEAR(valueOf(e.text, {{"a", 3}, {"x", 2}}), e.expected, 1e-12) << e.text;
}

TEST(Equations, NameTheirVariablesInOrderOfFirstAppearance)
{
    auto read = Equation::read("T_room + A1*exp(-k*x) + A1");
    ASSERT_TRUE(std::holds_alternative<Equation>(read));
    EXPECT_EQ(std::get<Equation>(read).names(),
              (std::vector<std::string>{"T_room", "A1", "k", "x"}));
}

TEST(Equations, TakeGreekLettersInNames)
{
    auto read = Equation::read("λ*x + Δt_2 - ω");
    ASSERT_TRUE(std::holds_alternative<Equation>(read));
    EXPECT_EQ(std::get<Equation>(read).names(), (std::vector<std::string>{"λ", "x", "Δt_2", "ω"}));
    const std::pair<const char*, bool> names[] = {
        {"θ", true},    {"T_1", true}, {"Δx", true}, {"x2", true}, {"_x", false},  {"2x", false},
        {"sin", false}, {"pi", false}, {"π", false}, {"µ", false}, {"a b", false}, {"", false},
    };
    for (const auto& [name, isName] : names)
        EXPECT_EQ(isVariableName(name), isName) << name;
}

TEST(Equations, EvaluateManyPointsInOneCall)
{
    auto read = Equation::read("a*x^2");
    auto& equation = std::get<Equation>(read);
    const std::size_t n = 1000; // beyond the first buffers
    double* a = equation.values(0, n);
    std::fill(a, a + n, 2.0);
    double* x = equation.values(1, n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = static_cast<double>(i);
    std::vector<double> y(n);
    equation.evaluate(n, y.data());
    for (std::size_t i = 0; i < n; ++i)
        ASSERT_EQ(y[i], 2.0 * static_cast<double>(i * i)) << i;
}

// Formulas whose muParser forms hold every kind of operation: names read
// alone, squared, cubed, to the fourth, times a constant plus one, the signs,
// constants folded, a power with a variable exponent, each function.
const char* const differentiated[] = {
    "a*x + 1.5",
    "2*x + a*3 - 4",
    "x^2 + a^3 - x^4",
    "-a^2 + +x",
    "x/a - a/x",
    "a^x",
    "(a*x)^(1/a)",
    "4*pi^2*a/x^2",
    "2^-x",
    "sin(a)*cos(x)",
    "tan(x/10)",
    "asin(x/3)",
    "acos(x/3)",
    "atan(a*x)",
    "sinh(x) - cosh(a)",
    "tanh(x - a)",
    "exp(-x/a)",
    "ln(a*x)",
    "log10(x^3)",
    "sqrt(a + x)",
    "abs(x - a)",
    "π*x",
    "3",
    "a**x**2",
};

TEST(Equations, DifferentiateEveryOperationTheyHold)
{
    const double at[] = {3, 2}; // a, x in the order the names appear
    for (const char* text : differentiated) {
        auto read = Equation::read(text);
        ASSERT_TRUE(std::holds_alternative<Equation>(read)) << text;
        Equation& equation = std::get<Equation>(read);
        const std::size_t n = equation.names().size();
        std::vector<double> values(n), gradient(n, 0.0);
        for (std::size_t k = 0; k < n; ++k)
            values[k] = equation.names()[k] == "a" ? at[0] : at[1];
        const double value = equation.valueAndGradient(values.data(), gradient.data());
        EXPECT_EQ(value, equation.evaluateAt(values.data())) << text;
        for (std::size_t k = 0; k < n; ++k) {
            // A central difference is right to about ten digits here.
            const double h = 1e-5;
            std::vector<double> up = values, down = values;
            up[k] += h;
            down[k] -= h;
            const double slope =
                (equation.evaluateAt(up.data()) - equation.evaluateAt(down.data())) / (2 * h);
            EXPECT_NEAR(gradient[k], slope, 1e-7 * std::max(1.0, std::fabs(slope)))
                << text << " by " << equation.names()[k];
        }
    }
}

struct Unreadable {
    const char* text;
    int character;
    const char* reason;
};

const Unreadable unreadables[] = {
    {"1,5*x", 2, "\",\" cannot stand in an equation"},
    {"x < 1", 3, "\"<\" cannot stand in an equation"},
    {"", 1, "there is no equation"},
    {"a*(x", 5, "missing parenthesis"},
    {"a x", 3, "unexpected variable \"x\" found"},
    {"a*µ", 3, "\"µ\" cannot stand in an equation"}, // the micro sign, not the Greek mu
    {"a*x²", 4, "\"²\" cannot stand in an equation"},
    {"my_f(x)", 5,
     "\"my_f\" is not a function; the functions are sin cos tan asin acos atan sinh cosh tanh "
     "exp ln log10 sqrt abs"},
    {"log(x)", 4,
     "\"log\" is not a function; the functions are sin cos tan asin acos atan sinh cosh tanh exp "
     "ln log10 sqrt abs"},
};

TEST(Equations, SayWhereTheyCannotBeRead)
{
    for (const Unreadable& u : unreadables) {
        auto read = Equation::read(u.text);
        ASSERT_TRUE(std::holds_alternative<EquationError>(read)) << u.text;
        EXPECT_EQ(std::get<EquationError>(read).character, u.character) << u.text;
        EXPECT_EQ(std::get<EquationError>(read).reason, u.reason) << u.text;
    }
}

} // namespace
