#include "fit/own_equation_starts.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::size_t mostSampledPoints = 200;
constexpr int briefSteps = 50;
constexpr std::size_t mostBriefRuns = 96; // for all parameters together

// Every k-th point, so that at most mostSampledPoints remain, in order.
std::vector<Point> sampleOf(const std::vector<Point>& points)
{
    if (points.size() <= mostSampledPoints)
        return points;
    std::vector<Point> sample;
    const double every = static_cast<double>(points.size()) / mostSampledPoints;
    for (std::size_t i = 0; i < mostSampledPoints; ++i)
        sample.push_back(points[static_cast<std::size_t>(static_cast<double>(i) * every)]);
    return sample;
}

bool nearlySame(const std::vector<double>& a, const std::vector<double>& b)
{
    for (std::size_t k = 0; k < a.size(); ++k)
        if (std::fabs(a[k] - b[k]) > 1e-6 * (std::fabs(a[k]) + std::fabs(b[k])))
            return false;
    return true;
}

double norm(const std::vector<double>& v)
{
    double sum = 0;
    for (const double value : v)
        sum = std::hypot(sum, value);
    return sum;
}

// Column k of the Jacobian, times the scale.
std::vector<double> column(const std::vector<double>& jacobian, std::size_t parameters,
                           std::size_t k, double scale)
{
    std::vector<double> values;
    for (std::size_t i = k; i < jacobian.size(); i += parameters)
        values.push_back(jacobian[i] * scale);
    return values;
}

// Whether a and b ± (sign) are the same vector, as far as differences tell.
bool sameColumn(const std::vector<double>& a, const std::vector<double>& b, double sign)
{
    std::vector<double> difference(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        difference[i] = a[i] - sign * b[i];
    const double size = norm(a) + norm(b);
    return size > 0 && std::isfinite(size) && norm(difference) <= 1e-6 * size;
}

enum class Relation { Product, Ratio, Sum };

// The ties between parameters k and d that the Jacobian at the parameters
// shows: f(A·B) gives A ∂f/∂A = B ∂f/∂B, f(A/B) gives A ∂f/∂A = -B ∂f/∂B,
// f(A + B) equal slopes. None where the equation gives no number there.
std::vector<Relation> relationsAt(const NonlinearProblem& problem,
                                  const std::vector<double>& parameters, std::size_t k,
                                  std::size_t d)
{
    const std::size_t p = parameters.size();
    const std::vector<double> jacobian = centralDifferenceJacobian(problem, parameters);
    const std::vector<double> scaledK = column(jacobian, p, k, parameters[k]);
    const std::vector<double> scaledD = column(jacobian, p, d, parameters[d]);
    std::vector<Relation> relations;
    if (sameColumn(scaledK, scaledD, 1))
        relations.push_back(Relation::Product);
    if (sameColumn(scaledK, scaledD, -1))
        relations.push_back(Relation::Ratio);
    if (sameColumn(column(jacobian, p, k, 1), column(jacobian, p, d, 1), 1))
        relations.push_back(Relation::Sum);
    return relations;
}

} // namespace

std::vector<double> candidateValues(const std::vector<Point>& points)
{
    double lowX = INFINITY, highX = -INFINITY, lowY = INFINITY, highY = -INFINITY;
    double sumX = 0, sumY = 0;
    for (const Point& p : points) {
        lowX = std::min(lowX, p.x);
        highX = std::max(highX, p.x);
        lowY = std::min(lowY, p.y);
        highY = std::max(highY, p.y);
        sumX += p.x;
        sumY += p.y;
    }
    const double n = static_cast<double>(points.size());
    const double rangeX = highX - lowX, rangeY = highY - lowY;
    std::vector<double> sizes = {1,
                                 rangeX,
                                 rangeY,
                                 1 / rangeX,
                                 1 / rangeY,
                                 sumX / n,
                                 sumY / n,
                                 std::max(std::fabs(lowX), std::fabs(highX)),
                                 std::max(std::fabs(lowY), std::fabs(highY))};
    for (int power = -3; power <= 3; ++power)
        if (power != 0)
            sizes.push_back(std::pow(10.0, power));
    std::vector<double> values;
    for (const double size : sizes)
        for (const double value : {std::fabs(size), -std::fabs(size)})
            if (std::isfinite(value) && value != 0 &&
                std::none_of(values.begin(), values.end(), [value](double known) {
                    return std::fabs(known - value) <= 1e-9 * std::fabs(value);
                }))
                values.push_back(value);
    return values;
}

std::vector<PromisingStart>
rankedReplacements(const std::vector<double>& seed, const std::vector<double>& candidates,
                   const std::function<NonlinearProblem(const std::vector<Point>&)>& problemOn,
                   const std::vector<Point>& points)
{
    const std::vector<Point> sample = sampleOf(points);
    const NonlinearProblem problem = problemOn(sample);
    const std::size_t perParameter =
        std::min(candidates.size(), std::max<std::size_t>(4, mostBriefRuns / seed.size()));
    std::vector<PromisingStart> ranked;
    for (std::size_t k = 0; k < seed.size(); ++k)
        for (std::size_t c = 0; c < perParameter; ++c) {
            PromisingStart start{seed, {}, 0};
            start.seed[k] = candidates[c];
            const BriefRun run = runBriefly(problem, start.seed, briefSteps);
            if (run.dependent || !std::isfinite(run.residualSumOfSquares))
                continue;
            start.reached = run.parameters;
            start.score = run.residualSumOfSquares;
            if (std::none_of(ranked.begin(), ranked.end(), [&start](const PromisingStart& known) {
                    return nearlySame(known.reached, start.reached);
                }))
                ranked.push_back(std::move(start));
        }
    std::stable_sort(
        ranked.begin(), ranked.end(),
        [](const PromisingStart& a, const PromisingStart& b) { return a.score < b.score; });
    return ranked;
}

std::optional<std::string> tiedParameters(const NonlinearProblem& problem,
                                          const std::vector<double>& parameters,
                                          const std::vector<std::string>& names, int dependent)
{
    const std::size_t p = parameters.size(), d = static_cast<std::size_t>(dependent);
    const std::string advice = "; fix one of them or write one parameter";
    for (std::size_t k = 0; k < p; ++k) {
        if (k == d)
            continue;
        // A tie holds wherever the parameters stand: looked for where they
        // are, and again where the two differ (at A = B = 1 the slopes of
        // A·B and of A + B are alike).
        std::vector<double> moved = parameters;
        moved[k] = moved[k] * 1.37 + 0.11;
        moved[d] = moved[d] * 0.71 - 0.05;
        std::vector<Relation> held = relationsAt(problem, parameters, k, d);
        const std::vector<Relation> there = relationsAt(problem, moved, k, d);
        if (!there.empty() || held.empty())
            std::erase_if(held, [&there](Relation r) {
                return std::find(there.begin(), there.end(), r) == there.end();
            });
        if (held.empty())
            continue;
        const std::string& first = names[std::min(k, d)];
        const std::string& second = names[std::max(k, d)];
        const std::string both = first + " and " + second + " appear only as their ";
        switch (held.front()) {
        case Relation::Product:
            return both + "product " + first + "·" + second + advice;
        case Relation::Ratio:
            return both + "ratio " + first + "/" + second + advice;
        case Relation::Sum:
            return both + "sum " + first + " + " + second + advice;
        }
    }
    return std::nullopt;
}
