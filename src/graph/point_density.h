#pragma once

#include "fit/point.h"
#include "graph/axis.h"

#include <cstdint>
#include <vector>

// Where many points lie on a plot of width × height pixels: how many points
// fall on each pixel and the ones around it (a point counts on a square of
// `spread` × `spread` pixels, its marker). A plot of far more points than
// pixel columns is drawn from this, so that every point shows and the places
// where most of them lie are the darkest: noisy readings around 1.000 V are
// a band densest at 1.000, never two bands of extremes.
struct PointDensity {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> counts; // row by row from the top, width × height
    std::uint32_t most = 0;

    std::uint32_t at(int column, int row) const
    {
        return counts[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(column)];
    }
};

// The points on the axes' plot, those outside it left out.
PointDensity pointDensity(const std::vector<Point>& points, const Axis& x, const Axis& y, int width,
                          int height, int spread);
// The same into `density`, whose memory is used again.
void countPoints(const std::vector<Point>& points, const Axis& x, const Axis& y, int width,
                 int height, int spread, PointDensity& density);
