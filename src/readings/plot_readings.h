#pragma once

#include "graph/graph_plot.h"
#include "readings/reading_rows.h"

#include <optional>

// The points of a plot of `table` with x from `from` to `to`, both ends
// included (in either order; an open end takes every row).
ReadingRows readingRows(const GraphPlot& plot, const GraphTable& table,
                        std::optional<double> from, std::optional<double> to);

// The units of the plot's x and y columns.
ReadingUnits readingUnits(const GraphPlot& plot);

// The readings the choice asks for, into the plot with the lines its text
// shows: the statistics of y over the fit range (the selection) when one is
// dragged, the area under the curve over it (the whole block without one)
// when `area` is ticked, the tangent at `tangentAt`; or why there is none.
void addReadings(GraphPlot& plot, const GraphTable& table, const GraphChoice& choice);
