#include "fit/nonlinear_solver.h"

#include "fit/linear_least_squares.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// A trial step whose model gives no finite number gets residuals this
// large, so that the trust region turns it down instead of failing.
constexpr double rejectedResidual = 1e100;
constexpr long double jacobianDependence = 1e-9L;

struct Callbacks {
    const NonlinearProblem& problem;
    std::vector<double> parameters;
    std::vector<double> residuals;
};

// GSL may ask for the residuals into a column of its finite-difference
// Jacobian, a vector whose elements are not next to each other.
int residualsOf(const gsl_vector* x, void* data, gsl_vector* f)
{
    auto& callbacks = *static_cast<Callbacks*>(data);
    callbacks.parameters.assign(x->data, x->data + x->size);
    callbacks.residuals.resize(f->size);
    callbacks.problem.residuals(callbacks.parameters.data(), callbacks.residuals.data());
    for (std::size_t i = 0; i < f->size; ++i) {
        const double r = callbacks.residuals[i];
        gsl_vector_set(f, i, std::isfinite(r) ? r : rejectedResidual);
    }
    return GSL_SUCCESS;
}

int jacobianOf(const gsl_vector* x, void* data, gsl_matrix* j)
{
    auto& callbacks = *static_cast<Callbacks*>(data);
    callbacks.parameters.assign(x->data, x->data + x->size);
    std::vector<double> values(j->size1 * j->size2);
    callbacks.problem.jacobian(callbacks.parameters.data(), values.data());
    for (std::size_t r = 0; r < j->size1; ++r)
        for (std::size_t c = 0; c < j->size2; ++c) {
            const double value = values[r * j->size2 + c];
            gsl_matrix_set(j, r, c, std::isfinite(value) ? value : 0);
        }
    return GSL_SUCCESS;
}

double sumOfSquares(const NonlinearProblem& problem, const std::vector<double>& parameters)
{
    std::vector<double> r(static_cast<std::size_t>(problem.points));
    problem.residuals(parameters.data(), r.data());
    long double sum = 0;
    for (const double value : r)
        sum += static_cast<long double>(value) * value;
    return static_cast<double>(sum);
}

// Whether the gradient Jᵀr of the sum of squares vanishes at the solver's
// position, as far as the sizes of J and r let one tell.
bool flatAt(gsl_multifit_nlinear_workspace* workspace)
{
    const gsl_matrix* j = gsl_multifit_nlinear_jac(workspace);
    const gsl_vector* r = gsl_multifit_nlinear_residual(workspace);
    double largestGradient = 0, jacobianNorm = 0, residualNorm = 0;
    for (std::size_t i = 0; i < r->size; ++i)
        residualNorm = std::hypot(residualNorm, gsl_vector_get(r, i));
    for (std::size_t k = 0; k < j->size2; ++k) {
        double gradient = 0;
        for (std::size_t i = 0; i < j->size1; ++i) {
            gradient += gsl_matrix_get(j, i, k) * gsl_vector_get(r, i);
            jacobianNorm = std::hypot(jacobianNorm, gsl_matrix_get(j, i, k));
        }
        largestGradient = std::max(largestGradient, std::fabs(gradient));
    }
    return std::isfinite(largestGradient) && largestGradient <= 1e-6 * jacobianNorm * residualNorm;
}

struct Attempt {
    bool settled = false;
    std::vector<double> parameters;
};

Attempt runTrustRegion(const NonlinearProblem& problem, const std::vector<double>& start,
                       const gsl_multifit_nlinear_trs* method, gsl_multifit_nlinear_fdtype fdtype,
                       int steps)
{
    Callbacks callbacks{problem, {}, {}};
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = residualsOf;
    fdf.df = problem.jacobian ? jacobianOf : nullptr;
    fdf.fvv = nullptr;
    fdf.n = static_cast<std::size_t>(problem.points);
    fdf.p = static_cast<std::size_t>(problem.parameters);
    fdf.params = &callbacks;

    gsl_multifit_nlinear_parameters parameters = gsl_multifit_nlinear_default_parameters();
    parameters.trs = method;
    parameters.fdtype = fdtype;
    const std::unique_ptr<gsl_multifit_nlinear_workspace, void (*)(gsl_multifit_nlinear_workspace*)>
        workspace(gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &parameters, fdf.n, fdf.p),
                  gsl_multifit_nlinear_free);
    if (!workspace)
        return {};
    gsl_vector_const_view x0 = gsl_vector_const_view_array(start.data(), start.size());
    if (gsl_multifit_nlinear_init(&x0.vector, &fdf, workspace.get()) != GSL_SUCCESS)
        return {};
    const double tolerance = std::pow(std::numeric_limits<double>::epsilon(), 0.9);
    int info = 0;
    const int status =
        gsl_multifit_nlinear_driver(static_cast<std::size_t>(steps), tolerance, tolerance, 0.0,
                                    nullptr, nullptr, &info, workspace.get());
    const gsl_vector* x = gsl_multifit_nlinear_position(workspace.get());
    Attempt attempt;
    attempt.parameters.assign(x->data, x->data + x->size);
    // No step at all from the start: settled when the start is the minimum
    // already (the sum of squares flat there), not when the solver is stuck.
    const bool noStepFromTheStart =
        status == GSL_EMAXITER && info == GSL_ENOPROG && flatAt(workspace.get());
    attempt.settled = status == GSL_SUCCESS || status == GSL_ENOPROG || noStepFromTheStart;
    for (const double value : attempt.parameters)
        attempt.settled = attempt.settled && std::isfinite(value);
    return attempt;
}

std::vector<double> jacobianAt(const NonlinearProblem& problem, const std::vector<double>& at)
{
    if (!problem.jacobian)
        return centralDifferenceJacobian(problem, at);
    std::vector<double> jacobian(static_cast<std::size_t>(problem.points * problem.parameters));
    problem.jacobian(at.data(), jacobian.data());
    return jacobian;
}

// A few Gauss-Newton steps from the minimum the trust region found, each
// solved by QR in extended precision, kept while they lower the sum of
// squares: the last digits that the solver's tolerances leave.
void refineByGaussNewton(const NonlinearProblem& problem, NonlinearSolution& solution)
{
    const std::size_t n = static_cast<std::size_t>(problem.points);
    std::vector<double> r(n);
    for (int step = 0; step < 5; ++step) {
        LinearProblem linearised;
        linearised.rows = problem.points;
        linearised.columns = problem.parameters;
        const std::vector<double> jacobian = jacobianAt(problem, solution.parameters);
        linearised.design.assign(jacobian.begin(), jacobian.end());
        problem.residuals(solution.parameters.data(), r.data());
        for (const double value : r)
            linearised.values.push_back(-static_cast<long double>(value));
        const LinearSolution correction = solveLinearLeastSquares(linearised);
        if (correction.dependentColumn >= 0)
            return;
        std::vector<double> trial = solution.parameters;
        for (std::size_t k = 0; k < trial.size(); ++k)
            trial[k] += static_cast<double>(correction.parameters[k]);
        const double sse = sumOfSquares(problem, trial);
        if (!(sse < solution.residualSumOfSquares))
            return;
        solution.parameters = trial;
        solution.residualSumOfSquares = sse;
    }
}

// The Jacobian at the parameters factorised: (JᵀJ)⁻¹ and the first column
// the others already span.
LinearSolution jacobianFactorised(const NonlinearProblem& problem,
                                  const std::vector<double>& parameters)
{
    LinearProblem linearised;
    linearised.rows = problem.points;
    linearised.columns = problem.parameters;
    const std::vector<double> jacobian = jacobianAt(problem, parameters);
    linearised.design.assign(jacobian.begin(), jacobian.end());
    linearised.values.assign(static_cast<std::size_t>(problem.points), 0);
    linearised.dependenceTolerance = jacobianDependence;
    return solveLinearLeastSquares(linearised);
}

// The settled parameters placed to their last digits, with the sum of
// squares, (JᵀJ)⁻¹ and any parameter the data do not fix.
NonlinearSolution completed(const NonlinearProblem& problem, const std::vector<double>& settled)
{
    NonlinearSolution solution;
    solution.settled = true;
    solution.parameters = settled;
    solution.residualSumOfSquares = sumOfSquares(problem, settled);
    if (!problem.jacobian) {
        // Forward differences found the minimum; central ones place it better.
        const Attempt polished = runTrustRegion(problem, settled, gsl_multifit_nlinear_trs_lm,
                                                GSL_MULTIFIT_NLINEAR_CTRDIFF, 100);
        const double sse = sumOfSquares(problem, polished.parameters);
        if (polished.settled && sse <= solution.residualSumOfSquares) {
            solution.parameters = polished.parameters;
            solution.residualSumOfSquares = sse;
        }
    }
    refineByGaussNewton(problem, solution);

    const LinearSolution inverse = jacobianFactorised(problem, solution.parameters);
    solution.inverse.assign(inverse.inverse.begin(), inverse.inverse.end());
    solution.dependentParameter = inverse.dependentColumn;
    return solution;
}

} // namespace

std::vector<double> centralDifferenceJacobian(const NonlinearProblem& problem,
                                              const std::vector<double>& at)
{
    const std::size_t n = static_cast<std::size_t>(problem.points);
    const std::size_t p = static_cast<std::size_t>(problem.parameters);
    std::vector<double> jacobian(n * p), above(n), below(n);
    std::vector<double> shifted = at;
    const double relative = std::cbrt(std::numeric_limits<double>::epsilon());
    for (std::size_t k = 0; k < p; ++k) {
        const double h = relative * (at[k] == 0 ? 1 : std::fabs(at[k]));
        shifted[k] = at[k] + h;
        problem.residuals(shifted.data(), above.data());
        shifted[k] = at[k] - h;
        problem.residuals(shifted.data(), below.data());
        shifted[k] = at[k];
        const double step = (at[k] + h) - (at[k] - h);
        for (std::size_t i = 0; i < n; ++i)
            jacobian[i * p + k] = (above[i] - below[i]) / step;
    }
    return jacobian;
}

BriefRun runBriefly(const NonlinearProblem& problem, const std::vector<double>& start, int steps)
{
    gsl_set_error_handler_off();
    const Attempt attempt = runTrustRegion(problem, start, gsl_multifit_nlinear_trs_lm,
                                           GSL_MULTIFIT_NLINEAR_FWDIFF, steps);
    BriefRun run{attempt.parameters.empty() ? start : attempt.parameters,
                 std::numeric_limits<double>::infinity(), false};
    const double sse = sumOfSquares(problem, run.parameters);
    if (!std::isfinite(sse))
        return run;
    run.residualSumOfSquares = sse;
    run.dependent = jacobianFactorised(problem, run.parameters).dependentColumn >= 0;
    return run;
}

NonlinearSolution solveNonlinearLeastSquares(const NonlinearProblem& problem,
                                             const std::vector<double>& start)
{
    gsl_set_error_handler_off();
    NonlinearSolution best;
    best.parameters = start;
    // A method may settle where a parameter no longer matters (a rate run
    // off to where e^(-B x) is 0): the next one may do better from the start.
    for (const gsl_multifit_nlinear_trs* method :
         {gsl_multifit_nlinear_trs_lm, gsl_multifit_nlinear_trs_lmaccel,
          gsl_multifit_nlinear_trs_ddogleg}) {
        const Attempt attempt =
            runTrustRegion(problem, start, method, GSL_MULTIFIT_NLINEAR_FWDIFF, mostSolverSteps);
        if (!attempt.settled)
            continue;
        const NonlinearSolution solution = completed(problem, attempt.parameters);
        if (!std::isfinite(solution.residualSumOfSquares))
            continue;
        const bool better = !best.settled ||
                            (best.dependentParameter >= 0 && solution.dependentParameter < 0) ||
                            ((best.dependentParameter >= 0) == (solution.dependentParameter >= 0) &&
                             solution.residualSumOfSquares < best.residualSumOfSquares);
        if (better)
            best = solution;
        if (best.dependentParameter < 0)
            break;
    }
    return best;
}
