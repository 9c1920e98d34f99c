#include "fit/parameter_units.h"

#include "format/report_number.h"

namespace {

std::string grouped(const std::string& unit)
{
    return unit.find_first_of("/ ") == std::string::npos ? unit : "(" + unit + ")";
}

// xᵏ: "s", "s²", "(m/s)²"; nothing for a pure number.
std::string power(const std::string& x, int k)
{
    if (x.empty() || k == 0)
        return {};
    return k == 1 ? x : grouped(x) + superscript(k);
}

// y/xᵏ: "°C/s", "m/s²", "1/s", "m".
std::string over(const std::string& y, const std::string& x, int k)
{
    if (x.empty() || k == 0)
        return y;
    const std::string divisor = k == 1 ? grouped(x) : power(x, k);
    return (y.empty() ? std::string("1") : grouped(y)) + "/" + divisor;
}

} // namespace

std::vector<std::string> parameterUnits(const ModelChoice& model, const std::string& xUnit,
                                        const std::string& yUnit)
{
    const std::size_t count = builtinParameterNames(model).size();
    if ((xUnit.empty() && yUnit.empty()) || model.kind == ModelKind::OwnEquation)
        return std::vector<std::string>(model.kind == ModelKind::OwnEquation ? 0 : count);
    const std::string& y = yUnit;
    switch (model.kind) {
    case ModelKind::Line:
        return {over(y, xUnit, 1), y};
    case ModelKind::Proportional:
        return {over(y, xUnit, 1)};
    case ModelKind::Quadratic:
    case ModelKind::Polynomial: {
        std::vector<std::string> units;
        for (int k = 0; k < static_cast<int>(count); ++k)
            units.push_back(over(y, xUnit, k));
        return units;
    }
    case ModelKind::Exponential:
        return {y, over("", xUnit, 1)};
    case ModelKind::ExponentialWithOffset:
        return {y, over("", xUnit, 1), y};
    case ModelKind::Logarithm:
        return {y, y};
    case ModelKind::Sine:
        return {y, over("rad", xUnit, 1), "rad", y};
    case ModelKind::Gaussian:
        return {y, xUnit, xUnit, y};
    default: // the power law, and no fit
        return std::vector<std::string>(count);
    }
}
