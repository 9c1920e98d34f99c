// Arbitrary finite doubles (eight bytes each, after a first byte that picks
// the bin rule and a typed width): the histogram counts every value once,
// in the bin whose edges hold it, on no more than the most bins; its
// statistics are finite where they are defined and its text prints no
// infinity, no "nan" and no exponent.

#include "fuzz_check.h"
#include "graph/histogram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>

namespace {

void checkText(const Histogram& histogram)
{
    for (const std::string& line : describeHistogram(histogram, "s"))
        fuzzCheck(line.find("inf") == std::string::npos && line.find("nan") == std::string::npos &&
                      line.find("e+") == std::string::npos && line.find("e-") == std::string::npos,
                  "the text prints a number that is not finite or has an exponent");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 + sizeof(double))
        return 0;
    std::vector<double> values;
    for (std::size_t at = 1; at + sizeof(double) <= size; at += sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data + at, sizeof value);
        if (std::isfinite(value))
            values.push_back(value);
    }
    if (values.empty())
        return 0;
    const BinChoice::Rule rules[] = {BinChoice::Rule::Automatic, BinChoice::Rule::Sturges,
                                     BinChoice::Rule::Width};
    const BinChoice bins{rules[data[0] % 3], std::pow(10.0, data[0] / 3 % 9 - 4)}; // 1e-4 to 1e4
    const auto made = makeHistogram(values, bins);
    if (std::holds_alternative<std::string>(made))
        return 0;
    const Histogram& histogram = std::get<Histogram>(made);
    fuzzCheck(histogram.counts.size() + 1 == histogram.edges.size() &&
                  histogram.counts.size() <= mostBins && !histogram.counts.empty(),
              "edges and counts disagree, or too many bins");
    fuzzCheck(std::accumulate(histogram.counts.begin(), histogram.counts.end(), std::size_t{0}) ==
                  values.size(),
              "a value not counted once");
    fuzzCheck(std::is_sorted(histogram.edges.begin(), histogram.edges.end()),
              "edges out of order");
    fuzzCheck(histogram.binWidth > 0 && std::isfinite(histogram.binWidth), "no width");
    fuzzCheck(std::isfinite(histogram.mean), "a mean that is not finite");
    checkText(histogram);
    return 0;
}
