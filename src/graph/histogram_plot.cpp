#include "graph/histogram_plot.h"

#include "data/column_heads.h"

#include <algorithm>
#include <cmath>

namespace {

// The normal distribution's expected counts across the whole x axis.
std::vector<Point> normalCurve(const Histogram& histogram, const Axis& x)
{
    std::vector<Point> curve;
    curve.reserve(curveSamples);
    for (int i = 0; i < curveSamples; ++i) {
        const double at = x.valueAt(static_cast<double>(i) / (curveSamples - 1));
        curve.push_back({at, normalCount(histogram, at)});
    }
    return curve;
}

} // namespace

void addHistogram(GraphPlot& plot, const GraphChoice& choice, const std::string& title)
{
    plot.xTitle = title;
    plot.yTitle = "count";
    plot.x = makeAxis(0, 1, false, ticksForPixels(choice.widthPixels));
    plot.y = makeCountAxis(1, ticksForPixels(choice.heightPixels));
    if (plot.points.empty())
        return;
    std::vector<double> values;
    values.reserve(plot.points.size());
    for (const Point& point : plot.points)
        values.push_back(point.y);
    auto made = makeHistogram(std::move(values), choice.bins);
    if (const auto* refusal = std::get_if<std::string>(&made)) {
        plot.notes.push_back(*refusal);
        plot.points.clear(); // nothing is drawn, nor reported
        plot.rows.clear();
        return;
    }
    Histogram& histogram = std::get<Histogram>(made);
    plot.x = makeEdgeAxis(histogram.edges, histogram.binWidth, ticksForPixels(choice.widthPixels));
    double top = static_cast<double>(*std::max_element(histogram.counts.begin(),
                                                       histogram.counts.end()));
    const bool curve = choice.normalCurve && histogram.standardDeviation > 0;
    if (curve)
        top = std::max(top, normalCount(histogram, histogram.mean));
    plot.y = makeCountAxis(top, ticksForPixels(choice.heightPixels));
    if (curve)
        plot.curve = {normalCurve(histogram, plot.x)};
    plot.histogramText = describeHistogram(histogram, unitOfHeader(title));
    plot.histogram = std::move(histogram);
}
