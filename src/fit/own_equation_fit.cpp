#include "fit/own_equation_fit.h"

#include "fit/own_equation_starts.h"
#include "format/report_number.h"
#include "formula/equation.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr std::size_t fullFitsPerRound = 2;
// The program looks for starting values of its own for equations of this
// many parameters at most: with more, the search would take too long.
constexpr int mostSearchedParameters = 6;

// The own equation with its parameters bound to values and x to points.
class BoundEquation {
public:
    BoundEquation(Equation equation, const std::string& xName) : equation_(std::move(equation))
    {
        const std::vector<std::string>& names = equation_.names();
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (names[k] == "x" || (!xName.empty() && names[k] == xName))
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

// The problem of fitting the equation to some points.
NonlinearProblem problemFor(const std::shared_ptr<BoundEquation>& equation,
                            const std::vector<Point>& points, int parameters, const Sigma& sigma)
{
    std::vector<double> x;
    for (const Point& point : points)
        x.push_back(point.x);
    return problemOf(points, parameters, sigma,
                     [equation, x = std::move(x)](const double* q, double* y) {
                         equation->evaluate(q, x.data(), x.size(), y);
                     });
}

bool good(const NonlinearSolution& solution)
{
    return solution.settled && solution.dependentParameter < 0;
}

// "T0 = 20, A = 60, k = 0.001111": four significant digits, no trailing zeros.
std::string startsText(const std::vector<std::string>& names, const std::vector<double>& values)
{
    std::string text;
    for (std::size_t k = 0; k < names.size(); ++k) {
        std::string value = significantValue(values[k]);
        if (value.find('.') != std::string::npos && value.find(" × ") == std::string::npos) {
            value.erase(value.find_last_not_of('0') + 1);
            if (value.back() == '.')
                value.pop_back();
        }
        text += (k == 0 ? "" : ", ") + names[k] + " = " + value;
    }
    return text;
}

// What the starting values given led to, for the note.
std::string whatTheGivenLedTo(const std::optional<NonlinearSolution>& fromGiven,
                              const std::vector<std::string>& names)
{
    if (!fromGiven)
        return "the equation gave no number";
    if (!fromGiven->settled)
        return "the fit did not settle";
    return names[static_cast<std::size_t>(fromGiven->dependentParameter)] +
           " had no influence on the curve";
}

// "x runs from 0 to 900 and y from 21.2 to 80.1".
std::string rangesOf(const std::vector<Point>& points)
{
    const auto [lowX, highX] = std::minmax_element(
        points.begin(), points.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    const auto [lowY, highY] = std::minmax_element(
        points.begin(), points.end(), [](const Point& a, const Point& b) { return a.y < b.y; });
    return "x runs from " + typedValue(lowX->x) + " to " + typedValue(highX->x) + " and y from " +
           typedValue(lowY->y) + " to " + typedValue(highY->y);
}

// The sentence when no start led to a fit.
std::string noFitFromAnyStart(const std::optional<NonlinearSolution>& fromGiven,
                              const std::vector<std::string>& names,
                              const std::vector<Point>& points)
{
    if (fromGiven && fromGiven->settled)
        return undetermined(names[static_cast<std::size_t>(fromGiven->dependentParameter)]);
    return "the fit did not settle from the starting values given nor from those the program "
           "tried; give starting values near the ones you expect (" +
           rangesOf(points) + ")";
}

struct FoundFit {
    std::vector<double> start;
    NonlinearSolution solution;
};

// What a solution leaves of the data's spread around their mean, weighted
// as the fit is: 1 - R², 0 for a curve through every point; 1 for data that
// do not spread.
double unexplainedShare(const std::vector<Point>& points, const Sigma& sigma, double leftOver)
{
    double weights = 0, weightedSum = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double w = sigma.empty() ? 1 : 1 / (sigma[i] * sigma[i]);
        weights += w;
        weightedSum += w * points[i].y;
    }
    const double mean = weightedSum / weights;
    double spread = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double r = (points[i].y - mean) / (sigma.empty() ? 1 : sigma[i]);
        spread += r * r;
    }
    return spread > 0 ? leftOver / spread : 1;
}

// Whether a parameter acts on only a few of the rows at the solution: its
// column of the Jacobian reaches a thousandth of its largest value on fewer
// rows than there are parameters, or on less than a tenth of the rows (k = 1
// in e^(-k x) with x up to 900 acts on the first row alone).
bool actsOnFewRows(const NonlinearProblem& problem, const std::vector<double>& parameters)
{
    const std::vector<double> jacobian = centralDifferenceJacobian(problem, parameters);
    const auto n = static_cast<std::size_t>(problem.points);
    const auto p = static_cast<std::size_t>(problem.parameters);
    const std::size_t fewest = std::max(p + 1, n / 10);
    for (std::size_t k = 0; k < p; ++k) {
        double largest = 0;
        for (std::size_t i = 0; i < n; ++i)
            largest = std::max(largest, std::fabs(jacobian[i * p + k]));
        std::size_t rows = 0;
        for (std::size_t i = 0; i < n; ++i)
            rows += std::fabs(jacobian[i * p + k]) > largest * 1e-3;
        if (!(largest > 0) || rows < fewest)
            return true;
    }
    return false;
}

// A fit from the starting values given that may be a poor one: it leaves
// much of the data unexplained, or a parameter acts on a few rows only.
bool doubtful(const NonlinearProblem& problem, const std::vector<Point>& points, const Sigma& sigma,
              const NonlinearSolution& solution)
{
    constexpr double largestUnexplained = 0.1; // R² below 0.9
    return unexplainedShare(points, sigma, solution.residualSumOfSquares) > largestUnexplained ||
           actsOnFewRows(problem, solution.parameters);
}

// "R² = 0.218": as the fit text would say it.
std::string rSquaredOf(const std::vector<Point>& points, const Sigma& sigma, double leftOver)
{
    return "R² " + rSquaredRelation(1 - unexplainedShare(points, sigma, leftOver));
}

// The best fit that settles from starting values the program finds: the
// given ones with one value replaced, then, if none of the best of those
// leads to a fit, with a second one replaced.
std::optional<FoundFit> fitFromStartsOfItsOwn(const std::shared_ptr<BoundEquation>& equation,
                                              const std::vector<Point>& points,
                                              const NonlinearProblem& problem,
                                              const std::vector<double>& given)
{
    // Starts are compared unweighted: they need only come near the minimum.
    static const Sigma unweighted;
    const auto problemOn = [&equation, p = problem.parameters](const std::vector<Point>& sample) {
        return problemFor(equation, sample, p, unweighted);
    };
    const std::vector<double> candidates = candidateValues(points);
    std::vector<double> seed = given;
    for (int round = 0; round < 2; ++round) {
        const std::vector<PromisingStart> ranked =
            rankedReplacements(seed, candidates, problemOn, points);
        std::optional<FoundFit> best;
        for (std::size_t i = 0; i < std::min<std::size_t>(ranked.size(), fullFitsPerRound); ++i) {
            if (firstPointWithoutNumber(problem, ranked[i].reached) >= 0)
                continue;
            const NonlinearSolution solution =
                solveNonlinearLeastSquares(problem, ranked[i].reached);
            if (good(solution) &&
                (!best || solution.residualSumOfSquares < best->solution.residualSumOfSquares))
                best = FoundFit{ranked[i].seed, solution};
        }
        if (best || ranked.empty())
            return best;
        seed = ranked.front().seed;
    }
    return std::nullopt;
}

} // namespace

void fitOwnEquation(CurveFit& fit, const std::vector<Point>& points, const Sigma& sigma)
{
    auto read = Equation::read(fit.model.equation);
    if (const auto* error = std::get_if<EquationError>(&read)) {
        fit.failure = "the equation cannot be read at character " +
                      std::to_string(error->character) + ": " + error->reason;
        return;
    }
    auto equation =
        std::make_shared<BoundEquation>(std::move(std::get<Equation>(read)), fit.model.xName);
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
    const NonlinearProblem problem = problemFor(equation, points, p, sigma);
    std::vector<double> start;
    for (const std::string& name : fit.names) {
        const auto given = fit.model.starts.find(name);
        start.push_back(given == fit.model.starts.end() ? 1.0 : given->second);
    }
    const int withoutNumber = firstPointWithoutNumber(problem, start);
    std::optional<NonlinearSolution> fromGiven;
    if (withoutNumber < 0)
        fromGiven = solveNonlinearLeastSquares(problem, start);
    NonlinearSolution solution;
    if (fromGiven && good(*fromGiven)) {
        solution = *fromGiven;
        // A fit that settled may still be a poor one: the program's own
        // starts are tried too, and the better fit kept.
        const std::optional<FoundFit> found =
            p <= mostSearchedParameters && doubtful(problem, points, sigma, solution)
                ? fitFromStartsOfItsOwn(equation, points, problem, start)
                : std::nullopt;
        constexpr double clearlyLess = 1 - 1e-6;
        if (found &&
            found->solution.residualSumOfSquares < solution.residualSumOfSquares * clearlyLess) {
            fit.startNote =
                "starting values found by the program: " + startsText(fit.names, found->start) +
                " (from those given, the fit reached only " +
                rSquaredOf(points, sigma, solution.residualSumOfSquares) + ")";
            solution = found->solution;
        }
    } else {
        if (fromGiven && fromGiven->settled) {
            // A tie the equation makes holds from every start.
            if (const auto tie = tiedParameters(problem, fromGiven->parameters, fit.names,
                                                fromGiven->dependentParameter)) {
                fit.failure = *tie;
                return;
            }
        }
        const std::optional<FoundFit> found =
            p <= mostSearchedParameters ? fitFromStartsOfItsOwn(equation, points, problem, start)
                                        : std::nullopt;
        if (!found) {
            fit.failure = !fromGiven
                              ? "the equation gives no number at x = " +
                                    typedValue(points[static_cast<std::size_t>(withoutNumber)].x) +
                                    " with these parameter values"
                              : noFitFromAnyStart(fromGiven, fit.names, points);
            return;
        }
        solution = found->solution;
        fit.startNote =
            "starting values found by the program: " + startsText(fit.names, found->start) +
            " (from those given, " + whatTheGivenLedTo(fromGiven, fit.names) + ")";
    }
    fit.values = solution.parameters;
    fit.curve = [equation, q = solution.parameters](const double* xs, std::size_t count,
                                                    double* y) {
        equation->evaluate(q.data(), xs, count, y);
    };
    completeStatistics(fit, points, solution.inverse, sigma);
}
