#include "graph/spectrum_plot.h"

#include "data/column_heads.h"
#include "spectrum/spectrum_text.h"

#include <algorithm>

namespace {

Axis axisOf(const Extent& extent, bool logarithmic, int ticks)
{
    if (extent.low > extent.high)
        return logarithmic ? makeLogAxis(1, 10) : makeAxis(0, 1, true, ticks);
    return logarithmic ? makeLogAxis(extent.low, extent.high)
                       : makeAxis(extent.low, extent.high, true, ticks);
}

void makeAxes(GraphPlot& plot, const Extent& f, const Extent& a, const GraphChoice& choice)
{
    plot.x = axisOf(f, choice.logX, ticksForPixels(choice.widthPixels));
    plot.y = axisOf(a, choice.logY, ticksForPixels(choice.heightPixels));
}

} // namespace

void addSpectrum(GraphPlot& plot, const GraphChoice& choice, const std::string& xTitle,
                 const std::string& yTitle)
{
    std::vector<double> x, y;
    x.reserve(plot.points.size());
    y.reserve(plot.points.size());
    for (const Point& point : plot.points) {
        x.push_back(point.x);
        y.push_back(point.y);
    }
    const std::string xUnit = unitOfHeader(xTitle), yUnit = unitOfHeader(yTitle);
    Spectrum spectrum = spectrumOf(x, y, choice.window, choice.fitFrom, choice.fitTo);
    plot.spectrumText = spectrumText(spectrum, yTitle, xUnit, yUnit);
    plot.points.clear();
    plot.bars.clear();
    Extent f, a;
    for (std::size_t k = 1; k < spectrum.amplitudes.size(); ++k) {
        const Point bin{static_cast<double>(k) * spectrum.resolution, spectrum.amplitudes[k]};
        if (choice.logY && !(bin.y > 0))
            continue; // a log axis cannot show an amplitude of 0
        plot.points.push_back(bin);
        f.add(bin.x, NAN, choice.logX);
        a.add(bin.y, NAN, choice.logY);
    }
    makeAxes(plot, f, a, choice);
    plot.xTitle = "frequency (" + frequencyUnit(xUnit) + ")";
    plot.yTitle = yUnit.empty() ? "amplitude" : "amplitude (" + yUnit + ")";
    if (choice.fitFrom || choice.fitTo)
        plot.range = FitRange{choice.fitFrom, choice.fitTo, 0, 0};
    spectrum.amplitudes = {};
    spectrum.samples.resampled = {};
    plot.spectrum = std::move(spectrum);
}

GraphPlot plotSpectrumRuns(const std::vector<GraphTable>& blocks, std::size_t like,
                           const GraphChoice& choice)
{
    GraphPlot made;
    made.title = choice.title;
    const std::vector<Run> runs = runsOf(blocks);
    const RunSelection selection = runsLike(blocks, like);
    if (selection.firstOther)
        made.notes.push_back(otherColumnsNote(blocks[*selection.firstOther]));
    Extent f, a;
    for (const std::size_t b : selection.blocks) {
        GraphPlot alone = plotGraph(blocks[b], choice);
        for (const std::string& note : alone.notes)
            made.notes.push_back(runs[b].name + ": " + note);
        for (const std::string& line : alone.spectrumText)
            made.spectrumText.push_back(runs[b].name + ": " + line);
        for (const Point& point : alone.points) {
            f.add(point.x, NAN, choice.logX);
            a.add(point.y, NAN, choice.logY);
        }
        RunPlot run;
        run.name = runs[b].name;
        run.values = runs[b].values;
        run.block = b;
        run.points = std::move(alone.points);
        run.rows = std::move(alone.rows);
        made.runs.push_back(std::move(run));
        made.xTitle = alone.xTitle;
        made.yTitle = alone.yTitle;
        made.range = alone.range;
    }
    makeAxes(made, f, a, choice);
    return made;
}
