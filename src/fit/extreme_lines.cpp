#include "fit/extreme_lines.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct Corner {
    double x;
    double y;
};

constexpr double infinity = std::numeric_limits<double>::infinity();

double cross(const Corner& o, const Corner& a, const Corner& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Andrew's monotone chain: the upper hull (upper = true) or the lower hull of
// the corners, from left to right.
std::vector<Corner> hull(std::vector<Corner> corners, bool upper)
{
    std::sort(corners.begin(), corners.end(), [upper](const Corner& a, const Corner& b) {
        return a.x < b.x || (a.x == b.x && (upper ? a.y > b.y : a.y < b.y));
    });
    std::vector<Corner> chain;
    for (const Corner& c : corners) {
        if (!chain.empty() && chain.back().x == c.x)
            continue; // the higher (lower) of equal x came first
        while (chain.size() >= 2) {
            const double turn = cross(chain[chain.size() - 2], chain.back(), c);
            if (upper ? turn < 0 : turn > 0)
                break;
            chain.pop_back();
        }
        chain.push_back(c);
    }
    return chain;
}

// The slopes of lines with every lower corner on or below them and every
// upper corner on or above them, within [low, high].
struct SlopeRange {
    double low = -infinity;
    double high = infinity;
    bool empty = false;
};

SlopeRange separatingSlopes(const std::vector<Corner>& lower, const std::vector<Corner>& upper,
                            double low, double high)
{
    SlopeRange range{low, high, false};
    const std::vector<Corner> below = hull(lower, true);
    const std::vector<Corner> above = hull(upper, false);
    // lo_i - m xl_i <= hi_j - m xh_j, that is m (xh_j - xl_i) <= hi_j - lo_i.
    for (const Corner& l : below)
        for (const Corner& h : above) {
            const double dx = h.x - l.x, dy = h.y - l.y;
            if (dx > 0)
                range.high = std::min(range.high, dy / dx);
            else if (dx < 0)
                range.low = std::max(range.low, dy / dx);
            else if (dy < 0)
                range.empty = true;
        }
    range.empty = range.empty || !(range.low <= range.high);
    return range;
}

// The corners that bind for slopes of one sign: for m >= 0 a box's lower
// corner is its lower right, its upper corner its upper left; for m <= 0 the
// lower left and the upper right.
void cornersFor(const std::vector<ErrorBox>& boxes, bool rising, std::vector<Corner>& lower,
                std::vector<Corner>& upper)
{
    lower.clear();
    upper.clear();
    for (const ErrorBox& b : boxes) {
        const double right = b.x + b.ux, left = b.x - b.ux;
        lower.push_back({rising ? right : left, b.y - b.uy});
        upper.push_back({rising ? left : right, b.y + b.uy});
    }
}

// For a slope that crosses every box, the middle of the intercepts that do.
double interceptFor(const std::vector<ErrorBox>& boxes, double slope)
{
    double lowest = -infinity, highest = infinity;
    for (const ErrorBox& b : boxes) {
        const double low =
            std::min((b.y - b.uy) - slope * (b.x + b.ux), (b.y - b.uy) - slope * (b.x - b.ux));
        const double high =
            std::max((b.y + b.uy) - slope * (b.x + b.ux), (b.y + b.uy) - slope * (b.x - b.ux));
        lowest = std::max(lowest, low);
        highest = std::min(highest, high);
    }
    return lowest / 2 + highest / 2;
}

} // namespace

std::optional<ExtremeLines> extremeLines(const std::vector<ErrorBox>& boxes)
{
    const bool xBars =
        std::any_of(boxes.begin(), boxes.end(), [](const ErrorBox& b) { return b.ux > 0; });
    std::vector<Corner> lower, upper;
    double steepest = -infinity, shallowest = infinity;
    bool found = false;
    // Without x bars the corners are the same for every slope: one pass.
    for (const bool rising : xBars ? std::vector<bool>{true, false} : std::vector<bool>{true}) {
        cornersFor(boxes, rising, lower, upper);
        const SlopeRange range = separatingSlopes(lower, upper, xBars && rising ? 0 : -infinity,
                                                  xBars && !rising ? 0 : infinity);
        if (range.empty)
            continue;
        found = true;
        steepest = std::max(steepest, range.high);
        shallowest = std::min(shallowest, range.low);
    }
    if (!found || !std::isfinite(steepest) || !std::isfinite(shallowest))
        return std::nullopt;
    return ExtremeLines{{steepest, interceptFor(boxes, steepest)},
                        {shallowest, interceptFor(boxes, shallowest)}};
}

double roundingOf(const Line& line, const std::vector<ErrorBox>& boxes)
{
    double largest = std::fabs(line.intercept);
    for (const ErrorBox& b : boxes)
        largest = std::max(largest,
                           std::fabs(line.slope) * (std::fabs(b.x) + b.ux) + std::fabs(b.y) + b.uy);
    return 1e-9 * largest;
}

bool crosses(const Line& line, const ErrorBox& box, double wider)
{
    const double atLeft = line.slope * (box.x - box.ux) + line.intercept;
    const double atRight = line.slope * (box.x + box.ux) + line.intercept;
    const double slack = wider + 1e-9 * (std::fabs(box.y) + box.uy + std::fabs(atLeft) +
                                         std::fabs(atRight) + std::numeric_limits<double>::min());
    return std::min(atLeft, atRight) <= box.y + box.uy + slack &&
           std::max(atLeft, atRight) >= box.y - box.uy - slack;
}
