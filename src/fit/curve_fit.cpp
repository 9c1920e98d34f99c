#include "fit/curve_fit.h"

#include "fit/builtin_models.h"
#include "fit/fit_steps.h"
#include "fit/linear_models.h"
#include "fit/nonlinear_solver.h"
#include "fit/own_equation_fit.h"
#include "fit/starting_values.h"
#include "format/report_number.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

void fitLinear(CurveFit& fit, const std::vector<Point>& points, const Sigma& sigma)
{
    LinearModelFit linear = fitLinearModel(points, fit.model, sigma);
    if (linear.noNumberAt) {
        fit.failure = "the model gives no number at x = " + typedValue(*linear.noNumberAt);
        return;
    }
    if (linear.dependentParameter >= 0) {
        fit.failure = undetermined(fit.names[static_cast<std::size_t>(linear.dependentParameter)]);
        return;
    }
    fit.values = std::move(linear.values);
    fit.curve = std::move(linear.curve);
    completeStatistics(fit, points, linear.inverse, sigma);
}

// The covariance's (JᵀJ)⁻¹ carried through the map from the solver's
// parameters to the model's own: T C Tᵀ.
std::vector<double> carried(const std::vector<double>& inverse, const std::vector<double>& map,
                            std::size_t p)
{
    std::vector<double> result(p * p, 0);
    for (std::size_t i = 0; i < p; ++i)
        for (std::size_t j = 0; j < p; ++j)
            for (std::size_t k = 0; k < p; ++k)
                for (std::size_t l = 0; l < p; ++l)
                    result[i * p + j] += map[i * p + k] * inverse[k * p + l] * map[j * p + l];
    return result;
}

void fitNonlinearBuiltin(CurveFit& fit, const std::vector<Point>& points, const Sigma& sigma)
{
    const NonlinearModel model = NonlinearModel::of(fit.model.kind, points);
    const int p = model.parameterCount();
    NonlinearProblem problem =
        problemOf(points, p, sigma, [&points, model](const double* q, double* y) {
            for (std::size_t i = 0; i < points.size(); ++i)
                y[i] = model.value(q, points[i].x);
        });
    problem.jacobian = [&points, &sigma, model, p](const double* q, double* jacobian) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            double* row = jacobian + i * static_cast<std::size_t>(p);
            model.gradient(q, points[i].x, row);
            for (int k = 0; !sigma.empty() && k < p; ++k)
                row[k] /= sigma[i];
        }
    };
    const std::vector<double> start = startingValues(model, points);
    if (const int i = firstPointWithoutNumber(problem, start); i >= 0) {
        fit.failure =
            "the model gives no number at x = " + typedValue(points[static_cast<std::size_t>(i)].x);
        return;
    }
    const NonlinearSolution solution = solveNonlinearLeastSquares(problem, start);
    if (!solved(fit, solution))
        return;
    std::vector<double> map;
    fit.values = model.unshifted(solution.parameters, map);
    fit.curve = [model, q = solution.parameters](const double* x, std::size_t count, double* y) {
        for (std::size_t i = 0; i < count; ++i)
            y[i] = model.value(q.data(), x[i]);
    };
    completeStatistics(fit, points, carried(solution.inverse, map, static_cast<std::size_t>(p)),
                       sigma);
}

// The straight line keeps the sentences it has always given.
void sayItOfTheLine(CurveFit& fit)
{
    if (fit.points < 2)
        fit.failure = "a line needs at least two points; there " +
                      std::string(fit.points == 1 ? "is " : "are ") +
                      countOf(fit.points, "point", "points");
    else if (fit.failure == undetermined("m"))
        fit.failure = "all " + countOf(fit.points, "point", "points") +
                      " have the same x, so no line of the form y = m x + b fits them";
    else if (fit.failure == fit_failure::tooLarge)
        fit.failure = "the numbers are too large for a line to be computed";
}

// One least-squares fit, weighted by sigma unless it is empty.
CurveFit fitOnce(const std::vector<Point>& points, const ModelChoice& model, const Sigma& sigma)
{
    CurveFit fit;
    fit.model = model;
    fit.points = static_cast<int>(points.size());
    if (model.kind == ModelKind::None)
        return fit;
    if (model.kind == ModelKind::OwnEquation) {
        fitOwnEquation(fit, points, sigma);
        return fit;
    }
    fit.names = builtinParameterNames(model);
    const int p = static_cast<int>(fit.names.size());
    if (static_cast<int>(points.size()) < p) {
        fit.failure = tooFewPoints(static_cast<int>(points.size()), p);
        if (model.kind == ModelKind::Line)
            sayItOfTheLine(fit);
        return fit;
    }
    if (isNonlinearBuiltin(model.kind))
        fitNonlinearBuiltin(fit, points, sigma);
    else
        fitLinear(fit, points, sigma);
    if (model.kind == ModelKind::Line && !fit.fitted())
        sayItOfTheLine(fit);
    return fit;
}

// u² = u(y)² + (f'(x) u(x))² at each point, f' by central differences of
// the fitted curve; an uncertainty not given counts as 0.
Sigma effectiveSigma(const CurveFit& fit, const std::vector<Point>& points,
                     const FitUncertainties& given)
{
    Sigma sigma(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double uy = given.y.empty() || !(given.y[i] >= 0) ? 0 : given.y[i];
        const double ux = given.x.empty() || !(given.x[i] >= 0) ? 0 : given.x[i];
        double slope = 0;
        if (ux > 0 && fit.fitted()) {
            const double h = 1e-6 * std::max(std::fabs(points[i].x), ux);
            const double at[2] = {points[i].x - h, points[i].x + h};
            double values[2];
            fit.curve(at, 2, values);
            slope = (values[1] - values[0]) / (at[1] - at[0]);
        }
        sigma[i] = std::hypot(uy, std::isfinite(slope) ? slope * ux : 0);
    }
    return sigma;
}

std::string cannotBeWeighted(const Sigma& sigma)
{
    const auto zero = std::count_if(sigma.begin(), sigma.end(), [](double u) { return !(u > 0); });
    if (zero == 0)
        return {};
    return countOf(static_cast<int>(zero), "point has", "points have") +
           " a total uncertainty of 0 and cannot be weighted; the fit is unweighted";
}

bool settled(const CurveFit& before, const CurveFit& after)
{
    if (!before.fitted() || !after.fitted() || before.values.size() != after.values.size())
        return false;
    for (std::size_t k = 0; k < after.values.size(); ++k) {
        const double scale =
            std::fabs(after.values[k]) + (after.uncertainties.empty() ? 0 : after.uncertainties[k]);
        if (std::fabs(after.values[k] - before.values[k]) > 1e-9 * scale)
            return false;
    }
    return true;
}

} // namespace

CurveFit fitCurve(const std::vector<Point>& points, const ModelChoice& model,
                  const FitUncertainties& uncertainties)
{
    if (uncertainties.x.empty() && uncertainties.y.empty())
        return fitOnce(points, model, {});
    // Without x uncertainties one weighted fit; with them, passes that
    // re-weight from the last fit's slopes until the parameters settle.
    CurveFit fit = fitOnce(points, model, {});
    for (int pass = 0; pass < 20 && fit.fitted(); ++pass) {
        const Sigma sigma = effectiveSigma(fit, points, uncertainties);
        const std::string unweightable = cannotBeWeighted(sigma);
        if (!unweightable.empty()) {
            CurveFit unweighted = fitOnce(points, model, {});
            unweighted.weightingNote = unweightable;
            return unweighted;
        }
        ModelChoice next = model;
        if (model.kind == ModelKind::OwnEquation) // on from where the last pass ended
            for (std::size_t k = 0; k < fit.names.size(); ++k)
                next.starts[fit.names[k]] = fit.values[k];
        CurveFit weighted = fitOnce(points, next, sigma);
        const bool done = uncertainties.x.empty() || (pass > 0 && settled(fit, weighted));
        fit = std::move(weighted);
        if (done)
            break;
    }
    return fit;
}
