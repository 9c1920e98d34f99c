#pragma once

#include "fit/fit_steps.h"

// Fits the student's own equation (fit.model.equation, parameters named in
// it, x the variable) from the starting values given (1 for those not
// given). Where those lead to no fit (the solver does not settle, a
// parameter loses all influence, the equation gives no number there), it
// tries starting values of its own scaled to the data and keeps the best fit
// that settles, saying which starting values it used. A parameter that the
// equation ties to another (A*B*x: only the product A·B counts) is named
// with the reason.
void fitOwnEquation(CurveFit& fit, const std::vector<Point>& points, const Sigma& sigma);
