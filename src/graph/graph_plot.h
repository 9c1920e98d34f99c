#pragma once

#include "graph/axis.h"
#include "graph/graph_table.h"
#include "graph/line_fit.h"

#include <optional>
#include <string>
#include <vector>

// What the student chose to see. Columns count from 1; an x column of 0 is
// the line number (1, 2, ... for the data rows).
struct GraphChoice {
    int xColumn = 0;
    int yColumn = 1;
    bool fromZero = false;
    bool fit = false;
};

// Column 1 against the line number for one field per row; column 2 against
// column 1 for more.
GraphChoice defaultChoice(const GraphTable& table);

// Everything the graph shows, worked out without drawing anything.
struct GraphPlot {
    std::vector<Point> points; // in row order
    Axis x;
    Axis y;
    std::string xTitle;
    std::string yTitle;
    std::vector<std::string> notes; // rows left out and why
    std::optional<LineFit> fit;     // when asked for
};

GraphPlot plotGraph(const GraphTable& table, const GraphChoice& choice);

// "line" for the line number; the column's name from the header line, or
// "column K".
std::string columnTitle(const GraphTable& table, int column);
