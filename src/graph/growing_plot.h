#pragma once

#include "graph/graph_plot.h"

// The plot of a table that grows at its end (a recording): each plot reads
// only the rows added since the last, while the columns, log axes and
// uncertainties chosen stay the same; the axes, notes and fit are made anew
// when rows came or the choice changed, and a plot of the same rows for the
// same choice is the last one as it was. A histogram, or anything else
// chosen, reads the table whole.
class GrowingPlot {
public:
    // The table is another one, or was read again: the next plot reads it
    // whole.
    void restart();

    // The plot of the table for the choice. `previous` is the plot this
    // object made last, whose points are taken over rather than read again.
    GraphPlot plot(const GraphTable& table, const GraphChoice& choice, GraphPlot&& previous);

    // What reading the rows counted, their extent among it.
    const PointTally& tally() const { return tally_; }

private:
    bool canExtend(const GraphTable& table, const GraphChoice& choice,
                   const GraphPlot& previous) const;

    std::optional<GraphChoice> read_; // the choice the points were read for
    PointTally tally_;
    std::size_t points_ = 0; // in the plot made last
    // Whether the table left out its rows wider than the header then: when
    // that changes, rows read before are taken or left otherwise.
    bool widerRowsLeftOut_ = false;
};
