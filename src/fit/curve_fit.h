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
    // Each parameter's unit ("°C/s"), empty where it has none; empty when
    // the headers give no units.
    std::vector<std::string> units;
    // Standard uncertainties (one standard deviation) from the covariance
    // scaled by SSE/(n - p); empty when there are as many points as
    // parameters.
    std::vector<double> uncertainties;
    // The parameters' covariance matrix, parameters × parameters row by row,
    // scaled as the uncertainties are (their squares on its diagonal); empty
    // when they are.
    std::vector<double> covariance;
    int points = 0;
    int degreesOfFreedom = 0;
    double residualSumOfSquares = 0;
    std::optional<double> residualStandardDeviation; // sqrt(SSE/(n - p))
    std::optional<double> rSquared;                  // 1 - SSE/Syy; none when all y are equal
    // With uncertainties: the fit minimised χ² and the parameters'
    // uncertainties come from the given ones (not scaled by the reduced χ²).
    bool weighted = false;
    std::optional<double> chiSquared;
    std::optional<double> pValue; // of a χ² at least this large; none without degrees of freedom
    // Why the fit is unweighted although uncertainties were given; empty
    // otherwise.
    std::string weightingNote;
    // The starting values the program found for an own equation when the
    // student's led to no fit, and why; empty otherwise.
    std::string startNote;
    // The fitted curve at `count` values of x at once: NaN or ±inf where it
    // gives no finite number.
    std::function<void(const double* x, std::size_t count, double* y)> curve;

    bool fitted() const { return failure.empty(); }
};

// The measurements' standard uncertainties, one per point (NaN where a point
// has none); either may be empty when not given.
struct FitUncertainties {
    std::vector<double> x;
    std::vector<double> y;
};

// The least-squares fit of the model to the points: linear models by an
// orthogonal factorisation, the others by a trust-region solver from
// starting values found in the data (own equation: the values the student
// gave, 1 for the others). With uncertainties it minimises
// χ² = Σ ((y - f(x)) / u)², u² = u(y)² + (f'(x) u(x))² (the effective
// variance, re-weighted until the parameters settle, when x has
// uncertainties); a point whose u is 0, or not given, makes it unweighted.
CurveFit fitCurve(const std::vector<Point>& points, const ModelChoice& model,
                  const FitUncertainties& uncertainties = {});

// Sentences a failed fit gives, also for the straight line's own text.
namespace fit_failure {
inline constexpr const char* tooLarge = "the numbers are too large for a fit to be computed";
}
