#pragma once

#include "formula/equation.h"

#include <vector>

// A formula's value at its inputs' values and the standard uncertainty
// carried to it by the law of propagation of uncertainty (first order:
// u(f)² = gᵀ C g, g the gradient of f and C the inputs' covariance). NaN
// where there is no number: the formula gives none, or its gradient has
// none (√x at 0).
struct Propagated {
    double value = 0;
    double uncertainty = 0;
    // ∂f/∂x_k for each input (automatic differentiation, exact up to
    // rounding).
    std::vector<double> gradient;
};

// Inputs taken as independent: uncertainties[k] is the standard uncertainty
// of name k of the formula (0 for an exact input, as the row number).
Propagated propagateIndependent(Equation& formula, const std::vector<double>& values,
                                const std::vector<double>& uncertainties);

// Correlated inputs: covariance is names × names, row by row.
Propagated propagateCorrelated(Equation& formula, const std::vector<double>& values,
                               const std::vector<double>& covariance);

// Whether the first-order rule describes the formula within ± u of each
// input: for every input k with an uncertainty, f at x_k ± u_k lies within
// a tenth of u(f) of the straight line f ± (∂f/∂x_k) u_k. Where it does not
// (x = 0 ± 10 and x²: the rule gives u = 0, yet x² reaches 100), or f gives
// no number there, the propagated uncertainty misrepresents the spread.
// `propagated` is what propagateIndependent gave for these inputs.
bool firstOrderHolds(Equation& formula, const std::vector<double>& values,
                     const std::vector<double>& uncertainties, const Propagated& propagated);
