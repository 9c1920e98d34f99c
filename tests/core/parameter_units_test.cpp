#include "data/column_heads.h"
#include "fit/parameter_units.h"
#include "graph/graph_plot.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ModelChoice modelOf(ModelKind kind, int degree = 2)
{
    ModelChoice model;
    model.kind = kind;
    model.degree = degree;
    return model;
}

struct UnitCase {
    ModelKind kind;
    int degree;
    const char* x;
    const char* y;
    std::vector<std::string> units;
};

const UnitCase unitCases[] = {
    {ModelKind::Line, 0, "s", "°C", {"°C/s", "°C"}},
    {ModelKind::Proportional, 0, "m/s", "N", {"N/(m/s)"}},
    {ModelKind::Quadratic, 0, "s", "m", {"m", "m/s", "m/s²"}},
    {ModelKind::Polynomial, 3, "s", "m", {"m", "m/s", "m/s²", "m/s³"}},
    {ModelKind::Polynomial, 2, "m s", "J", {"J", "J/(m s)", "J/(m s)²"}},
    {ModelKind::Exponential, 0, "s", "V", {"V", "1/s"}},
    {ModelKind::ExponentialWithOffset, 0, "s", "°C", {"°C", "1/s", "°C"}},
    {ModelKind::Power, 0, "m", "s", {"", ""}},
    {ModelKind::Logarithm, 0, "Hz", "dB", {"dB", "dB"}},
    {ModelKind::Sine, 0, "s", "cm", {"cm", "rad/s", "rad", "cm"}},
    {ModelKind::Gaussian, 0, "nm", "counts", {"counts", "nm", "nm", "counts"}},
    // one unit of the two
    {ModelKind::Line, 0, "", "m", {"m", "m"}},
    {ModelKind::Line, 0, "s", "", {"1/s", ""}},
    // none: nothing changes, not even the sine's radians
    {ModelKind::Sine, 0, "", "", {"", "", "", ""}},
};

TEST(ParameterUnits, FollowFromTheUnitsOfXAndY)
{
    for (const UnitCase& c : unitCases)
        EXPECT_EQ(parameterUnits(modelOf(c.kind, c.degree), c.x, c.y), c.units)
            << modelItem(c.kind) << " x " << c.x << " y " << c.y;
    ModelChoice own;
    own.kind = ModelKind::OwnEquation;
    own.equation = "a*x";
    EXPECT_TRUE(parameterUnits(own, "s", "m").empty());
}

TEST(ParameterUnits, ComeFromTheHeadersAndStandAfterTheValues)
{
    EXPECT_EQ(unitOfHeader("t (s)"), "s");
    EXPECT_EQ(unitOfHeader(" L [m] "), "m");
    EXPECT_EQ(unitOfHeader("u(T)"), "");
    EXPECT_EQ(unitOfHeader("T"), "");
    // A cooling curve: B in 1/s, A and C in °C.
    std::string box = "t (s),T (°C)\r\n";
    for (int i = 0; i <= 12; ++i)
        box += std::to_string(i * 60) + "," + std::to_string(21.5 + 58.5 * std::exp(-i * 0.3)) +
               "\r\n";
    const GraphTable table = readGraphTable(box, ',');
    GraphChoice choice = defaultChoice(table);
    choice.model = modelOf(ModelKind::ExponentialWithOffset);
    const std::string text = plotGraph(table, choice).text();
    const auto lineOf = [&text](const std::string& start) {
        const auto at = text.find("\n" + start);
        return at == std::string::npos ? std::string()
                                       : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
    };
    EXPECT_TRUE(lineOf("A = ").ends_with(" °C")) << text;
    EXPECT_TRUE(lineOf("B = ").ends_with(") × 10⁻³ 1/s")) << text;
    EXPECT_TRUE(lineOf("C = ").ends_with(" °C")) << text;
}

} // namespace
