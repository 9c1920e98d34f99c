#pragma once

#include <functional>
#include <vector>

// A nonlinear least-squares problem: the parameters that make the sum of
// squared residuals least. Residual i is (f(x_i) - y_i) / u_i for the model
// f, scaled by the point's uncertainty u_i (1 when unweighted).
struct NonlinearProblem {
    int points = 0;
    int parameters = 0;
    // residuals[i] for the parameter values; a point where the model gives
    // no finite number must give a NaN or an infinity.
    std::function<void(const double* parameters, double* residuals)> residuals;
    // The derivatives of the residuals, points × parameters row by row; left
    // empty, they are taken by finite differences.
    std::function<void(const double* parameters, double* jacobian)> jacobian;
};

struct NonlinearSolution {
    bool settled = false;
    std::vector<double> parameters;
    // (JᵀJ)⁻¹ at the solution, parameters × parameters row by row.
    std::vector<double> inverse;
    double residualSumOfSquares = 0;
    // A parameter the residuals do not depend on (given the others), or -1.
    int dependentParameter = -1;
};

inline constexpr int mostSolverSteps = 1000;

// Trust-region Levenberg-Marquardt (GSL), from the starting values; when it
// does not settle, geodesic acceleration and then a dogleg step, keeping
// the least sum of squares of those that settle.
NonlinearSolution solveNonlinearLeastSquares(const NonlinearProblem& problem,
                                             const std::vector<double>& start);

// A short run of the trust region (Levenberg-Marquardt, at most `steps`
// steps) from a start, for comparing starts: where it stopped, its sum of
// squares (infinite when it gives no number) and whether a parameter there
// leaves the residuals unchanged.
struct BriefRun {
    std::vector<double> parameters;
    double residualSumOfSquares = 0;
    bool dependent = false;
};
BriefRun runBriefly(const NonlinearProblem& problem, const std::vector<double>& start, int steps);

// The Jacobian of the residuals by central differences, points × parameters.
std::vector<double> centralDifferenceJacobian(const NonlinearProblem& problem,
                                              const std::vector<double>& at);
