#pragma once

#include "graph/graph_plot.h"

#include <string>
#include <vector>

// Turns a plot of points (y against x, in row order) into their amplitude
// spectrum: the bins from Δf on as points, on a frequency axis ("frequency
// (Hz)" for x in seconds) and an amplitude axis in y's unit, log axes as
// chosen; the text of the spectrum and its peaks; the fit range shaded,
// where the peaks are looked for.
void addSpectrum(GraphPlot& plot, const GraphChoice& choice, const std::string& xTitle,
                 const std::string& yTitle);

// The spectrum of every run whose columns are those of block `like`, each
// in its own colour on the same axes, each run's text after its name.
GraphPlot plotSpectrumRuns(const std::vector<GraphTable>& blocks, std::size_t like,
                           const GraphChoice& choice);
