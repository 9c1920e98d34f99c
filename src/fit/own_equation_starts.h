#pragma once

#include "fit/nonlinear_solver.h"
#include "fit/point.h"

#include <optional>
#include <string>
#include <vector>

// Starting values for an own equation found by the program, for when the
// student's lead to no fit.

// Values a parameter may take, scaled to the data: 1, the ranges of x and y
// and their reciprocals, the means and largest values of x and y, and powers
// of ten from 0.001 to 1000, each with both signs.
std::vector<double> candidateValues(const std::vector<Point>& points);

// Starting values worth a full fit, best first: each parameter in turn
// replaced by each candidate value (fewer of them when there are many
// parameters), the others as in `seed`, compared by a brief run of the
// solver on at most 200 of the points (the problem made from them by
// `problemOn`). A start that gives no number, or leaves a parameter without
// influence, is not worth one.
struct PromisingStart {
    std::vector<double> seed;    // the values tried
    std::vector<double> reached; // where the brief run from them stopped: the full fit starts here
    double score = 0;            // its sum of squares on the sample
};
std::vector<PromisingStart>
rankedReplacements(const std::vector<double>& seed, const std::vector<double>& candidates,
                   const std::function<NonlinearProblem(const std::vector<Point>&)>& problemOn,
                   const std::vector<Point>& points);

// Whether a parameter the data do not fix is tied to another by the
// equation: "A and B appear only as their product A·B; fix one of them or
// write one parameter" (or ratio A/B, or sum A + B), from the Jacobian at
// the parameters; nothing when it is not so tied.
std::optional<std::string> tiedParameters(const NonlinearProblem& problem,
                                          const std::vector<double>& parameters,
                                          const std::vector<std::string>& names, int dependent);
