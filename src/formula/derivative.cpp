#include "formula/derivative.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int tableauSize = 10;
constexpr double shrink = 1.4;       // of the step from one column of the tableau to the next
constexpr double worseBy = 2;        // a higher order this much worse ends the tableau
constexpr double goodEnough = 1e-13; // relative error at which to stop early
constexpr int mostHalvings = 60;
constexpr double settled = 1e-12; // relative error that needs no smaller first step

// The central difference at a step that x + h represents exactly, so that
// the step divided by is the step taken.
double centralDifference(const std::function<double(double)>& f, double x, double h)
{
    const volatile double above = x + h;
    const double step = above - x;
    return (f(x + step) - f(x - step)) / (2 * step);
}

// The step h, halved until f gives a number at x ± h (ln x near 0).
double finiteStep(const std::function<double(double)>& f, double x, double h)
{
    for (int halving = 0; halving < mostHalvings; ++halving, h /= 2)
        if (std::isfinite(f(x + h)) && std::isfinite(f(x - h)))
            break;
    return h;
}

// One tableau from the first step h (Numerical Recipes' dfridr).
Derivative ridders(const std::function<double(double)>& f, double x, double h)
{
    double table[tableauSize][tableauSize];
    table[0][0] = centralDifference(f, x, h);
    Derivative best{table[0][0], std::numeric_limits<double>::infinity()};
    for (int i = 1; i < tableauSize; ++i) {
        h /= shrink;
        table[0][i] = centralDifference(f, x, h);
        double factor = shrink * shrink;
        for (int j = 1; j <= i; ++j) {
            table[j][i] = (table[j - 1][i] * factor - table[j - 1][i - 1]) / (factor - 1);
            factor *= shrink * shrink;
            const double error = std::max(std::fabs(table[j][i] - table[j - 1][i]),
                                          std::fabs(table[j][i] - table[j - 1][i - 1]));
            if (error <= best.error)
                best = {table[j][i], error};
        }
        if (std::fabs(table[i][i] - table[i - 1][i - 1]) >= worseBy * best.error ||
            best.error <= goodEnough * std::fabs(best.value))
            break;
    }
    return best;
}

} // namespace

Derivative derivativeAt(const std::function<double(double)>& f, double x, double scale)
{
    const double first = 0.1 * (scale > 0 && std::isfinite(scale) ? scale : 1);
    Derivative best{std::nan(""), std::numeric_limits<double>::infinity()};
    // A tableau that does not settle began with too large a step for how fast
    // f bends, or with one so small that rounding swamps it: tableaus from
    // steps 30 times smaller and larger in turn, down to a ten millionth.
    for (const double factor :
         {1.0, 1 / 30.0, 30.0, 1 / 900.0, 900.0, 1 / 27e3, 1 / 81e4, 1 / 243e5}) {
        const double h = finiteStep(f, x, first * factor);
        const Derivative tried = ridders(f, x, h);
        if (tried.error < best.error || (std::isnan(best.value) && std::isfinite(tried.value)))
            best = tried;
        if (best.error <= settled * std::fabs(best.value))
            break;
    }
    if (!std::isfinite(best.value) || !std::isfinite(best.error))
        return {std::nan(""), std::nan("")};
    return best;
}
