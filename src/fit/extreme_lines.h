#pragma once

#include <optional>
#include <vector>

// A measurement with its uncertainties: the rectangle x ± ux, y ± uy that a
// line must cross to pass through its error bars (ux = 0: the vertical bar).
struct ErrorBox {
    double x = 0;
    double y = 0;
    double ux = 0;
    double uy = 0;
};

struct Line {
    double slope = 0;
    double intercept = 0;
};

// The straight lines of greatest and least slope that pass through every
// box, as courses teach for the slope's uncertainty by hand.
struct ExtremeLines {
    Line steepest;
    Line shallowest;
};

// Computed exactly, not by trying slopes: a line y = m x + b crosses a box
// when the box's lower corner lies on or below it and its upper corner on or
// above it (which corners, depends on the sign of m: the feasible (m, b) are
// convex on each side of m = 0). Only the corners on the upper hull of the
// lower corners and on the lower hull of the upper corners can bind, and
// every pair of those bounds m from above, from below or not at all. None
// when no line crosses every box, or when the boxes leave the slope
// unbounded (fewer than two distinct x).
std::optional<ExtremeLines> extremeLines(const std::vector<ErrorBox>& boxes);

// Whether a line crosses a box, allowing for rounding in the last digits of
// the numbers involved; `slack` widens the box by that much more.
bool crosses(const Line& line, const ErrorBox& box, double slack = 0);

// How far rounding may move a line computed from these boxes at any of them:
// a few parts in 10⁹ of the largest |m x| + |y| among them (a line through a
// box far away carries that box's rounding to the others).
double roundingOf(const Line& line, const std::vector<ErrorBox>& boxes);
