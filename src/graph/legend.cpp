#include "graph/legend.h"

#include <array>

namespace {

std::string fitEntry(const ModelChoice& model)
{
    return model.kind == ModelKind::OwnEquation ? "fit " + modelEquation(model)
                                                : "fit: " + modelItem(model.kind);
}

std::vector<LegendEntry> runEntries(const GraphPlot& plot)
{
    std::vector<LegendEntry> entries;
    const RunPlot* fitted = nullptr;
    for (std::size_t r = 0; r < plot.runs.size(); ++r) {
        entries.push_back({LegendEntry::Kind::Run, plot.runs[r].name, r});
        if (!fitted && plot.runs[r].fit && plot.runs[r].fit->fitted())
            fitted = &plot.runs[r];
    }
    if (fitted)
        entries.push_back({LegendEntry::Kind::Curve, fitEntry(fitted->fit->model) + ", each run"});
    return entries;
}

} // namespace

std::vector<LegendEntry> legendEntries(const GraphPlot& plot)
{
    if (!plot.runs.empty())
        return runEntries(plot);
    const bool curve = plot.fit && plot.fit->fitted() && !plot.curve.empty();
    if (!curve && !plot.extremes)
        return {};
    std::vector<LegendEntry> entries = {{LegendEntry::Kind::Data, "data"}};
    if (curve)
        entries.push_back({LegendEntry::Kind::Curve, fitEntry(plot.fit->model)});
    if (plot.extremes)
        entries.push_back({LegendEntry::Kind::ExtremeLines, "steepest and shallowest lines"});
    return entries;
}

Corner legendCorner(const GraphPlot& plot, double widthFraction, double heightFraction)
{
    constexpr std::array corners = {Corner::TopRight, Corner::TopLeft, Corner::BottomRight,
                                    Corner::BottomLeft};
    std::array<int, 4> covered{};
    const AxisFractions xFraction(plot.x), yFraction(plot.y);
    const auto count = [&](const Point& point) {
        const double fx = xFraction(point.x), fy = yFraction(point.y);
        const bool right = fx >= 1 - widthFraction && fx <= 1;
        const bool left = fx >= 0 && fx <= widthFraction;
        const bool top = fy >= 1 - heightFraction && fy <= 1;
        const bool bottom = fy >= 0 && fy <= heightFraction;
        covered[0] += top && right;
        covered[1] += top && left;
        covered[2] += bottom && right;
        covered[3] += bottom && left;
    };
    for (const Point& point : plot.points)
        count(point);
    for (const RunPlot& run : plot.runs)
        for (const Point& point : run.points)
            count(point);
    std::size_t best = 0;
    for (std::size_t i = 1; i < corners.size(); ++i)
        if (covered[i] < covered[best])
            best = i;
    return corners[best];
}
