#pragma once

// The steps every kind of fit shares: its sentences, the problem a
// nonlinear fit hands the solver, and the statistics of a fit once its
// parameters are known.

#include "fit/curve_fit.h"
#include "fit/nonlinear_solver.h"

#include <functional>
#include <string>
#include <vector>

// "1 point", "3 points".
std::string countOf(int n, const char* one, const char* many);

// "2 points cannot fix 3 parameters".
std::string tooFewPoints(int points, int parameters);

// "k cannot be determined from these data (the data do not depend on it)".
std::string undetermined(const std::string& name);

// The uncertainty of each point a fit is weighted with; empty: unweighted.
using Sigma = std::vector<double>;

// The parts every fit shares once its parameters are known. Unweighted, the
// covariance is scaled by SSE/(n - p); weighted, it stands as it is and χ²
// is Σ (r/u)².
void completeStatistics(CurveFit& fit, const std::vector<Point>& points,
                        const std::vector<double>& inverse, const Sigma& sigma);

// The residuals (f(x_i) - y_i) / u_i of a model given as "the curve at these
// x" (u_i = 1 unweighted). The points and sigma must outlive the problem.
NonlinearProblem problemOf(const std::vector<Point>& points, int parameters, const Sigma& sigma,
                           std::function<void(const double*, double*)> modelAtPoints);

// The first point where the residuals at the start are not finite, or -1.
int firstPointWithoutNumber(const NonlinearProblem& problem, const std::vector<double>& start);

// Whether the solver settled with every parameter fixed by the data; sets
// the fit's failure when not.
bool solved(CurveFit& fit, const NonlinearSolution& solution);
