#include "readings/tangent.h"

#include "fit/curve_fit.h"
#include "format/report_number.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// The indices of the `count` rows whose x lie nearest to x, in row order;
// of two at the same distance the earlier row.
std::vector<std::size_t> nearestRows(const std::vector<Point>& points, double x, std::size_t count)
{
    std::vector<std::size_t> order(points.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto nearer = [&](std::size_t a, std::size_t b) {
        const double da = std::fabs(points[a].x - x), db = std::fabs(points[b].x - x);
        return da < db || (da == db && a < b);
    };
    std::nth_element(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count - 1),
                     order.end(), nearer);
    order.resize(count);
    std::sort(order.begin(), order.end());
    return order;
}

} // namespace

std::variant<TangentReading, std::string> tangentAt(const ReadingRows& rows, double x, int count)
{
    const std::vector<Point>& p = rows.points;
    if (count < fewestTangentRows)
        return "no tangent: it needs at least " + std::to_string(fewestTangentRows) + " rows";
    if (p.empty())
        return std::string("no tangent: there are no rows");
    const auto [lowest, highest] = std::minmax_element(
        p.begin(), p.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    if (!(x >= lowest->x && x <= highest->x))
        return "no tangent at x = " + typedValue(x) + ": the rows' x go from " +
               typedValue(lowest->x) + " to " + typedValue(highest->x);
    if (p.size() < static_cast<std::size_t>(count))
        return "no tangent: it needs " + std::to_string(count) + " rows, and there are " +
               std::to_string(p.size());
    const std::vector<std::size_t> nearest = nearestRows(p, x, static_cast<std::size_t>(count));
    const auto [first, last] =
        std::minmax_element(nearest.begin(), nearest.end(),
                            [&p](std::size_t a, std::size_t b) { return p[a].x < p[b].x; });
    if (!(p[*first].x <= x && x <= p[*last].x))
        return "no tangent at x = " + typedValue(x) +
               ": the nearest rows all lie on one side of it (a gap in the rows)";
    // Fitted in x - x0, the slope at x0 is a parameter of its own, with its
    // uncertainty straight from the fit.
    std::vector<Point> shifted;
    FitUncertainties uncertainties;
    bool everyRowHasOne = !rows.uy.empty();
    for (const std::size_t i : nearest) {
        shifted.push_back({p[i].x - x, p[i].y});
        if (!rows.uy.empty()) {
            uncertainties.y.push_back(rows.uy[i]);
            everyRowHasOne = everyRowHasOne && rows.uy[i] > 0;
        }
    }
    if (!everyRowHasOne)
        uncertainties.y.clear();
    ModelChoice model;
    model.kind = count >= parabolaTangentRows ? ModelKind::Quadratic : ModelKind::Line;
    const CurveFit fit = fitCurve(shifted, model, uncertainties);
    // The next degree through the same rows: a line's misfit shows in a
    // parabola's slope, a parabola's in a cubic's.
    ModelChoice next;
    next.kind = ModelKind::Polynomial;
    next.degree = model.kind == ModelKind::Quadratic ? 3 : 2;
    if (model.kind == ModelKind::Line)
        next.kind = ModelKind::Quadratic;
    const std::optional<CurveFit> finer =
        count > next.degree + 1 ? std::optional(fitCurve(shifted, next, uncertainties)) : std::nullopt;
    if (!fit.fitted() || fit.uncertainties.empty())
        return "no tangent at x = " + typedValue(x) + ": " +
               (fit.fitted() ? std::string("the rows leave no uncertainty") : fit.failure);
    TangentReading tangent;
    tangent.x = x;
    const bool parabola = model.kind == ModelKind::Quadratic;
    tangent.y = parabola ? fit.values[0] : fit.values[1];
    tangent.slope = parabola ? fit.values[1] : fit.values[0];
    tangent.scatterPart = parabola ? fit.uncertainties[1] : fit.uncertainties[0];
    if (finer && finer->fitted())
        tangent.shapePart = std::fabs(finer->values[1] - tangent.slope);
    tangent.uncertainty = std::hypot(tangent.scatterPart, tangent.shapePart.value_or(0));
    tangent.points = count;
    tangent.parabola = parabola;
    tangent.weighted = fit.weighted;
    tangent.from = p[*first].x;
    tangent.to = p[*last].x;
    return tangent;
}
