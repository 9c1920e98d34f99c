#pragma once

#include <cmath>
#include <cstddef>

// The lowest and highest reach of the points and their error bars on one
// axis.
struct Extent {
    double low = INFINITY;
    double high = -INFINITY;

    // A value with its uncertainty u (NaN: none); on a log axis a bar's end
    // at 0 or below leaves the extent to the value.
    void add(double value, double u, bool logarithmic)
    {
        const double reach = std::isfinite(u) ? u : 0;
        const double below = value - reach, above = value + reach;
        low = std::fmin(low, std::isfinite(below) && (!logarithmic || below > 0) ? below : value);
        high = std::fmax(high, std::isfinite(above) ? above : value);
    }
};

// Rows a plot leaves out, and the first of them.
struct LeftOut {
    int rows = 0;
    std::size_t first = 0;

    void add(std::size_t row)
    {
        if (rows++ == 0)
            first = row;
    }
};

// What reading a table's rows into points counted: the rows read, those
// left out and why, and the points' extent on each axis.
struct PointTally {
    std::size_t rowsRead = 0;
    int withoutX = 0, withoutY = 0, withoutUx = 0, withoutUy = 0;
    LeftOut withoutEither, offLogAxes;
    Extent x, y;
};
