#pragma once

#include "graph/graph_plot.h"

#include <string>

// Turns a plot of the values counted (their y; x their line numbers) into
// their histogram: the bars by the choice's bins on an axis of the edges,
// counts from 0, the normal curve when asked and there is a spread, and the
// text. `title` is the values' column title, whose unit the text uses. A
// width that is refused leaves the plot without bars or points and says why.
void addHistogram(GraphPlot& plot, const GraphChoice& choice, const std::string& title);
