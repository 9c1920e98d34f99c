#pragma once

#include "fit/model.h"
#include "fit/point.h"

#include <vector>

// The built-in models that are not linear in their parameters: exponential,
// exponential with offset, power, sine and Gaussian. They are fitted in the
// variable t = x - shift, with the shift at the middle of the data, so that
// clock times (x of 36000 s and more) neither overflow e^(B x) nor tie A to
// B; the parameters are then carried back to x.
struct NonlinearModel {
    ModelKind kind = ModelKind::Exponential;
    double shift = 0;

    static NonlinearModel of(ModelKind kind, const std::vector<Point>& points);

    int parameterCount() const;
    // The model at x for the shifted parameters q.
    double value(const double* q, double x) const;
    // Its derivatives by each of the shifted parameters.
    void gradient(const double* q, double x, double* derivatives) const;
    // The model's own parameters for the shifted ones, and the derivatives
    // of that map (parameters × parameters, row by row) for the covariance.
    std::vector<double> unshifted(const std::vector<double>& q,
                                  std::vector<double>& derivatives) const;
};

// Whether the kind is one of those above.
bool isNonlinearBuiltin(ModelKind kind);
