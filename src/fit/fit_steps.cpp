#include "fit/fit_steps.h"

#include "fit/chi_squared.h"

#include <cmath>

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
