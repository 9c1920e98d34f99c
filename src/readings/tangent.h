#pragma once

#include "readings/reading_rows.h"

#include <optional>
#include <string>
#include <variant>

// The rows a tangent is fitted through unless the student asks for others:
// seven, a parabola through them.
inline constexpr int defaultTangentRows = 7;
inline constexpr int fewestTangentRows = 3;
inline constexpr int mostTangentRows = 1000;
// From this many rows the local fit is a parabola; below, a straight line.
inline constexpr int parabolaTangentRows = 5;

// The tangent of the rows' curve at x: the slope at x of a least-squares
// line or parabola through the rows nearest to x (weighted by the y
// uncertainties when every one of them has one), with its standard
// uncertainty in two parts: the fit's own, from the rows' scatter, and the
// local curve's shape, the difference from the slope of the next degree
// (a parabola's from a cubic's) through the same rows, where the rows leave
// that fit a degree of freedom.
struct TangentReading {
    double x = 0;
    double y = 0; // the local fit at x, where the tangent touches
    double slope = 0;
    double uncertainty = 0; // both parts combined
    double scatterPart = 0;
    std::optional<double> shapePart;
    int points = 0;
    bool parabola = false;
    bool weighted = false;
    double from = 0; // the x extent of the rows fitted
    double to = 0;
};

// The tangent at x through `count` rows, or why there is none: x outside
// the rows' x range or outside the nearest rows' (a tangent is never
// extrapolated), fewer rows than asked for, or rows the local fit cannot
// take.
std::variant<TangentReading, std::string> tangentAt(const ReadingRows& rows, double x, int count);
