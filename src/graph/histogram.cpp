#include "graph/histogram.h"

#include "format/report_number.h"
#include "graph/axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// m × 10^power as the double nearest the decimal: 0.05 is 5 / 100, not
// 5 × 0.01.
double decimal(double mantissa, int power)
{
    return power >= 0 ? mantissa * std::pow(10.0, power) : mantissa / std::pow(10.0, -power);
}

// The bin a value falls in, counted from 0 at the edge 0: ⌊value / width⌋,
// but a value on an edge, as typed (0.3 with a width of 0.1, whose quotient
// is 2.9999999999999996), in the bin that begins there. The quotient of
// decimals is off by a few units in its last place; a tolerance of 1e-12 of
// it is far beyond that and far below a value typed off an edge.
double binOf(double value, double width)
{
    const double quotient = value / width;
    const double nearest = std::nearbyint(quotient);
    if (std::fabs(quotient - nearest) <= 1e-12 * std::max(1.0, std::fabs(nearest)))
        return nearest;
    return std::floor(quotient);
}

// The edge at a multiple of the width as the decimal it is written as:
// 3 × 0.1 is 0.3, not 0.30000000000000004.
double edgeAt(double multiple, double width)
{
    const double edge = multiple * width;
    const std::string text = tickLabel(edge, width);
    double decimal = edge;
    std::from_chars(text.data(), text.data() + text.size(), decimal);
    return decimal;
}

double sturgesWidth(const std::vector<double>& sorted)
{
    const double classes = std::ceil(std::log2(static_cast<double>(sorted.size()))) + 1;
    return (sorted.back() - sorted.front()) / classes;
}

double freedmanDiaconisWidth(const std::vector<double>& sorted)
{
    const double spread = quantile(sorted, 0.75) - quantile(sorted, 0.25);
    if (!(spread > 0))
        return sturgesWidth(sorted);
    return 2 * spread * std::pow(static_cast<double>(sorted.size()), -1.0 / 3);
}

// A rule's width, rounded; equal values get a tenth of their size (1 for 0).
double ruleWidth(const std::vector<double>& sorted, BinChoice::Rule rule)
{
    double width = rule == BinChoice::Rule::Sturges ? sturgesWidth(sorted)
                                                    : freedmanDiaconisWidth(sorted);
    if (width == 0)
        width = sorted.front() != 0 ? std::fabs(sorted.front()) / 10 : 1;
    return roundedBinWidth(width);
}

// The first and last edges' multiples of the width, when the bins between
// them are no more than mostBins.
bool edgesFor(const std::vector<double>& sorted, double width, double& first, double& last)
{
    first = binOf(sorted.front(), width);
    last = binOf(sorted.back(), width) + 1;
    return std::isfinite(first) && std::isfinite(last) && last - first >= 1 &&
           last - first <= static_cast<double>(mostBins);
}

void addStatistics(Histogram& histogram, const std::vector<double>& sorted)
{
    const double n = static_cast<double>(sorted.size());
    // Each value over n first, so that values near the largest double do
    // not add up past it; then centred sums: the deviations from that mean
    // correct it, and give s, scaled by the largest deviation so that their
    // squares neither overflow nor vanish.
    double mean = 0;
    for (const double value : sorted)
        mean += value / n;
    double deviation = 0, largest = 0;
    for (const double value : sorted) {
        deviation += (value - mean) / n;
        largest = std::max(largest, std::fabs(value - mean));
    }
    mean += deviation;
    double squares = 0;
    if (largest > 0)
        for (const double value : sorted)
            squares += ((value - mean) / largest) * ((value - mean) / largest);
    histogram.n = sorted.size();
    histogram.mean = mean;
    histogram.standardDeviation =
        sorted.size() > 1 ? largest * std::sqrt(squares / (n - 1)) : nan;
    histogram.standardError = histogram.standardDeviation / std::sqrt(n);
    for (const double value : sorted)
        histogram.withinOneSd += std::fabs(value - mean) <= histogram.standardDeviation;
}

} // namespace

double roundedBinWidth(double width)
{
    if (!(width > 0) || !std::isfinite(width))
        return width;
    const int power = static_cast<int>(std::floor(std::log10(width)));
    for (int p = power + 1; p >= power - 1; --p)
        for (const double mantissa : {5.0, 2.0, 1.0}) {
            const double candidate = decimal(mantissa, p);
            if (candidate <= width * (1 + 1e-9) && candidate > 0)
                return candidate;
        }
    return width;
}

double quantile(const std::vector<double>& sorted, double p)
{
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const auto below = static_cast<std::size_t>(std::floor(h));
    if (below + 1 >= sorted.size())
        return sorted.back();
    return sorted[below] + (h - static_cast<double>(below)) * (sorted[below + 1] - sorted[below]);
}

std::variant<Histogram, std::string> makeHistogram(std::vector<double> values,
                                                   const BinChoice& bins)
{
    std::sort(values.begin(), values.end());
    double width = bins.width;
    if (bins.rule == BinChoice::Rule::Width && !(width > 0 && std::isfinite(width)))
        return std::string("the bin width must be a number above 0");
    if (bins.rule != BinChoice::Rule::Width)
        width = ruleWidth(values, bins.rule);
    double first = 0, last = 0;
    bool fits = width > 0 && std::isfinite(width) && edgesFor(values, width, first, last);
    // A far outlier can make the automatic width too narrow for the range:
    // Sturges' width then, which depends on the range itself.
    if (!fits && bins.rule == BinChoice::Rule::Automatic) {
        width = ruleWidth(values, BinChoice::Rule::Sturges);
        fits = width > 0 && std::isfinite(width) && edgesFor(values, width, first, last);
    }
    if (!fits)
        return bins.rule == BinChoice::Rule::Width
                   ? "a bin width of " + typedValue(width) + " would make more than " +
                         std::to_string(mostBins) + " bins: choose a wider one"
                   : std::string("the values lie too far apart, or too close together, to count in bins");
    Histogram histogram;
    histogram.binWidth = width;
    const auto count = static_cast<std::size_t>(last - first);
    for (std::size_t i = 0; i <= count; ++i)
        histogram.edges.push_back(edgeAt(first + static_cast<double>(i), width));
    histogram.counts.assign(count, 0);
    // Far from 0 the multiples lose their last digits: a value is kept in
    // the bins all the same.
    for (const double value : values)
        ++histogram.counts[static_cast<std::size_t>(
            std::clamp(binOf(value, width) - first, 0.0, static_cast<double>(count - 1)))];
    addStatistics(histogram, values);
    return histogram;
}

double normalCount(const Histogram& histogram, double x)
{
    const double s = histogram.standardDeviation;
    const double z = (x - histogram.mean) / s;
    return static_cast<double>(histogram.n) * histogram.binWidth * std::exp(-z * z / 2) /
           (s * std::sqrt(2 * std::numbers::pi));
}

std::vector<std::string> describeHistogram(const Histogram& histogram, const std::string& unit)
{
    const std::string inUnit = unit.empty() ? std::string() : std::string(1, ' ').append(unit);
    const std::string n = std::to_string(histogram.n);
    std::vector<std::string> lines = {"N = " + n};
    if (histogram.n == 1) {
        lines.push_back("mean = " + typedValue(histogram.mean) + inUnit);
        lines.push_back("one value has no spread: the standard deviation and the standard error "
                        "need at least two values");
        return lines;
    }
    const double s = histogram.standardDeviation;
    lines.push_back("mean = " + valueWithUncertainty(histogram.mean, histogram.standardError) +
                    inUnit + " (± the standard error s/√N)");
    lines.push_back("s = " + (s > 0 ? significantValue(s, 2) : std::string("0")) + inUnit +
                    " (standard deviation, N - 1)");
    if (!(s > 0)) {
        lines.push_back("all " + n + " values are equal: they have no spread");
        return lines;
    }
    const long percent = std::lround(100.0 * static_cast<double>(histogram.withinOneSd) /
                                     static_cast<double>(histogram.n));
    lines.push_back(std::to_string(histogram.withinOneSd) + " of " + n + " values (" +
                    std::to_string(percent) +
                    " %) lie within mean ± s; for a normal distribution about 68 % would");
    return lines;
}
