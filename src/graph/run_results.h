#pragma once

#include "graph/graph_plot.h"

#include <string>
#include <vector>

// The fits of "all runs" as a table: the text under the graph (a row a run:
// its name and values, each parameter ± its uncertainty, the fit's quality,
// the results), and the block of data "Put the results in the box" appends,
// whose u(...) columns the graph, the weighted fits and calculate column
// take up as any uncertainty column.

// "Fit y = A sin(B x + C) + D, each run on its own:", then a header and a row
// a run, the cells separated by tabs; nothing without a fit.
std::vector<std::string> runsTableText(const std::vector<RunPlot>& runs, const ModelChoice& model);

// The results block's lines: "Results: A sin(B x + C) + D", the header
// "run,L (m),A (V),u(A),...,g (m/s^2),u(g)" and a row a run that has a fit
// (its number, its values, the numbers), with the delimiter; nothing when no
// run has a fit.
std::vector<std::string> resultsBlockLines(const std::vector<RunPlot>& runs,
                                           const ModelChoice& model, char delimiter);
