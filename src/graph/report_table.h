#pragma once

#include "graph/graph_plot.h"

#include <string>
#include <vector>

// A report's table of more rows than this (about five pages) shows its first
// and last rows only, and says so: a recording of 200 000 rows is not 3700
// pages of paper.
inline constexpr std::size_t longestReportTable = 250;
inline constexpr std::size_t firstReportRows = 200;
inline constexpr std::size_t lastReportRows = 50;

// The table of a lab report: the rows the graph plots, each numbered, with
// x and y, each followed by the column its uncertainty comes from (when it
// comes from a column), or a histogram's values alone; every value as the
// box holds it, text unchanged; headed by the header's names ("column K"
// without them). A longer table than longestReportTable keeps its first and
// last rows with a row of "..." between them, and a note says how many are
// left out and where the whole data are.
struct ReportTable {
    std::vector<std::string> heads;
    std::vector<std::vector<std::string>> rows;
    std::string note; // empty for a whole table
};

// `wholeData` says where the whole data are, for the note of a shortened
// table ("pendulum.csv", "the box").
ReportTable reportTable(const GraphTable& table, const GraphChoice& choice, const GraphPlot& plot,
                        char delimiter, const std::string& wholeData = "the box");

// The table of "all runs": the runs' rows one after the other, each with the
// run's name after its number.
ReportTable reportTableOfRuns(const std::vector<GraphTable>& blocks, const GraphChoice& choice,
                              const GraphPlot& plot, char delimiter,
                              const std::string& wholeData = "the box");
