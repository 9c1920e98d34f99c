#include "graph/legend.h"

#include <array>

std::vector<LegendEntry> legendEntries(const GraphPlot& plot)
{
    const bool curve = plot.fit && plot.fit->fitted() && !plot.curve.empty();
    if (!curve && !plot.extremes)
        return {};
    std::vector<LegendEntry> entries = {{LegendEntry::Kind::Data, "data"}};
    if (curve) {
        const ModelChoice& model = plot.fit->model;
        entries.push_back({LegendEntry::Kind::Curve, model.kind == ModelKind::OwnEquation
                                                         ? "fit " + modelEquation(model)
                                                         : "fit: " + modelItem(model.kind)});
    }
    if (plot.extremes)
        entries.push_back({LegendEntry::Kind::ExtremeLines, "steepest and shallowest lines"});
    return entries;
}

Corner legendCorner(const GraphPlot& plot, double widthFraction, double heightFraction)
{
    constexpr std::array corners = {Corner::TopRight, Corner::TopLeft, Corner::BottomRight,
                                    Corner::BottomLeft};
    std::array<int, 4> covered{};
    for (const Point& point : plot.points) {
        const double fx = plot.x.fraction(point.x), fy = plot.y.fraction(point.y);
        const bool right = fx >= 1 - widthFraction && fx <= 1;
        const bool left = fx >= 0 && fx <= widthFraction;
        const bool top = fy >= 1 - heightFraction && fy <= 1;
        const bool bottom = fy >= 0 && fy <= heightFraction;
        covered[0] += top && right;
        covered[1] += top && left;
        covered[2] += bottom && right;
        covered[3] += bottom && left;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < corners.size(); ++i)
        if (covered[i] < covered[best])
            best = i;
    return corners[best];
}
