#include "graph/growing_plot.h"

namespace {

bool sameUncertainty(const UncertaintyChoice& a, const UncertaintyChoice& b)
{
    return a.kind == b.kind && a.column == b.column && a.value == b.value;
}

// Whether points read for one choice are the points of the other.
bool samePoints(const GraphChoice& a, const GraphChoice& b)
{
    return a.xColumn == b.xColumn && a.yColumn == b.yColumn && a.logX == b.logX &&
           a.logY == b.logY && sameUncertainty(a.xUncertainty, b.xUncertainty) &&
           sameUncertainty(a.yUncertainty, b.yUncertainty);
}

} // namespace

void GrowingPlot::restart()
{
    read_.reset();
    tally_ = {};
    points_ = 0;
}

bool GrowingPlot::canExtend(const GraphTable& table, const GraphChoice& choice,
                            const GraphPlot& previous) const
{
    return read_ && !read_->histogram && !choice.histogram && samePoints(*read_, choice) &&
           table.rowCount() >= tally_.rowsRead && previous.points.size() == points_ &&
           previous.rows.size() == points_ && table.widerRowsLeftOut == widerRowsLeftOut_;
}

GraphPlot GrowingPlot::plot(const GraphTable& table, const GraphChoice& choice,
                            GraphPlot&& previous)
{
    if (choice.histogram || choice.spectrum) { // made whole each time
        restart();
        return plotGraph(table, choice);
    }
    GraphPlot plot;
    if (canExtend(table, choice, previous)) {
        if (table.rowCount() == tally_.rowsRead && choice == *read_)
            return std::move(previous);
        plot = std::move(previous);
    }
    else
        tally_ = {};
    extendPlot(plot, tally_, table, choice);
    read_ = choice;
    points_ = plot.points.size();
    widerRowsLeftOut_ = table.widerRowsLeftOut;
    return plot;
}
