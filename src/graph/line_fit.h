#pragma once

#include <string>
#include <vector>

struct Point {
    double x;
    double y;
};

// The least-squares straight line y = m x + b through points, computed from
// centred sums so that large offsets (clock times) do not cancel.
struct LineFit {
    enum class Outcome {
        TooFewPoints, // fewer than two: no line
        AllXEqual,    // no line of the form y = m x + b fits
        TooLarge,     // the numbers overflow a double on the way
        Line,
    };
    Outcome outcome = Outcome::TooFewPoints;
    int points = 0;
    double slope = 0;     // m
    double intercept = 0; // b
    // Standard uncertainties (one standard deviation); with two points they
    // are not defined.
    bool hasUncertainties = false;
    double slopeUncertainty = 0;
    double interceptUncertainty = 0;
    // Not defined when all y are equal.
    bool hasRSquared = false;
    double rSquared = 0;
};

LineFit fitLine(const std::vector<Point>& points);

// What the graph window says under the graph, numbers rendered as the
// program renders every computed number; several lines.
std::string describeFit(const LineFit& fit);
