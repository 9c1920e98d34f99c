#pragma once

#include <string>
#include <vector>

// One axis of the graph: the range it covers, a "nice" step (1, 2 or 5 times
// a power of ten) and the ticks at its multiples, each with its label in
// plain decimal notation. Every number in it is finite.
struct Axis {
    double low = 0;
    double high = 1;
    double step = 0.2;
    std::vector<double> ticks;
    std::vector<std::string> labels;

    // Where a value lies between low (0) and high (1); safe near the ends of
    // a double, where high - low itself would overflow.
    double fraction(double value) const;
};

// An axis covering the values from dataLow to dataHigh with a small margin,
// or from zero when `fromZero`, with at least `fewestTicks` ticks; one value,
// or equal values, get a range around it.
Axis makeAxis(double dataLow, double dataHigh, bool fromZero, int fewestTicks = 4);

// The ticks for an axis this many pixels long: about one per 80 pixels.
int ticksForPixels(int pixels);

// A tick's value with as many decimals as the step needs and never an
// exponent: 0.25 with step 0.05 is "0.25", 1500 with step 500 is "1500".
std::string tickLabel(double value, double step);
