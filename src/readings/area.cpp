#include "readings/area.h"

#include <array>
#include <cmath>

namespace {

// The trapezoid rule over the rows, in extended precision: a million rows
// lose no digit of the sum.
long double trapezoid(const std::vector<Point>& points)
{
    long double sum = 0;
    for (std::size_t a = 0; a + 1 < points.size(); ++a)
        sum += (static_cast<long double>(points[a + 1].x) - points[a].x) *
               (static_cast<long double>(points[a].y) + points[a + 1].y) / 2;
    return sum;
}

// Simpson's rule for any spacing: the integral of the parabola through each
// three rows over their two steps, and for an odd step left at the end, of
// the parabola through the last three rows over it.
long double simpson(const std::vector<Point>& p)
{
    // The parabola through rows a, a+1, a+2 in Newton's form about row a:
    // y = ya + d (x - xa) + c (x - xa)(x - xa+1).
    const auto parabola = [&p](std::size_t a) {
        const long double h0 = static_cast<long double>(p[a + 1].x) - p[a].x;
        const long double h1 = static_cast<long double>(p[a + 2].x) - p[a + 1].x;
        const long double d0 = (static_cast<long double>(p[a + 1].y) - p[a].y) / h0;
        const long double d1 = (static_cast<long double>(p[a + 2].y) - p[a + 1].y) / h1;
        return std::array<long double, 4>{h0, h1, d0, (d1 - d0) / (h0 + h1)};
    };
    long double sum = 0;
    std::size_t a = 0;
    for (; a + 2 < p.size(); a += 2) {
        const auto [h0, h1, d0, c] = parabola(a);
        const long double width = h0 + h1;
        sum += p[a].y * width + d0 * width * width / 2 +
               c * (width * width * width / 3 - h0 * width * width / 2);
    }
    if (a + 1 < p.size()) { // the last step: the trapezoid less the parabola's bulge
        const auto [h0, h1, d0, c] = parabola(p.size() - 3);
        sum += h1 * (static_cast<long double>(p[a].y) + p[a + 1].y) / 2 - c * h1 * h1 * h1 / 6;
    }
    return sum;
}

// The readings' part: Σ (wᵢ u(yᵢ))² with wᵢ half the x step on each side.
void addReadingsPart(const ReadingRows& rows, AreaReading& reading)
{
    if (rows.uy.empty())
        return;
    reading.uncertaintiesGiven = true;
    const std::vector<Point>& p = rows.points;
    long double sum = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const double before = i > 0 ? p[i].x - p[i - 1].x : 0;
        const double after = i + 1 < p.size() ? p[i + 1].x - p[i].x : 0;
        if (std::isnan(rows.uy[i])) {
            ++reading.withoutUncertainty;
            continue;
        }
        const long double weighted = (static_cast<long double>(before) + after) / 2 * rows.uy[i];
        sum += weighted * weighted;
    }
    reading.readingsPart = static_cast<double>(std::sqrt(sum));
}

} // namespace

std::variant<AreaReading, std::string> areaUnder(const ReadingRows& rows)
{
    const std::vector<Point>& p = rows.points;
    if (p.size() < 2)
        return std::string(p.empty() ? "no area: there are no rows in the range"
                                     : "no area: it needs at least two rows");
    for (std::size_t i = 1; i < p.size(); ++i)
        if (!(p[i].x > p[i - 1].x))
            return "no area: x does not increase at line " + std::to_string(rows.lines[i]) +
                   " (the rows are not summed backwards)";
    AreaReading reading;
    reading.points = p.size();
    reading.from = p.front().x;
    reading.to = p.back().x;
    const long double all = trapezoid(p);
    reading.area = static_cast<double>(all);
    addReadingsPart(rows, reading);
    // Rows spaced a million million times unevenly give a parabola past
    // any double: no estimate then, rather than an infinite one.
    if (const double rule = p.size() >= 3 ? static_cast<double>(std::fabs(all - simpson(p))) : NAN;
        std::isfinite(rule))
        reading.rulePart = rule;
    reading.uncertainty = std::hypot(reading.readingsPart, reading.rulePart.value_or(0));
    return reading;
}
