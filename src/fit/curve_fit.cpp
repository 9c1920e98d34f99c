#include "fit/curve_fit.h"

#include "fit/builtin_models.h"
#include "fit/chi_squared.h"
#include "fit/linear_models.h"
#include "fit/nonlinear_solver.h"
#include "fit/starting_values.h"
#include "format/report_number.h"
#include "formula/equation.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

std::string countOf(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string tooFewPoints(int points, int parameters)
{
    return countOf(points, "point", "points") + " cannot fix " +
           countOf(parameters, "parameter", "parameters");
}

std::string undetermined(const std::string& name)
{
    return name + " cannot be determined from these data (the data do not depend on it)";
}

// The uncertainty of each point a fit is weighted with; empty: unweighted.
using Sigma = std::vector<double>;

// The parts every fit shares once its parameters are known. Unweighted, the
// covariance is scaled by SSE/(n - p); weighted, it stands as it is and χ²
// is Σ (r/u)².
void completeStatistics(CurveFit& fit, const std::vector<Point>& points,
                        const std::vector<double>& inverse, const Sigma& sigma)
{
    const std::size_t n = points.size(), p = fit.values.size();
    std::vector<double> y(n), x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = points[i].x;
    fit.curve(x.data(), n, y.data());
    long double sse = 0, chiSquared = 0, meanY = 0, syy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const long double r = static_cast<long double>(points[i].y) - y[i];
        sse += r * r;
        if (!sigma.empty())
            chiSquared += (r / sigma[i]) * (r / sigma[i]);
        meanY += points[i].y;
    }
    meanY /= static_cast<long double>(n);
    for (const Point& point : points)
        syy += (point.y - meanY) * (point.y - meanY);
    fit.points = static_cast<int>(n);
    fit.degreesOfFreedom = static_cast<int>(n - p);
    fit.residualSumOfSquares = static_cast<double>(sse);
    if (syy > 0)
        fit.rSquared = static_cast<double>(1 - sse / syy);
    if (fit.degreesOfFreedom > 0)
        fit.residualStandardDeviation = static_cast<double>(std::sqrt(sse / fit.degreesOfFreedom));
    fit.weighted = !sigma.empty();
    if (fit.weighted) {
        fit.chiSquared = static_cast<double>(chiSquared);
        if (fit.degreesOfFreedom > 0)
            fit.pValue = chiSquaredProbability(*fit.chiSquared, fit.degreesOfFreedom);
    }
    if (fit.weighted || fit.degreesOfFreedom > 0) {
        const long double scale = fit.weighted ? 1 : sse / fit.degreesOfFreedom;
        for (std::size_t k = 0; k < p; ++k)
            fit.uncertainties.push_back(
                static_cast<double>(std::sqrt(std::fabs(inverse[k * p + k]) * scale)));
        for (const double element : inverse)
            fit.covariance.push_back(static_cast<double>(element * scale));
    }
    bool finite = std::isfinite(fit.residualSumOfSquares) &&
                  (!fit.chiSquared || std::isfinite(*fit.chiSquared));
    for (const double value : fit.values)
        finite = finite && std::isfinite(value);
    for (const double value : fit.uncertainties)
        finite = finite && std::isfinite(value);
    if (!finite)
        fit.failure = fit_failure::tooLarge;
}

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

// The residuals (f(x_i) - y_i) / u_i of a model given as "the curve at these
// x" (u_i = 1 unweighted).
NonlinearProblem problemOf(const std::vector<Point>& points, int parameters, const Sigma& sigma,
                           std::function<void(const double*, double*)> modelAtPoints)
{
    NonlinearProblem problem;
    problem.points = static_cast<int>(points.size());
    problem.parameters = parameters;
    problem.residuals = [&points, &sigma, modelAtPoints](const double* q, double* r) {
        modelAtPoints(q, r);
        for (std::size_t i = 0; i < points.size(); ++i) {
            r[i] -= points[i].y;
            if (!sigma.empty())
                r[i] /= sigma[i];
        }
    };
    return problem;
}

// The first point where the residuals at the start are not finite, or -1.
int firstPointWithoutNumber(const NonlinearProblem& problem, const std::vector<double>& start)
{
    std::vector<double> r(static_cast<std::size_t>(problem.points));
    problem.residuals(start.data(), r.data());
    for (std::size_t i = 0; i < r.size(); ++i)
        if (!std::isfinite(r[i]))
            return static_cast<int>(i);
    return -1;
}

bool solved(CurveFit& fit, const NonlinearSolution& solution)
{
    if (!solution.settled) {
        fit.failure = "the fit did not settle in " + std::to_string(mostSolverSteps) +
                      " steps; try starting values closer to the data";
        return false;
    }
    if (solution.dependentParameter >= 0) {
        fit.failure =
            undetermined(fit.names[static_cast<std::size_t>(solution.dependentParameter)]);
        return false;
    }
    return true;
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

// The own equation with its parameters bound to values and x to points.
class BoundEquation {
public:
    explicit BoundEquation(Equation equation) : equation_(std::move(equation))
    {
        const std::vector<std::string>& names = equation_.names();
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (names[k] == "x")
                xName_ = static_cast<int>(k);
            else
                parameterNames_.push_back(k);
        }
    }

    std::vector<std::string> parameters() const
    {
        std::vector<std::string> names;
        for (const std::size_t k : parameterNames_)
            names.push_back(equation_.names()[k]);
        return names;
    }

    void evaluate(const double* q, const double* x, std::size_t count, double* y)
    {
        for (std::size_t k = 0; k < parameterNames_.size(); ++k) {
            double* values = equation_.values(parameterNames_[k], count);
            std::fill(values, values + count, q[k]);
        }
        if (xName_ >= 0) {
            double* values = equation_.values(static_cast<std::size_t>(xName_), count);
            std::copy(x, x + count, values);
        }
        equation_.evaluate(count, y);
    }

private:
    Equation equation_;
    int xName_ = -1;
    std::vector<std::size_t> parameterNames_;
};

void fitOwnEquation(CurveFit& fit, const std::vector<Point>& points, const Sigma& sigma)
{
    auto read = Equation::read(fit.model.equation);
    if (const auto* error = std::get_if<EquationError>(&read)) {
        fit.failure = "the equation cannot be read at character " +
                      std::to_string(error->character) + ": " + error->reason;
        return;
    }
    auto equation = std::make_shared<BoundEquation>(std::move(std::get<Equation>(read)));
    fit.names = equation->parameters();
    const int p = static_cast<int>(fit.names.size());
    if (p == 0) {
        fit.failure = "the equation has no parameter to fit";
        return;
    }
    if (static_cast<int>(points.size()) < p) {
        fit.failure = tooFewPoints(static_cast<int>(points.size()), p);
        return;
    }
    std::vector<double> x;
    for (const Point& point : points)
        x.push_back(point.x);
    const NonlinearProblem problem =
        problemOf(points, p, sigma, [equation, x](const double* q, double* y) {
            equation->evaluate(q, x.data(), x.size(), y);
        });
    std::vector<double> start;
    for (const std::string& name : fit.names) {
        const auto given = fit.model.starts.find(name);
        start.push_back(given == fit.model.starts.end() ? 1.0 : given->second);
    }
    if (const int i = firstPointWithoutNumber(problem, start); i >= 0) {
        fit.failure = "the equation gives no number at x = " +
                      typedValue(points[static_cast<std::size_t>(i)].x) +
                      " with these parameter values";
        return;
    }
    const NonlinearSolution solution = solveNonlinearLeastSquares(problem, start);
    if (!solved(fit, solution))
        return;
    fit.values = solution.parameters;
    fit.curve = [equation, q = solution.parameters](const double* xs, std::size_t count,
                                                    double* y) {
        equation->evaluate(q.data(), xs, count, y);
    };
    completeStatistics(fit, points, solution.inverse, sigma);
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
