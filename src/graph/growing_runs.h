#pragma once

#include "graph/growing_plot.h"

#include <vector>

// The plot of "all runs" while the box grows at its end (a recording into
// the last run): each block is a growing plot of its own, so that a re-plot
// reads only the rows added and refits only the run they were added to; the
// runs' axes, curves and table are made anew every time.
class GrowingRuns {
public:
    // The blocks were read again: the next plot reads every one whole.
    void restart();

    // The runs like block `like`. `previous` is the plot this object made
    // last, whose runs' points are taken over rather than read again.
    GraphPlot plot(const std::vector<GraphTable>& blocks, std::size_t like,
                   const GraphChoice& choice, GraphPlot&& previous);

private:
    void takeBack(GraphPlot&& previous);

    std::vector<GrowingPlot> growing_; // a block each
    std::vector<GraphPlot> alone_;     // the plot of each block alone made last
    // Whether a block's points are out in the runs' plot, not taken back:
    // then its plot is made anew.
    std::vector<bool> lent_;
};
