#pragma once

#include "fit/model.h"
#include "fit/point.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

// The models linear in their parameters: straight line, proportional,
// quadratic, polynomial and logarithm (a straight line in ln x).
bool isLinearModel(ModelKind kind);

struct LinearModelFit {
    // Why there is none: the model gives no number at a point's x (ln x for
    // x <= 0), or the data do not fix a parameter.
    std::optional<double> noNumberAt;
    int dependentParameter = -1;
    std::vector<double> values;  // in the model's order of parameters
    std::vector<double> inverse; // (AᵀA)⁻¹ in that order
    // The fitted curve at x: NaN where it gives no number.
    std::function<void(const double* x, std::size_t count, double* y)> curve;
};

// The least-squares fit, a polynomial in u = x (ln x for the logarithm).
// Around the middle of the data, t = u - mean(u), and with y less its mean,
// so that the columns are near orthogonal and clock times do not cancel;
// the coefficients of the powers of t are then carried to those of u.
// Proportional y = A x has no intercept and is fitted as it stands.
// Weighted by sigma (each row divided by its point's uncertainty) unless it
// is empty.
LinearModelFit fitLinearModel(const std::vector<Point>& points, const ModelChoice& model,
                              const std::vector<double>& sigma = {});
