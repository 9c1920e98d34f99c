#pragma once

#include "readings/reading_rows.h"

#include <optional>
#include <string>
#include <variant>

// The area under the rows' curve: the integral of y over x by the trapezoid
// rule on the rows as measured, and its standard uncertainty in two parts:
// the readings' (u² = Σ (wᵢ u(yᵢ))², wᵢ the trapezoid weights: half the x
// step on each side of a row) and the rule's own error, estimated from the
// data as the difference from Simpson's rule (the parabola through each
// three rows, for any spacing): exact for a parabola (and for a cubic
// sampled evenly), within a few per cent for smooth curves.
struct AreaReading {
    double area = 0;
    double uncertainty = 0; // both parts combined
    double readingsPart = 0;
    bool uncertaintiesGiven = false;
    int withoutUncertainty = 0;     // rows whose y has none: counted as exact
    std::optional<double> rulePart; // none from two rows, or rows too unevenly spaced
    std::size_t points = 0;
    double from = 0; // the x of the first row
    double to = 0;   // and of the last
};

// The area, or why there is none: fewer than two rows, or x that does not
// increase from one row to the next (the first such line named), which the
// rule would sum backwards.
std::variant<AreaReading, std::string> areaUnder(const ReadingRows& rows);
