#pragma once

#include "fit/model.h"
#include "fit/point.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A model fitted to points by least squares, or why it could not be.
struct CurveFit {
    ModelChoice model;
    // Why there is no fit, a sentence in the program's words; empty when
    // there is one.
    std::string failure;
    std::vector<std::string> names;
    std::vector<double> values;
    // Standard uncertainties (one standard deviation) from the covariance
    // scaled by SSE/(n - p); empty when there are as many points as
    // parameters.
    std::vector<double> uncertainties;
    int points = 0;
    int degreesOfFreedom = 0;
    double residualSumOfSquares = 0;
    std::optional<double> residualStandardDeviation; // sqrt(SSE/(n - p))
    std::optional<double> rSquared;                  // 1 - SSE/Syy; none when all y are equal
    // The fitted curve at `count` values of x at once: NaN or ±inf where it
    // gives no finite number.
    std::function<void(const double* x, std::size_t count, double* y)> curve;

    bool fitted() const { return failure.empty(); }
};

// The least-squares fit of the model to the points: linear models by an
// orthogonal factorisation, the others by a trust-region solver from
// starting values found in the data (own equation: the values the student
// gave, 1 for the others).
CurveFit fitCurve(const std::vector<Point>& points, const ModelChoice& model);

// Sentences a failed fit gives, also for the straight line's own text.
namespace fit_failure {
inline constexpr const char* tooLarge = "the numbers are too large for a fit to be computed";
}
