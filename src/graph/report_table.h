#pragma once

#include "graph/graph_plot.h"

#include <string>
#include <vector>

// The table of a lab report: the rows the graph plots, each numbered, with
// its x and y fields and the columns their uncertainties come from (when
// they come from columns), or a histogram's values alone; every value as the
// box holds it, text unchanged; headed by the header's names ("column K"
// without them).
struct ReportTable {
    std::vector<std::string> heads;
    std::vector<std::vector<std::string>> rows;
};

ReportTable reportTable(const GraphTable& table, const GraphChoice& choice, const GraphPlot& plot,
                        char delimiter);
