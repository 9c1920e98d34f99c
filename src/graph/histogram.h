#pragma once

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

// How the histogram's bins are chosen. Automatic: the Freedman-Diaconis
// width 2·IQR·n^(-1/3), Sturges' when the IQR is 0; Sturges: the range over
// ⌈log₂ n⌉ + 1. Either is rounded down to 1, 2 or 5 times a power of ten, so
// that there are never fewer bins than the rule asks. Width: the student's,
// as typed.
struct BinChoice {
    enum class Rule { Automatic, Sturges, Width };
    Rule rule = Rule::Automatic;
    double width = 0; // for Rule::Width

    bool operator==(const BinChoice&) const = default;
};

// Repeated measurements of one quantity, counted in bins of equal width
// whose edges lie on whole multiples of it, from the multiple at or below
// the smallest value to the first multiple above the largest; a value on an
// edge counts in the bin that begins there.
struct Histogram {
    std::size_t n = 0;
    double mean = 0;
    double standardDeviation = 0; // s, with N - 1; NaN for one value
    double standardError = 0;     // s/√N; NaN for one value
    double binWidth = 0;
    std::vector<double> edges; // one more than the bins
    std::vector<std::size_t> counts;
    std::size_t withinOneSd = 0; // values with |x - mean| ≤ s
};

// The most bins a histogram is drawn with.
inline constexpr std::size_t mostBins = 10000;

// The largest of 1, 2 and 5 times a power of ten at or below a width above
// 0; a width within 1e-9 of such a value is taken as it.
double roundedBinWidth(double width);

// The quantile p (0 to 1) of values sorted in ascending order, by linear
// interpolation between the order statistics: x[h] + (h - ⌊h⌋)(x[h+1] - x[h])
// at h = (n - 1) p.
double quantile(const std::vector<double>& sorted, double p);

// The histogram of values (at least one, all finite), or why there is none
// (a width that is no number above 0, or that would make more than
// mostBins bins).
std::variant<Histogram, std::string> makeHistogram(std::vector<double> values,
                                                   const BinChoice& bins);

// The count the normal distribution with the histogram's mean and s
// expects in a bin around x: n · width · density(x).
double normalCount(const Histogram& histogram, double x);

// The text under the histogram, line by line, with the values' unit (empty
// for none): "N = 50", the mean with its standard error, s, and how many
// values lie within one s of the mean.
std::vector<std::string> describeHistogram(const Histogram& histogram, const std::string& unit);
