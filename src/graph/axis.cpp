#include "graph/axis.h"

#include "format/report_number.h"

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

// The labels of a linear axis: the values, or, where they would need more
// than six digits or decimals beyond the thousandths, the values over the
// power of ten of the largest ("2 4 6 8" × 10⁻¹⁹). Not for a short range far
// from 0 (clock times), which that would not make shorter.
void labelOverPowerOfTen(Axis& axis)
{
    double largest = 0;
    for (const double tick : axis.ticks)
        largest = std::max(largest, std::fabs(tick));
    const bool longLabels = largest >= 1e6 || (axis.step < 1e-3 && largest > 0);
    const int power = decimalExponent(largest);
    if (longLabels && largest / axis.step < 1e6 && std::abs(power) <= 300)
        axis.powerOfTen = power;
    const double scale = std::pow(10.0, axis.powerOfTen);
    for (const double tick : axis.ticks)
        axis.labels.push_back(axis.powerOfTen == 0 ? tickLabel(tick, axis.step)
                                                   : tickLabel(tick / scale, axis.step / scale));
}

// A logarithmic axis's labels at the powers of ten: plain where they all
// lie from 0.001 to 100000, else "10⁻³".
void labelPowers(Axis& axis)
{
    const bool plainly =
        axis.ticks.front() >= 1e-3 * (1 - 1e-9) && axis.ticks.back() <= 1e5 * (1 + 1e-9);
    for (const double tick : axis.ticks) {
        const int power = static_cast<int>(std::lround(std::log10(tick)));
        axis.labels.push_back(plainly ? tickLabel(tick, tick) : "10" + superscript(power));
    }
}

// The decimals a step needs: those of its shortest text to 15 significant
// digits, 3 for 0.025, 2 for 0.05, 0 for 500.
int stepDecimals(double step)
{
    char text[64];
    const auto written =
        std::to_chars(text, text + sizeof text, std::fabs(step), std::chars_format::scientific, 14);
    const std::string_view number(text, static_cast<std::size_t>(written.ptr - text));
    const std::size_t e = number.find('e');
    int exponent = 0;
    std::from_chars(number.data() + e + 1 + (number[e + 1] == '+'), number.data() + number.size(),
                    exponent);
    std::string_view mantissa = number.substr(0, e);
    while (mantissa.back() == '0')
        mantissa.remove_suffix(1);
    const int digits = static_cast<int>(mantissa.size()) - 2; // after "d."
    return std::clamp(std::max(digits, 0) - exponent, 0, 340);
}

} // namespace

double Axis::fraction(double value) const
{
    if (logarithmic) {
        if (!(value > 0))
            return -std::numeric_limits<double>::infinity();
        return (std::log10(value) - std::log10(low)) / (std::log10(high) - std::log10(low));
    }
    const double half = halfSpan(low, high);
    return half > 0 ? (value / 2 - low / 2) / half : 0.5;
}

double Axis::valueAt(double at) const
{
    if (logarithmic)
        return std::pow(10.0, std::log10(low) + at * (std::log10(high) - std::log10(low)));
    return low + at * halfSpan(low, high) * 2;
}

std::string Axis::powerLabel() const
{
    return powerOfTen == 0 ? std::string() : "× 10" + superscript(powerOfTen);
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
        axis.ticks.push_back(std::clamp(tick, axis.low, axis.high));
    }
    labelOverPowerOfTen(axis);
    return axis;
}

Axis makeLogAxis(double dataLow, double dataHigh)
{
    Axis axis;
    axis.logarithmic = true;
    const double lowest = std::log10(dataLow), highest = std::log10(dataHigh);
    // 5% of the decades on each side; a tenth of a decade around one value.
    const double margin = highest > lowest ? (highest - lowest) / 20 : 0.1;
    axis.low = std::pow(10.0, std::max(lowest - margin, -307.0));
    axis.high = std::pow(10.0, std::min(highest + margin, 308.0));
    const int first = static_cast<int>(std::ceil(std::log10(axis.low) - 1e-9));
    const int last = static_cast<int>(std::floor(std::log10(axis.high) + 1e-9));
    for (int power = first - 1; power <= last; ++power)
        for (const double mantissa : {1.0, 2.0, 5.0}) {
            const double tick = mantissa * std::pow(10.0, power);
            if (tick < axis.low * (1 - 1e-9) || tick > axis.high * (1 + 1e-9))
                continue;
            (mantissa == 1 ? axis.ticks : axis.minorTicks).push_back(tick);
        }
    // Two powers of ten or more: the powers labelled.
    if (std::log10(axis.high) - std::log10(axis.low) >= 2 && axis.ticks.size() >= 2) {
        labelPowers(axis);
        return axis;
    }
    // Less than two powers of ten: 1, 2 and 5 times them labelled, or, across
    // a narrower range still, the linear axis's ticks placed on the log scale.
    axis.ticks.insert(axis.ticks.end(), axis.minorTicks.begin(), axis.minorTicks.end());
    axis.minorTicks.clear();
    std::sort(axis.ticks.begin(), axis.ticks.end());
    if (axis.ticks.size() < 3) {
        const Axis linear = makeAxis(axis.low, axis.high, false);
        axis.ticks.clear();
        for (const double tick : linear.ticks)
            if (tick > 0)
                axis.ticks.push_back(tick);
        axis.step = linear.step;
        for (const double tick : axis.ticks)
            axis.labels.push_back(tickLabel(tick, axis.step));
        return axis;
    }
    for (const double tick : axis.ticks)
        axis.labels.push_back(tickLabel(tick, tick));
    return axis;
}

std::string tickLabel(double value, double step)
{
    if (std::fabs(value) < step / 2)
        return "0";
    const int decimals = stepDecimals(step);
    char text[720];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

int ticksForPixels(int pixels) { return std::max(4, pixels / 80); }

Axis makeEdgeAxis(const std::vector<double>& edges, double width, int fewestTicks)
{
    Axis axis;
    axis.low = edges.front();
    axis.high = edges.back();
    // Every edge while there is room for it, else every 2nd, 5th, 10th, ...
    // counted from the multiple 0, as a linear axis's ticks.
    const std::size_t most = static_cast<std::size_t>(std::max(fewestTicks, 4)) * 5 / 2;
    const std::size_t bins = edges.size() - 1;
    std::size_t stride = 1;
    for (std::size_t power = 1; bins / stride + 1 > most; power *= 10)
        for (const std::size_t mantissa : {2, 5, 10})
            if (bins / stride + 1 > most)
                stride = mantissa * power;
    axis.step = width * static_cast<double>(stride);
    const double firstMultiple = std::nearbyint(edges.front() / width);
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const double multiple = firstMultiple + static_cast<double>(i);
        if (std::fmod(multiple, static_cast<double>(stride)) == 0)
            axis.ticks.push_back(edges[i]);
    }
    labelOverPowerOfTen(axis);
    return axis;
}

Axis makeCountAxis(double top, int fewestTicks)
{
    Axis axis = makeAxis(0, std::max(top, 1.0), true, fewestTicks);
    if (axis.step >= 1)
        return axis;
    axis.step = 1;
    axis.ticks.clear();
    axis.labels.clear();
    for (double count = 0; count <= axis.high; ++count) {
        axis.ticks.push_back(count);
        axis.labels.push_back(tickLabel(count, 1));
    }
    return axis;
}
