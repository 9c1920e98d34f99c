#pragma once

#include <vector>

// The linear least-squares problem min |A p - y|: A has one row per point
// and one column per parameter, stored row by row.
struct LinearProblem {
    int rows = 0;
    int columns = 0;
    std::vector<long double> design; // rows × columns
    std::vector<long double> values; // rows
    // A column is taken as dependent when the part of it (scaled to unit
    // length) that the columns before it leave over is at most this.
    long double dependenceTolerance = 0; // 0: what extended precision resolves
};

// In extended precision, for the callers that carry the parameters on.
struct LinearSolution {
    std::vector<long double> parameters;
    // (AᵀA)⁻¹, columns × columns row by row: times s² it is the covariance.
    std::vector<long double> inverse;
    long double residualSumOfSquares = 0;
    // The first column that the ones before it already span (the data do not
    // fix its parameter), or -1.
    int dependentColumn = -1;
};

// Solves by Householder QR in extended precision, the columns scaled to unit
// length first, with one step of iterative refinement: an orthogonal method
// that keeps the ill-conditioned polynomial fits right, never the normal
// equations. Needs rows >= columns >= 1.
LinearSolution solveLinearLeastSquares(const LinearProblem& problem);
