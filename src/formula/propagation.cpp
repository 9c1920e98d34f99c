#include "formula/propagation.h"

#include <cmath>
#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// The formula with input k at x and the others at their values.
double along(Equation& formula, std::vector<double>& values, std::size_t k, double x)
{
    const double kept = values[k];
    values[k] = x;
    const double f = formula.evaluateAt(values.data());
    values[k] = kept;
    return f;
}

// The value and the gradient of the formula at the values.
Propagated valueAndGradient(Equation& formula, const std::vector<double>& values)
{
    Propagated result{0, 0, std::vector<double>(values.size())};
    result.value = formula.valueAndGradient(values.data(), result.gradient.data());
    if (!std::isfinite(result.value))
        return {nan, nan, {}};
    return result;
}

void takeSquareRoot(Propagated& result, long double variance)
{
    // A sum of products of rounded numbers may fall a hair below 0.
    result.uncertainty = static_cast<double>(std::sqrt(variance < 0 ? 0.0L : variance));
    if (!std::isfinite(result.uncertainty))
        result.uncertainty = nan;
}

} // namespace

Propagated propagateIndependent(Equation& formula, const std::vector<double>& values,
                                const std::vector<double>& uncertainties)
{
    Propagated result = valueAndGradient(formula, values);
    if (!std::isfinite(result.value))
        return result;
    long double variance = 0;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (!(uncertainties[k] > 0))
            continue;
        const long double term = static_cast<long double>(result.gradient[k]) * uncertainties[k];
        variance += term * term;
    }
    takeSquareRoot(result, variance);
    return result;
}

Propagated propagateCorrelated(Equation& formula, const std::vector<double>& values,
                               const std::vector<double>& covariance)
{
    const std::size_t p = values.size();
    Propagated result = valueAndGradient(formula, values);
    if (!std::isfinite(result.value))
        return result;
    long double variance = 0;
    for (std::size_t i = 0; i < p; ++i)
        for (std::size_t j = 0; j < p; ++j)
            if (covariance[i * p + j] != 0) // a parameter known exactly adds nothing
                variance += static_cast<long double>(result.gradient[i]) * covariance[i * p + j] *
                            result.gradient[j];
    takeSquareRoot(result, variance);
    return result;
}

bool firstOrderHolds(Equation& formula, const std::vector<double>& values,
                     const std::vector<double>& uncertainties, const Propagated& propagated)
{
    if (!std::isfinite(propagated.value) || !std::isfinite(propagated.uncertainty))
        return false;
    constexpr double bendTolerance = 0.1;
    const double f = propagated.value;
    std::vector<double> at = values;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const double u = uncertainties[k];
        if (!(u > 0))
            continue;
        for (const double side : {-1.0, 1.0}) {
            const double moved = along(formula, at, k, values[k] + side * u);
            if (!std::isfinite(moved))
                return false;
            const double line = f + side * propagated.gradient[k] * u;
            // What rounding alone leaves between two values of this size.
            const double noise =
                16 * std::numeric_limits<double>::epsilon() * (std::fabs(f) + std::fabs(moved));
            if (std::fabs(moved - line) > bendTolerance * propagated.uncertainty + noise)
                return false;
        }
    }
    return true;
}
