#include "graph/point_density.h"

#include <algorithm>
#include <cmath>

namespace {

// Each count summed over the `spread` cells from it backwards along one
// direction (stride apart, `length` of them in a line, `lines` lines).
void spreadAlong(std::vector<std::uint32_t>& counts, std::size_t lines, std::size_t lineStride,
                 std::size_t length, std::size_t stride, std::size_t spread)
{
    std::vector<std::uint32_t> line(length);
    for (std::size_t l = 0; l < lines; ++l) {
        std::uint32_t* const first = counts.data() + l * lineStride;
        for (std::size_t i = 0; i < length; ++i)
            line[i] = first[i * stride];
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < length; ++i) {
            sum += line[i];
            if (i >= spread)
                sum -= line[i - spread];
            first[i * stride] = sum;
        }
    }
}

} // namespace

PointDensity pointDensity(const std::vector<Point>& points, const Axis& x, const Axis& y, int width,
                          int height, int spread)
{
    PointDensity density;
    density.width = std::max(width, 1);
    density.height = std::max(height, 1);
    const auto w = static_cast<std::size_t>(density.width);
    const auto h = static_cast<std::size_t>(density.height);
    density.counts.assign(w * h, 0);
    // A marker centred on its point: the point counts at the marker's
    // lower right corner, and the sums reach back over the marker.
    const std::size_t reach = static_cast<std::size_t>(std::max(spread, 1));
    const double shift = static_cast<double>(reach / 2);
    const double lastColumn = static_cast<double>(w - 1), lastRow = static_cast<double>(h - 1);
    // On linear axes a value's fraction is a subtraction and a multiply.
    const double xScale = 1 / (x.high - x.low), yScale = 1 / (y.high - y.low);
    const bool linear = !x.logarithmic && !y.logarithmic && std::isfinite(xScale) &&
                        std::isfinite(yScale) && xScale > 0 && yScale > 0;
    for (const Point& p : points) {
        const double fx = linear ? (p.x - x.low) * xScale : x.fraction(p.x);
        const double fy = linear ? (p.y - y.low) * yScale : y.fraction(p.y);
        if (!(fx >= 0 && fx <= 1 && fy >= 0 && fy <= 1))
            continue;
        const double column = std::min(fx * density.width + shift, lastColumn);
        const double row = std::min((1 - fy) * density.height + shift, lastRow);
        ++density.counts[static_cast<std::size_t>(row) * w + static_cast<std::size_t>(column)];
    }
    if (reach > 1) {
        spreadAlong(density.counts, h, w, w, 1, reach);
        spreadAlong(density.counts, w, 1, h, w, reach);
    }
    density.most = density.counts.empty()
                       ? 0
                       : *std::max_element(density.counts.begin(), density.counts.end());
    return density;
}
