#pragma once

#include "graph/graph_plot.h"
#include "workbook/sheet_cell.h"

#include <string>
#include <vector>

// The sheet "fits": the fit the graph window shows, or the fit of each run,
// a row a run. Its columns: the run, the values its heading writes, the
// model, the points fitted, each parameter (with its unit) and its
// uncertainty, the quality figures (R² or χ² and P, the degrees of freedom)
// and each result with its uncertainty. Numbers are cells with their full
// value, not the four digits of the text; a run without a fit says why.
using SheetRows = std::vector<std::vector<OwnCell>>;

// The column names first; nothing when the plot shows no fit. `blockName`
// names the run of a plot of one block.
SheetRows fitsSheetRows(const GraphPlot& plot, const std::string& blockName);
