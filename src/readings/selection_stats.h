#pragma once

#include "readings/reading_rows.h"

#include <optional>

// The statistics of y over the rows of a selection, and their x extent.
struct SelectionStats {
    std::size_t points = 0;
    double mean = 0;
    std::optional<double> sd;            // the sample standard deviation (n - 1); none for one row
    std::optional<double> standardError; // of the mean, s / √n
    double min = 0, max = 0;
    double from = 0, to = 0; // the lowest and highest x
};

// Two passes, the squares summed about the mean: no digits lost to a
// large offset (a temperature in kelvin). None without rows.
std::optional<SelectionStats> selectionStats(const ReadingRows& rows);
