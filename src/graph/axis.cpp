#include "graph/axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double largest = std::numeric_limits<double>::max();
constexpr int mostTicks = 60; // labels drawn, also on a very large window

double clamped(double value) { return std::clamp(value, -largest, largest); }

// Half the distance from low to high, which never overflows.
double halfSpan(double low, double high) { return high / 2 - low / 2; }

// Multiples of the step from low to high.
int tickCount(double low, double high, double step)
{
    const double count = std::floor(high / step) - std::ceil(low / step) + 1;
    if (!(count > 0))
        return 0;
    return count > 1000 ? 1000 : static_cast<int>(count);
}

// The power of ten of a step: 2 for 500, -2 for 0.05; for a step too small
// to tell (a range of subnormal numbers that halves to nothing), -400.
int decimalExponent(double step)
{
    const double exponent = std::floor(std::log10(step) + 1e-9);
    return std::isfinite(exponent) ? static_cast<int>(std::clamp(exponent, -400.0, 400.0)) : -400;
}

// The largest step of 1, 2 or 5 times a power of ten that still gives at
// least `fewestTicks` ticks; then there are at most about 2.5 times as many.
double niceStep(double low, double high, int fewestTicks)
{
    // The span is twice the half span, so its power of ten is at most one more.
    for (int exponent = decimalExponent(halfSpan(low, high)) + 2;; --exponent) {
        for (const double mantissa : {5.0, 2.0, 1.0}) {
            const double step = mantissa * std::pow(10.0, exponent);
            if (step > 0 && std::isfinite(step) && tickCount(low, high, step) >= fewestTicks)
                return step;
        }
        if (exponent < -330)
            return std::numeric_limits<double>::denorm_min();
    }
}

} // namespace

double Axis::fraction(double value) const
{
    const double half = halfSpan(low, high);
    return half > 0 ? (value / 2 - low / 2) / half : 0.5;
}

Axis makeAxis(double dataLow, double dataHigh, bool fromZero, int fewestTicks)
{
    fewestTicks = std::clamp(fewestTicks, 2, mostTicks / 3);
    if (fromZero) {
        dataLow = std::min(dataLow, 0.0);
        dataHigh = std::max(dataHigh, 0.0);
    }
    Axis axis;
    const double half = halfSpan(dataLow, dataHigh);
    if (half == 0) {
        double pad = std::fabs(dataLow) / 10;
        if (pad == 0) // zero, or so small that a tenth of it is nothing
            pad = dataLow == 0 ? 1 : std::fabs(dataLow);
        axis.low = clamped(dataLow - pad);
        axis.high = clamped(dataHigh + pad);
    } else {
        const double margin = half / 10; // 5% of the span on each side
        axis.low = fromZero && dataLow == 0 ? 0 : clamped(dataLow - margin);
        axis.high = fromZero && dataHigh == 0 ? 0 : clamped(dataHigh + margin);
    }
    axis.step = niceStep(axis.low, axis.high, fewestTicks);
    // Each tick from its own multiple, so that no rounding adds up. A multiple
    // that falls on an end of the axis may round to just beyond it: it is
    // kept, and put on the end.
    const double slack = axis.step * 1e-9;
    const double first = std::ceil(axis.low / axis.step - 1e-9);
    for (int i = 0; i < mostTicks; ++i) {
        const double tick = (first + i) * axis.step;
        if (!std::isfinite(tick) || tick - axis.high > slack)
            break;
        if (axis.low - tick > slack)
            continue;
        const double onAxis = std::clamp(tick, axis.low, axis.high);
        axis.ticks.push_back(onAxis);
        axis.labels.push_back(tickLabel(onAxis, axis.step));
    }
    return axis;
}

std::string tickLabel(double value, double step)
{
    if (std::fabs(value) < step / 2)
        return "0";
    const int decimals = std::clamp(-decimalExponent(step), 0, 340);
    char text[720];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

int ticksForPixels(int pixels) { return pixels > 0 ? std::max(2, pixels / 80) : 4; }
