#include "graph/growing_runs.h"

void GrowingRuns::restart()
{
    growing_.clear();
    alone_.clear();
    lent_.clear();
}

// The runs' points, error bars and fits back into the plots of their blocks
// alone, which keep the rest (their notes) from when they were made.
void GrowingRuns::takeBack(GraphPlot&& previous)
{
    for (RunPlot& run : previous.runs) {
        if (run.block >= alone_.size())
            continue;
        lent_[run.block] = false;
        GraphPlot& alone = alone_[run.block];
        alone.points = std::move(run.points);
        alone.rows = std::move(run.rows);
        alone.bars = std::move(run.bars);
        alone.fit = std::move(run.fit);
        alone.range = run.range;
        alone.results = std::move(run.results);
        alone.residuals = std::move(run.residuals);
        alone.area = run.area;
        alone.tangent = run.tangent;
    }
}

GraphPlot GrowingRuns::plot(const std::vector<GraphTable>& blocks, std::size_t like,
                            const GraphChoice& choice, GraphPlot&& previous)
{
    if (choice.histogram || choice.spectrum) { // made whole each time
        restart();
        return plotRuns(blocks, like, choice);
    }
    if (blocks.size() < alone_.size())
        restart();
    growing_.resize(blocks.size());
    alone_.resize(blocks.size());
    lent_.resize(blocks.size());
    takeBack(std::move(previous));
    return plotRunsOf(blocks, like, choice, [&](std::size_t block) {
        GrowingPlot& growing = growing_[block];
        if (lent_[block])
            growing.restart();
        lent_[block] = true;
        alone_[block] = growing.plot(blocks[block], choice, std::move(alone_[block]));
        return AlonePlot{alone_[block], growing.tally().x, growing.tally().y};
    });
}
