#pragma once

#include "fit/point.h"

#include <optional>
#include <string>
#include <vector>

// The rows a reading of the graph takes (the area, a tangent, the
// statistics): the plotted points whose x lies in the range asked for, in
// row order.
struct ReadingRows {
    std::vector<Point> points;
    // Each point's standard uncertainty of y, NaN where it has none; empty
    // when y has no uncertainties chosen.
    std::vector<double> uy;
    // Where each point stands, as the commands' messages count lines.
    std::vector<int> lines;
};

// The y unit and the x unit of the columns plotted ("N", "s"), empty where
// the header gives none.
struct ReadingUnits {
    std::string x;
    std::string y;
};
