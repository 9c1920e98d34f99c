#include "fit/starting_values.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// y = slope u + intercept by least squares from centred sums.
struct SimpleLine {
    bool found = false;
    double slope = 0;
    double intercept = 0;
    double sumOfSquares = 0;
};

SimpleLine simpleLine(const std::vector<double>& u, const std::vector<double>& y)
{
    SimpleLine line;
    const double n = static_cast<double>(u.size());
    if (u.size() < 2)
        return line;
    double meanU = 0, meanY = 0;
    for (std::size_t i = 0; i < u.size(); ++i) {
        meanU += u[i] / n;
        meanY += y[i] / n;
    }
    double suu = 0, suy = 0, syy = 0;
    for (std::size_t i = 0; i < u.size(); ++i) {
        suu += (u[i] - meanU) * (u[i] - meanU);
        suy += (u[i] - meanU) * (y[i] - meanY);
        syy += (y[i] - meanY) * (y[i] - meanY);
    }
    if (!(suu > 0) || !std::isfinite(suu) || !std::isfinite(suy))
        return line;
    line.found = true;
    line.slope = suy / suu;
    line.intercept = meanY - line.slope * meanU;
    line.sumOfSquares = std::max(0.0, syy - suy * suy / suu);
    return line;
}

double spanOf(const std::vector<Point>& sorted)
{
    return sorted.empty() ? 0 : sorted.back().x - sorted.front().x;
}

std::vector<Point> byX(std::vector<Point> points)
{
    std::stable_sort(points.begin(), points.end(),
                     [](const Point& a, const Point& b) { return a.x < b.x; });
    return points;
}

double meanY(const std::vector<Point>& points)
{
    double mean = 0;
    for (const Point& p : points)
        mean += p.y / static_cast<double>(points.size());
    return mean;
}

// ln |y| against u (t or ln x) on the points where both exist, the sign of
// A from the sign most y have: {A, B}.
std::vector<double> logarithmicLine(const std::vector<Point>& points, bool logOfX, double shift)
{
    int positive = 0;
    for (const Point& p : points)
        positive += p.y > 0 ? 1 : p.y < 0 ? -1 : 0;
    const double sign = positive >= 0 ? 1 : -1;
    std::vector<double> u, lnY;
    for (const Point& p : points) {
        if (!(sign * p.y > 0) || (logOfX && !(p.x > 0)))
            continue;
        u.push_back(logOfX ? std::log(p.x) : p.x - shift);
        lnY.push_back(std::log(sign * p.y));
    }
    const SimpleLine line = simpleLine(u, lnY);
    if (!line.found || !std::isfinite(std::exp(line.intercept)))
        return {meanY(points), logOfX ? 1.0 : 0.0};
    return {sign * std::exp(line.intercept), line.slope};
}

// For each rate in ±(0.05 ... 50)/span, A and C of A e^(B t) + C by least
// squares; the rate with the least squares wins.
std::vector<double> exponentialWithOffset(const std::vector<Point>& points, double shift)
{
    const std::vector<Point> sorted = byX(points);
    const double span = spanOf(sorted);
    std::vector<double> y;
    for (const Point& p : points)
        y.push_back(p.y);
    std::vector<double> best = {0, 0, meanY(points)};
    if (!(span > 0) || !std::isfinite(span))
        return best;
    double leastSquares = INFINITY;
    std::vector<double> u(points.size());
    constexpr int ratesPerSign = 60;
    for (const double sign : {-1.0, 1.0})
        for (int k = 0; k < ratesPerSign; ++k) {
            const double rate = sign * 0.05 * std::pow(1000.0, k / (ratesPerSign - 1.0)) / span;
            for (std::size_t i = 0; i < points.size(); ++i)
                u[i] = std::exp(rate * (points[i].x - shift));
            const SimpleLine line = simpleLine(u, y);
            if (line.found && line.sumOfSquares < leastSquares) {
                leastSquares = line.sumOfSquares;
                best = {line.slope, rate, line.intercept};
            }
        }
    return best;
}

// The median distance between neighbouring x values that differ.
double typicalSpacing(const std::vector<Point>& sorted)
{
    std::vector<double> gaps;
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i].x > sorted[i - 1].x)
            gaps.push_back(sorted[i].x - sorted[i - 1].x);
    if (gaps.empty())
        return 0;
    std::nth_element(gaps.begin(), gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2),
                     gaps.end());
    return gaps[gaps.size() / 2];
}

// The angular frequency from the crossings of the mean; a crossing counts
// when y goes from below mean - h to above mean + h or back, so that noise
// near the mean does not add crossings.
double frequencyFromCrossings(const std::vector<Point>& sorted, double mean)
{
    double spread = 0;
    for (const Point& p : sorted)
        spread += (p.y - mean) * (p.y - mean) / static_cast<double>(sorted.size());
    const double h = 0.3 * std::sqrt(spread);
    int side = 0, crossings = 0;
    double first = 0, last = 0;
    for (const Point& p : sorted) {
        const int now = p.y > mean + h ? 1 : p.y < mean - h ? -1 : 0;
        if (now == 0 || now == side)
            continue;
        if (side != 0) {
            if (crossings++ == 0)
                first = p.x;
            last = p.x;
        }
        side = now;
    }
    if (crossings >= 2 && last > first)
        return std::numbers::pi * (crossings - 1) / (last - first);
    // Less than a period: take the data as half a period.
    const double span = spanOf(sorted);
    return span > 0 ? std::numbers::pi / span : 1;
}

// For a frequency, a sin(B t) + b cos(B t) + D by least squares; returns the
// sum of squares and sets {A, B, C, D}.
double sineAtFrequency(const std::vector<Point>& points, double shift, double frequency,
                       std::vector<double>& parameters)
{
    // The normal equations of three columns, centred: small and well
    // conditioned for a frequency of a few periods over the data.
    double s[3][3] = {}, r[3] = {}, syy = 0;
    const double n = static_cast<double>(points.size());
    double mean[3] = {}, meanYValue = 0;
    for (const Point& p : points) {
        const double t = p.x - shift;
        mean[0] += std::sin(frequency * t) / n;
        mean[1] += std::cos(frequency * t) / n;
        meanYValue += p.y / n;
    }
    for (const Point& p : points) {
        const double t = p.x - shift;
        const double u[2] = {std::sin(frequency * t) - mean[0], std::cos(frequency * t) - mean[1]};
        const double dy = p.y - meanYValue;
        for (int i = 0; i < 2; ++i) {
            for (int j = 0; j < 2; ++j)
                s[i][j] += u[i] * u[j];
            r[i] += u[i] * dy;
        }
        syy += dy * dy;
    }
    const double det = s[0][0] * s[1][1] - s[0][1] * s[1][0];
    if (!(std::fabs(det) > 1e-12 * (s[0][0] * s[1][1])) || !std::isfinite(det))
        return INFINITY;
    const double a = (r[0] * s[1][1] - r[1] * s[0][1]) / det;
    const double b = (r[1] * s[0][0] - r[0] * s[1][0]) / det;
    const double d = meanYValue - a * mean[0] - b * mean[1];
    parameters = {std::hypot(a, b), frequency, std::atan2(b, a), d};
    return syy - (a * r[0] + b * r[1]);
}

std::vector<double> sine(const std::vector<Point>& points, double shift)
{
    const std::vector<Point> sorted = byX(points);
    const double mean = meanY(points);
    const double estimate = frequencyFromCrossings(sorted, mean);
    double highest = INFINITY;
    if (const double spacing = typicalSpacing(sorted); spacing > 0)
        highest = std::numbers::pi / spacing; // two points a period at least
    std::vector<double> best = {0, estimate, 0, mean}, trial;
    double leastSquares = INFINITY;
    constexpr int steps = 81;
    for (int k = 0; k < steps; ++k) {
        const double frequency = estimate * std::pow(2.0, (k - steps / 2) / (steps / 2.0));
        if (frequency > highest)
            break;
        const double squares = sineAtFrequency(points, shift, frequency, trial);
        if (squares < leastSquares) {
            leastSquares = squares;
            best = trial;
        }
    }
    return best;
}

// Centre at the peak (or dip) that stands out most from the median; width
// from where y falls to half way on each side; then height and baseline by
// least squares.
std::vector<double> gaussian(const std::vector<Point>& points, double shift)
{
    const std::vector<Point> sorted = byX(points);
    std::vector<double> ys;
    for (const Point& p : sorted)
        ys.push_back(p.y);
    std::vector<double> ordered = ys;
    std::nth_element(ordered.begin(),
                     ordered.begin() + static_cast<std::ptrdiff_t>(ordered.size() / 2),
                     ordered.end());
    const double median = ordered[ordered.size() / 2];
    const auto [low, high] = std::minmax_element(ys.begin(), ys.end());
    const bool peak = *high - median >= median - *low;
    const auto centre = static_cast<std::size_t>((peak ? high : low) - ys.begin());
    const double baseline = peak ? *low : *high;
    const double half = (ys[centre] + baseline) / 2;
    const auto beyondHalf = [&](double y) { return peak ? y < half : y > half; };
    std::size_t left = centre, right = centre;
    while (left > 0 && !beyondHalf(ys[left]))
        --left;
    while (right + 1 < ys.size() && !beyondHalf(ys[right]))
        ++right;
    double halfWidth =
        std::max(sorted[centre].x - sorted[left].x, sorted[right].x - sorted[centre].x);
    if (!(halfWidth > 0))
        halfWidth = spanOf(sorted) > 0 ? spanOf(sorted) / 4 : 1;
    const double width = halfWidth / std::sqrt(2 * std::log(2.0));
    const double centreT = sorted[centre].x - shift;
    std::vector<double> u, y;
    for (const Point& p : points) {
        const double d = (p.x - shift - centreT) / width;
        u.push_back(std::exp(-d * d / 2));
        y.push_back(p.y);
    }
    const SimpleLine line = simpleLine(u, y);
    if (!line.found)
        return {ys[centre] - baseline, centreT, width, baseline};
    return {line.slope, centreT, width, line.intercept};
}

} // namespace

std::vector<double> startingValues(const NonlinearModel& model, const std::vector<Point>& points)
{
    switch (model.kind) {
    case ModelKind::Exponential:
        return logarithmicLine(points, false, model.shift);
    case ModelKind::Power:
        return logarithmicLine(points, true, 0);
    case ModelKind::ExponentialWithOffset:
        return exponentialWithOffset(points, model.shift);
    case ModelKind::Sine:
        return sine(points, model.shift);
    default:
        return gaussian(points, model.shift);
    }
}
