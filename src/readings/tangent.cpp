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

// The rows in x - x0, so that the slope at x0 is a parameter of its own,
// with its uncertainty straight from the fit; weighted only when every row
// has an uncertainty above 0.
struct LocalRows {
    std::vector<Point> shifted;
    FitUncertainties uncertainties;
};

LocalRows localRows(const ReadingRows& rows, const std::vector<std::size_t>& nearest, double x)
{
    LocalRows local;
    bool everyRowHasOne = !rows.uy.empty();
    for (const std::size_t i : nearest) {
        local.shifted.push_back({rows.points[i].x - x, rows.points[i].y});
        if (!rows.uy.empty()) {
            local.uncertainties.y.push_back(rows.uy[i]);
            everyRowHasOne = everyRowHasOne && rows.uy[i] > 0;
        }
    }
    if (!everyRowHasOne)
        local.uncertainties.y.clear();
    return local;
}

ModelChoice polynomialOfDegree(int degree)
{
    ModelChoice model;
    model.kind = degree == 1   ? ModelKind::Line
                 : degree == 2 ? ModelKind::Quadratic
                               : ModelKind::Polynomial;
    model.degree = degree;
    return model;
}

// The slope at x0 (x - x0 = 0) of a fitted polynomial: m of a line, a1 of the others.
double slopeAtZero(const CurveFit& fit, bool line) { return line ? fit.values[0] : fit.values[1]; }

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
    const LocalRows local = localRows(rows, nearest, x);
    const int degree = count >= parabolaTangentRows ? 2 : 1;
    const CurveFit fit = fitCurve(local.shifted, polynomialOfDegree(degree), local.uncertainties);
    if (!fit.fitted() || fit.uncertainties.empty())
        return "no tangent at x = " + typedValue(x) + ": " +
               (fit.fitted() ? std::string("the rows leave no uncertainty") : fit.failure);
    TangentReading tangent;
    tangent.x = x;
    tangent.y = degree == 1 ? fit.values[1] : fit.values[0];
    tangent.slope = slopeAtZero(fit, degree == 1);
    tangent.scatterPart = degree == 1 ? fit.uncertainties[0] : fit.uncertainties[1];
    // The next degree through the same rows, when they leave it a degree of
    // freedom: a line's misfit shows in a parabola's slope, a parabola's in
    // a cubic's.
    if (count > degree + 2) {
        const CurveFit finer =
            fitCurve(local.shifted, polynomialOfDegree(degree + 1), local.uncertainties);
        if (finer.fitted())
            tangent.shapePart = std::fabs(slopeAtZero(finer, false) - tangent.slope);
    }
    tangent.uncertainty = std::hypot(tangent.scatterPart, tangent.shapePart.value_or(0));
    tangent.points = count;
    tangent.parabola = degree == 2;
    tangent.weighted = fit.weighted;
    tangent.from = p[*first].x;
    tangent.to = p[*last].x;
    return tangent;
}
