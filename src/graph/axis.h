#pragma once

#include <cmath>
#include <string>
#include <vector>

// One axis of the graph: the range it covers and its labelled ticks, each
// label in plain decimal notation, never with an exponent. A linear axis
// has its ticks at the multiples of a "nice" step (1, 2 or 5 times a power
// of ten); where its labels would need more than six digits or decimals
// beyond the thousandths (values from 10⁶ up, steps below 0.001), they are
// the values over a common power of ten that the axis shows at its end
// ("2 4 6 8" and "× 10⁻¹⁹"). A logarithmic axis has its labelled ticks at
// the powers of ten, with unlabelled ones at 2 and 5 times them; across
// less than two powers of ten it labels 1, 2 and 5 times them. Every number
// in it is finite.
struct Axis {
    double low = 0;
    double high = 1;
    double step = 0.2; // of the linear ticks
    bool logarithmic = false;
    std::vector<double> ticks;
    std::vector<std::string> labels;
    std::vector<double> minorTicks; // a logarithmic axis's, without labels
    int powerOfTen = 0;             // the labels are the ticks over 10^powerOfTen

    // "× 10⁻¹⁹", or empty when the labels are the values themselves.
    std::string powerLabel() const;

    // Where a value lies between low (0) and high (1); safe near the ends of
    // a double, where high - low itself would overflow. On a logarithmic
    // axis a value of 0 or less lies at minus infinity.
    double fraction(double value) const;
    // The value at a fraction of the axis.
    double valueAt(double fraction) const;
};

// The fractions of many values on one axis, as for their pixels: on a
// linear axis a subtraction and a multiply, the same as Axis::fraction but
// for the last bit.
class AxisFractions {
public:
    explicit AxisFractions(const Axis& axis)
        : axis_(axis), scale_(1 / (axis.high - axis.low)),
          linear_(!axis.logarithmic && scale_ > 0 && scale_ < INFINITY)
    {
    }

    double operator()(double value) const
    {
        return linear_ ? (value - axis_.low) * scale_ : axis_.fraction(value);
    }

private:
    const Axis& axis_;
    double scale_;
    bool linear_;
};

// An axis covering the values from dataLow to dataHigh with a small margin,
// or from zero when `fromZero`, with at least `fewestTicks` ticks; one value,
// or equal values, get a range around it.
Axis makeAxis(double dataLow, double dataHigh, bool fromZero, int fewestTicks = 4);

// A base-10 logarithmic axis over the values from dataLow to dataHigh, both
// above 0, with a small margin.
Axis makeLogAxis(double dataLow, double dataHigh);

// An axis exactly over a histogram's edges (multiples of `width`), its
// ticks on the edges: every one while there is room for about 2.5 times
// `fewestTicks`, else every 2nd, 5th, 10th, ... multiple.
Axis makeEdgeAxis(const std::vector<double>& edges, double width, int fewestTicks);

// An axis of counts from 0 to a little above `top`, its ticks on whole
// numbers.
Axis makeCountAxis(double top, int fewestTicks);

// The fewest ticks for an axis this many pixels long: about one per 80
// pixels, at least four (a plot of 300 pixels gets four).
int ticksForPixels(int pixels);

// A tick's value with as many decimals as the step needs and never an
// exponent: 0.25 with step 0.05 is "0.25", 1500 with step 500 is "1500",
// 0.05 with step 0.025 is "0.050".
std::string tickLabel(double value, double step);
