#include "graph/point_density.h"

#include <algorithm>
#include <cmath>

namespace {

// Each count summed with the `spread` - 1 counts before it in its row: in
// place, from the row's end, where the counts before are not summed yet.
void spreadAcross(std::vector<std::uint32_t>& counts, std::size_t width, std::size_t spread)
{
    for (std::size_t start = 0; start < counts.size(); start += width) {
        std::uint32_t* const row = counts.data() + start;
        for (std::size_t i = width; i-- > 1;)
            for (std::size_t k = 1; k < spread && k <= i; ++k)
                row[i] += row[i - k];
    }
}

// Each row summed with the `spread` - 1 rows above it, likewise from the
// bottom: whole rows at a time, which the processor adds side by side.
void spreadDown(std::vector<std::uint32_t>& counts, std::size_t width, std::size_t height,
                std::size_t spread)
{
    for (std::size_t r = height; r-- > 1;) {
        std::uint32_t* const row = counts.data() + r * width;
        for (std::size_t k = 1; k < spread && k <= r; ++k) {
            const std::uint32_t* const above = counts.data() + (r - k) * width;
            for (std::size_t c = 0; c < width; ++c)
                row[c] += above[c];
        }
    }
}

} // namespace

PointDensity pointDensity(const std::vector<Point>& points, const Axis& x, const Axis& y, int width,
                          int height, int spread)
{
    PointDensity density;
    countPoints(points, x, y, width, height, spread, density);
    return density;
}

void countPoints(const std::vector<Point>& points, const Axis& x, const Axis& y, int width,
                 int height, int spread, PointDensity& density)
{
    density.width = std::max(width, 1);
    density.height = std::max(height, 1);
    const auto w = static_cast<std::size_t>(density.width);
    const auto h = static_cast<std::size_t>(density.height);
    density.counts.assign(w * h, 0);
    // A marker centred on its point: the point counts at the marker's
    // lower right corner, and the sums reach back over the marker.
    const std::size_t reach = static_cast<std::size_t>(std::max(spread, 1));
    const double shift = static_cast<double>(reach / 2);
    const double columns = static_cast<double>(w), rows = static_cast<double>(h);
    const double lastColumn = columns - 1, lastRow = rows - 1;
    const AxisFractions xFraction(x), yFraction(y);
    std::uint32_t* const counts = density.counts.data();
    for (const Point& p : points) {
        const double fx = xFraction(p.x);
        const double fy = yFraction(p.y);
        if (!(fx >= 0 && fx <= 1 && fy >= 0 && fy <= 1))
            continue;
        const double column = std::min(fx * columns + shift, lastColumn);
        const double row = std::min((1 - fy) * rows + shift, lastRow);
        ++counts[static_cast<std::size_t>(row) * w + static_cast<std::size_t>(column)];
    }
    if (reach > 1) {
        spreadAcross(density.counts, w, reach);
        spreadDown(density.counts, w, h, reach);
    }
    std::uint32_t most = 0; // a plain loop the processor runs four counts at a time
    for (const std::uint32_t count : density.counts)
        most = std::max(most, count);
    density.most = most;
}
