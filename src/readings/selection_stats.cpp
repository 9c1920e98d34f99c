#include "readings/selection_stats.h"

#include <algorithm>
#include <cmath>

std::optional<SelectionStats> selectionStats(const ReadingRows& rows)
{
    const std::vector<Point>& p = rows.points;
    if (p.empty())
        return std::nullopt;
    SelectionStats stats;
    stats.points = p.size();
    stats.min = stats.max = p.front().y;
    stats.from = stats.to = p.front().x;
    long double sum = 0;
    for (const Point& point : p) {
        sum += point.y;
        stats.min = std::min(stats.min, point.y);
        stats.max = std::max(stats.max, point.y);
        stats.from = std::min(stats.from, point.x);
        stats.to = std::max(stats.to, point.x);
    }
    const long double n = static_cast<long double>(p.size());
    const long double mean = sum / n;
    stats.mean = static_cast<double>(mean);
    if (p.size() < 2)
        return stats;
    long double squares = 0;
    for (const Point& point : p)
        squares += (point.y - mean) * (point.y - mean);
    stats.sd = static_cast<double>(std::sqrt(squares / (n - 1)));
    stats.standardError = static_cast<double>(std::sqrt(squares / (n - 1) / n));
    return stats;
}
