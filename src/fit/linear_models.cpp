#include "fit/linear_models.h"

#include "fit/linear_least_squares.h"

#include <cmath>

namespace {

using Real = long double;

// The polynomial in u that the model is, and where its parameters stand.
struct Shape {
    bool ofLogarithm = false; // u = ln x
    bool centred = true;      // false: no intercept, the single power 1
    int degree = 1;
    // order[k] = the power of u whose coefficient is the model's parameter k.
    std::vector<int> order;
};

Shape shapeOf(const ModelChoice& model)
{
    switch (model.kind) {
    case ModelKind::Line:
        return {false, true, 1, {1, 0}}; // m, b
    case ModelKind::Proportional:
        return {false, false, 1, {0}};
    case ModelKind::Logarithm:
        return {true, true, 1, {0, 1}};
    default: {
        Shape shape{false, true, polynomialDegree(model), {}};
        for (int k = 0; k <= shape.degree; ++k)
            shape.order.push_back(k);
        return shape;
    }
    }
}

Real uOf(const Shape& shape, double x) { return shape.ofLogarithm ? std::log(Real(x)) : x; }

// Binomial coefficients j choose k, j and k up to the highest degree.
Real choose(int j, int k)
{
    Real result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * (j - k + i) / i;
    return result;
}

// The polynomial y = meanY + Σ c_j (u - u0)^j, the way it was fitted.
struct CentredPolynomial {
    Shape shape;
    Real u0 = 0;
    Real meanY = 0;
    std::vector<Real> c;

    Real at(double x) const
    {
        const Real t = uOf(shape, x) - u0;
        Real sum = 0;
        for (std::size_t j = c.size(); j-- > 0;)
            sum = sum * t + c[j];
        return shape.centred ? sum + meanY : sum * t;
    }
};

} // namespace

bool isLinearModel(ModelKind kind)
{
    return kind == ModelKind::Line || kind == ModelKind::Proportional ||
           kind == ModelKind::Quadratic || kind == ModelKind::Polynomial ||
           kind == ModelKind::Logarithm;
}

LinearModelFit fitLinearModel(const std::vector<Point>& points, const ModelChoice& model,
                              const std::vector<double>& sigma)
{
    LinearModelFit fit;
    CentredPolynomial polynomial{shapeOf(model), 0, 0, {}};
    const Shape& shape = polynomial.shape;
    const int columns = shape.centred ? shape.degree + 1 : 1;
    std::vector<Real> u;
    for (const Point& point : points) {
        u.push_back(uOf(shape, point.x));
        if (!std::isfinite(u.back())) {
            fit.noNumberAt = point.x;
            return fit;
        }
    }
    if (shape.centred) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            polynomial.u0 += u[i];
            polynomial.meanY += points[i].y;
        }
        polynomial.u0 /= static_cast<Real>(points.size());
        polynomial.meanY /= static_cast<Real>(points.size());
    }

    LinearProblem problem;
    problem.rows = static_cast<int>(points.size());
    problem.columns = columns;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Real t = u[i] - polynomial.u0;
        const Real weight = sigma.empty() ? 1 : 1 / Real(sigma[i]);
        Real power = shape.centred ? 1 : t;
        for (int j = 0; j < columns; ++j, power *= t)
            problem.design.push_back(power * weight);
        problem.values.push_back((points[i].y - polynomial.meanY) * weight);
    }
    const LinearSolution solution = solveLinearLeastSquares(problem);
    const std::size_t p = static_cast<std::size_t>(columns);
    if (solution.dependentColumn >= 0) {
        fit.dependentParameter = 0; // the only one, without an intercept
        for (std::size_t k = 0; shape.centred && k < shape.order.size(); ++k)
            if (shape.order[k] == solution.dependentColumn)
                fit.dependentParameter = static_cast<int>(k);
        return fit;
    }
    polynomial.c = solution.parameters;

    // a_k = Σ_j c_j (j choose k) (-u0)^(j - k): the map T from c to a.
    std::vector<Real> map(p * p, 0);
    for (std::size_t k = 0; k < p; ++k)
        for (std::size_t j = k; j < p; ++j)
            map[k * p + j] = choose(static_cast<int>(j), static_cast<int>(k)) *
                             std::pow(-polynomial.u0, static_cast<Real>(j - k));
    std::vector<Real> a(p, 0);
    for (std::size_t k = 0; k < p; ++k)
        for (std::size_t j = 0; j < p; ++j)
            a[k] += map[k * p + j] * polynomial.c[j];
    if (shape.centred)
        a[0] += polynomial.meanY;
    fit.values.resize(p);
    fit.inverse.resize(p * p);
    for (std::size_t k = 0; k < p; ++k) {
        const auto power = static_cast<std::size_t>(shape.centred ? shape.order[k] : 0);
        fit.values[k] = static_cast<double>(a[power]);
        for (std::size_t l = 0; l < p; ++l) {
            const auto other = static_cast<std::size_t>(shape.centred ? shape.order[l] : 0);
            Real sum = 0; // (T C Tᵀ) at (power, other)
            for (std::size_t i = 0; i < p; ++i)
                for (std::size_t j = 0; j < p; ++j)
                    sum += map[power * p + i] * solution.inverse[i * p + j] * map[other * p + j];
            fit.inverse[k * p + l] = static_cast<double>(sum);
        }
    }
    fit.curve = [polynomial](const double* x, std::size_t count, double* y) {
        for (std::size_t i = 0; i < count; ++i)
            y[i] = static_cast<double>(polynomial.at(x[i]));
    };
    return fit;
}
