#pragma once

#include "graph/graph_plot.h"

#include <string>
#include <vector>

// What the legend of a graph says: one entry for each kind of thing drawn,
// shown when more than the data are drawn.
struct LegendEntry {
    enum class Kind { Data, Curve, ExtremeLines, Run };
    Kind kind;
    std::string text;
    std::size_t run = 0; // which run, for Kind::Run: its colour and marker
};

// The data, the fitted curve named by its model, and the steepest and
// shallowest lines; none when only the data are drawn. With "all runs",
// each run by its name, and the fit when there is one.
std::vector<LegendEntry> legendEntries(const GraphPlot& plot);

enum class Corner { TopRight, TopLeft, BottomRight, BottomLeft };

// The corner of the plot whose box of this size (fractions of the plot's
// width and height) covers the fewest points, so that the legend hides
// none where a free corner exists; ties go in the order of Corner.
Corner legendCorner(const GraphPlot& plot, double widthFraction, double heightFraction);
