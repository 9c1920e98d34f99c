#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A signal as an FFT takes it: values at evenly spaced x. Rows whose x
// spacing varies (a phone's timestamps) are resampled by straight lines at
// the mean spacing; a gap of more than three times the usual spacing is
// bridged the same way, and both are said.

// Spacings within this fraction of the mean count as even: x written with
// few decimals (t = n/44100 to ten decimals) varies by rounding alone.
inline constexpr double evenSpacingTolerance = 1e-3;
// A step longer than this many usual spacings is a gap.
inline constexpr double gapSpacings = 3;

struct EvenSamples {
    // The resampled values; empty when the rows were evenly spaced and are
    // taken as they are.
    std::vector<double> resampled;
    std::size_t count = 0; // of samples
    double spacing = 0; // in x units
    double start = 0;
    // The spread of the spacing, when the rows were resampled: the least
    // and greatest step.
    std::optional<std::pair<double, double>> unevenSpread;
    // Gaps bridged: how many, the first's x and length.
    std::size_t gaps = 0;
    double firstGapAt = 0, firstGapLength = 0;
    std::string failure; // why there are none: x that do not increase

    // The samples: the resampled ones, or the rows' y.
    std::span<const double> of(std::span<const double> y) const
    {
        return resampled.empty() ? y.first(count) : std::span<const double>(resampled);
    }
};

EvenSamples evenSamples(std::span<const double> x, std::span<const double> y);
