#include "spectrum/even_samples.h"

#include <algorithm>
#include <cmath>

namespace {

// The usual step: the median of the steps, which gaps do not move.
double medianStep(std::span<const double> x)
{
    std::vector<double> steps(x.size() - 1);
    for (std::size_t i = 0; i + 1 < x.size(); ++i)
        steps[i] = x[i + 1] - x[i];
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    return steps[steps.size() / 2];
}

// y at `at` by the straight line between the rows about it, from row `from` on.
double lineBetween(std::span<const double> x, std::span<const double> y, double at,
                   std::size_t& from)
{
    while (from + 2 < x.size() && x[from + 1] <= at)
        ++from;
    const double share = (at - x[from]) / (x[from + 1] - x[from]);
    return y[from] + std::clamp(share, 0.0, 1.0) * (y[from + 1] - y[from]);
}

} // namespace

EvenSamples evenSamples(std::span<const double> x, std::span<const double> y)
{
    EvenSamples samples;
    const std::size_t n = std::min(x.size(), y.size());
    if (n < 2) {
        samples.failure = "there are fewer than two rows";
        return samples;
    }
    x = x.first(n);
    y = y.first(n);
    // One pass for the usual case, evenly spaced rows: no median needed.
    double least = INFINITY, greatest = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double step = x[i + 1] - x[i];
        if (!(step > 0)) {
            samples.failure = "the x values do not increase from row to row";
            return samples;
        }
        least = std::min(least, step);
        greatest = std::max(greatest, step);
    }
    samples.start = x[0];
    samples.spacing = (x[n - 1] - x[0]) / static_cast<double>(n - 1);
    if (greatest - least <= evenSpacingTolerance * samples.spacing) {
        samples.count = n;
        return samples;
    }
    const double usual = medianStep(x);
    double bridged = 0;
    least = INFINITY;
    greatest = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double step = x[i + 1] - x[i];
        if (step > gapSpacings * usual) {
            if (samples.gaps++ == 0) {
                samples.firstGapAt = x[i];
                samples.firstGapLength = step;
            }
            bridged += step;
            continue;
        }
        least = std::min(least, step);
        greatest = std::max(greatest, step);
    }
    const std::size_t steps = n - 1 - samples.gaps;
    samples.spacing = steps > 0 ? (x[n - 1] - x[0] - bridged) / static_cast<double>(steps) : usual;
    if (greatest - least > evenSpacingTolerance * samples.spacing)
        samples.unevenSpread = std::pair(least, greatest);
    samples.count =
        static_cast<std::size_t>(std::floor((x[n - 1] - x[0]) / samples.spacing * (1 + 1e-12))) + 1;
    samples.resampled.resize(samples.count);
    std::size_t from = 0;
    for (std::size_t k = 0; k < samples.count; ++k)
        samples.resampled[k] =
            lineBetween(x, y, x[0] + static_cast<double>(k) * samples.spacing, from);
    return samples;
}
