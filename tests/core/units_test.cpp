// Units worked out from the units of what a formula uses: calculate column's
// headers, the results of a fit, and the x column's name in an own equation.

#include "batch/batch_run.h"
#include "commands/calculate_column.h"
#include "formula/equation.h"
#include "graph/graph_plot.h"

#include "scripted_ui.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct UnitText {
    const char* written;
    const char* read; // as the program writes it; empty: unknown
};

const UnitText unitTexts[] = {
    {"m", "m"},
    {"m/s^2", "m/s^2"},
    {"m/s²", "m/s^2"},
    {"s²/m", "s^2/m"},
    {"N s", "N s"},
    {"N·s", "N s"},
    {"kg m/s^2", "kg m/s^2"},
    {"1/s", "1/s"},
    {"s^-1", "1/s"},
    {"s⁻¹", "1/s"},
    {"N/(m/s)", "N s/m"},
    {"(m/s)^2", "m^2/s^2"},
    {"°C", "°C"},
    {"kg/(m s^2)", "kg/(m s^2)"},
    {"", ""},
    {"10^-3 m", ""},
    {"(m", ""},
    {"m/", ""},
};

TEST(Units, AreReadAndWrittenBack)
{
    for (const UnitText& c : unitTexts)
        EXPECT_EQ(Unit::read(c.written).text(), c.read) << c.written;
}

struct FormulaUnit {
    const char* formula;
    std::vector<const char*> units; // of the formula's names, in their order
    const char* unit;
};

const FormulaUnit formulaUnits[] = {
    {"T^2", {"s"}, "s^2"},
    {"4*pi^2*L/T^2", {"m", "s"}, "m/s^2"},
    {"2*pi*sqrt(L/g)", {"m", "m/s^2"}, "s"},
    {"T - 21.5", {"°C"}, "°C"},
    {"ln(T - 21.5)", {"°C"}, ""}, // a function needs a pure number
    {"ln(x/x0)", {"m", "m"}, ""}, // pure: no unit to write
    {"L + T", {"m", "s"}, ""},    // lengths and times do not add
    {"L*n", {"m", "1"}, "m"},
    {"L*c", {"m", ""}, ""},           // a column without a unit
    {"sin(B*t)", {"rad/s", "s"}, ""}, // radians count as a pure number
    {"x^y", {"m", "1"}, ""},
    {"-F/x", {"N", "m"}, "N/m"},
    {"m*v^2/2", {"kg", "m/s"}, "kg m^2/s^2"},
};

TEST(Units, OfAFormulaFollowFromTheUnitsOfItsNames)
{
    for (const FormulaUnit& c : formulaUnits) {
        auto read = Equation::read(c.formula);
        ASSERT_TRUE(std::holds_alternative<Equation>(read)) << c.formula;
        const Equation& equation = std::get<Equation>(read);
        ASSERT_EQ(equation.names().size(), c.units.size()) << c.formula;
        std::vector<Unit> units;
        for (const char* unit : c.units)
            units.push_back(std::string(unit) == "1" ? Unit::number() : Unit::read(unit));
        EXPECT_EQ(equation.unitOf(units).text(), c.unit) << c.formula;
    }
}

// calculate column heads its columns with the unit the formula gives.
TEST(Units, HeadACalculatedColumn)
{
    TestBench bench("L (m),T (s),u(T) (s)\r\n0.5,1.42,0.01", {"4*pi^2*L/T^2"});
    calculateColumn(bench.context);
    EXPECT_EQ(bench.ui.box, "L (m),T (s),u(T) (s),4*pi^2*L/T^2 (m/s^2),u(4*pi^2*L/T^2) (m/s^2)\r\n"
                            "0.5,1.42,0.01, 9.789, .1379");
    TestBench noUnit("L (m),T\r\n0.5,1.42", {"L/T^2"});
    calculateColumn(noUnit.context);
    EXPECT_EQ(noUnit.ui.box, "L (m),T,L/T^2\r\n0.5,1.42, .2479");
}

const char* const pendulum = "L (m),T (s),u(T) (s)\r\n0.20,0.90,0.02\r\n0.40,1.27,0.02\r\n"
                             "0.60,1.55,0.02\r\n0.80,1.80,0.02\r\n1.00,2.01,0.02\r\n";

// T² against L: the slope in s^2/m, g = 4π²/m in m/s^2, named when asked
// (the README's worked example: 9.78 ± 0.22).
TEST(Units, OfResultsComeFromTheParameters)
{
    TestBench bench(pendulum, {"T^2"});
    calculateColumn(bench.context);
    std::istringstream input(bench.ui.box);
    const BatchResult result = runBatch({"fit", "--model", "line", "--y", "4", "--sigma-y", "5",
                                         "--result", "4*pi^2/m", "--result", "g = 4*pi^2/m"},
                                        input);
    ASSERT_EQ(result.exitStatus, producedOutput) << result.err;
    EXPECT_NE(result.out.find("slope m = 4.035 ± 0.089 s^2/m\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\n4*pi^2/m = 9.78 ± 0.22 m/s^2\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\ng = 9.78 ± 0.22 m/s^2\n"), std::string::npos) << result.out;
}

// An own equation in the x column's name: t is x, not a parameter.
TEST(Units, AnOwnEquationMayUseTheXColumnsName)
{
    std::string box = "t (s),T (°C)\r\n";
    for (int i = 0; i <= 10; ++i)
        box += std::to_string(i * 90) + "," + std::to_string(22 + 58 * std::exp(-0.0035 * i * 90)) +
               "\r\n";
    const GraphTable table = readGraphTable(box, ',');
    GraphChoice choice = defaultChoice(table);
    choice.model.kind = ModelKind::OwnEquation;
    choice.model.equation = "T0 + A*exp(-k*t)";
    choice.model.starts = {{"T0", 20}, {"A", 50}, {"k", 0.01}};
    const GraphPlot plot = plotGraph(table, choice);
    ASSERT_TRUE(plot.fit->fitted()) << plot.text();
    EXPECT_EQ(plot.fit->names, (std::vector<std::string>{"T0", "A", "k"}));
    EXPECT_NEAR(plot.fit->values[2], 0.0035, 1e-9);
}

} // namespace
