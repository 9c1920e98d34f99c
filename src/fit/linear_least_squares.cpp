#include "fit/linear_least_squares.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using Real = long double;

// A scaled copy of the design and its Householder QR, kept in place: R on
// and above the diagonal, the reflectors' vectors below it.
class Factorisation {
public:
    Factorisation(const LinearProblem& problem)
        : rows_(problem.rows), columns_(problem.columns), tolerance_(problem.dependenceTolerance),
          a_(problem.design), original_(a_), scale_(static_cast<std::size_t>(columns_), 1),
          beta_(scale_.size(), 0)
    {
        scaleColumns();
        factorise();
        original_ = scaledDesign();
    }

    int dependentColumn() const { return dependent_; }

    // The least-squares solution, in the scaled parameters, for values y.
    std::vector<Real> solve(std::vector<Real> y) const
    {
        for (int k = 0; k < columns_; ++k)
            reflect(k, y);
        std::vector<Real> z(static_cast<std::size_t>(columns_), 0);
        for (int k = columns_ - 1; k >= 0; --k) {
            Real sum = y[idx(k)];
            for (int j = k + 1; j < columns_; ++j)
                sum -= at(k, j) * z[idx(j)];
            z[idx(k)] = sum / at(k, k);
        }
        return z;
    }

    // y - A z for scaled parameters z.
    std::vector<Real> residuals(const std::vector<Real>& y, const std::vector<Real>& z) const
    {
        std::vector<Real> r = y;
        for (int i = 0; i < rows_; ++i)
            for (int j = 0; j < columns_; ++j)
                r[idx(i)] -= original_[idx(i * columns_ + j)] * z[idx(j)];
        return r;
    }

    Real scale(int column) const { return scale_[idx(column)]; }

    // (RᵀR)⁻¹ in the scaled parameters: R⁻¹ R⁻ᵀ.
    std::vector<Real> inverseOfNormalMatrix() const
    {
        const std::size_t p = static_cast<std::size_t>(columns_);
        std::vector<Real> inverseR(p * p, 0); // upper triangular
        for (int j = 0; j < columns_; ++j) {
            inverseR[idx(j) * p + idx(j)] = 1 / at(j, j);
            for (int i = j - 1; i >= 0; --i) {
                Real sum = 0;
                for (int k = i + 1; k <= j; ++k)
                    sum += at(i, k) * inverseR[idx(k) * p + idx(j)];
                inverseR[idx(i) * p + idx(j)] = -sum / at(i, i);
            }
        }
        std::vector<Real> product(p * p, 0);
        for (std::size_t i = 0; i < p; ++i)
            for (std::size_t j = 0; j < p; ++j)
                for (std::size_t k = std::max(i, j); k < p; ++k)
                    product[i * p + j] += inverseR[i * p + k] * inverseR[j * p + k];
        return product;
    }

private:
    static std::size_t idx(int i) { return static_cast<std::size_t>(i); }
    Real& at(int i, int j) { return a_[idx(i * columns_ + j)]; }
    Real at(int i, int j) const { return a_[idx(i * columns_ + j)]; }

    std::vector<Real> scaledDesign() const
    {
        std::vector<Real> scaled = original_;
        for (int i = 0; i < rows_; ++i)
            for (int j = 0; j < columns_; ++j)
                scaled[idx(i * columns_ + j)] /= scale_[idx(j)];
        return scaled;
    }

    void scaleColumns()
    {
        for (int j = 0; j < columns_; ++j) {
            Real norm = 0;
            for (int i = 0; i < rows_; ++i)
                norm = std::hypot(norm, at(i, j));
            if (norm > 0 && std::isfinite(norm)) {
                scale_[idx(j)] = norm;
                for (int i = 0; i < rows_; ++i)
                    at(i, j) /= norm;
            }
        }
    }

    // Column k's reflector applied to a vector: v = (1, a(k+1..,k)), H = I - β v vᵀ.
    void reflect(int k, std::vector<Real>& y) const
    {
        Real dot = y[idx(k)];
        for (int i = k + 1; i < rows_; ++i)
            dot += at(i, k) * y[idx(i)];
        dot *= beta_[idx(k)];
        y[idx(k)] -= dot;
        for (int i = k + 1; i < rows_; ++i)
            y[idx(i)] -= dot * at(i, k);
    }

    void factorise()
    {
        const Real tolerance =
            tolerance_ > 0 ? tolerance_ : std::numeric_limits<Real>::epsilon() * 16 * rows_;
        for (int k = 0; k < columns_; ++k) {
            Real norm = 0;
            for (int i = k; i < rows_; ++i)
                norm = std::hypot(norm, at(i, k));
            // The part of column k that the columns before it leave over; a
            // column of unit length is dependent when almost nothing is left.
            if (norm <= tolerance) {
                if (dependent_ < 0)
                    dependent_ = k;
                norm = tolerance; // keeps the arithmetic finite; the caller refuses
            }
            const Real alpha = at(k, k) > 0 ? -norm : norm;
            const Real v0 = at(k, k) - alpha;
            for (int i = k + 1; i < rows_; ++i)
                at(i, k) /= v0;
            beta_[idx(k)] = -v0 / alpha;
            at(k, k) = alpha;
            for (int j = k + 1; j < columns_; ++j) {
                Real dot = at(k, j);
                for (int i = k + 1; i < rows_; ++i)
                    dot += at(i, k) * at(i, j);
                dot *= beta_[idx(k)];
                at(k, j) -= dot;
                for (int i = k + 1; i < rows_; ++i)
                    at(i, j) -= dot * at(i, k);
            }
        }
    }

    int rows_, columns_;
    Real tolerance_;
    std::vector<Real> a_;
    std::vector<Real> original_; // the scaled design, for residuals
    std::vector<Real> scale_;
    std::vector<Real> beta_;
    int dependent_ = -1;
};

} // namespace

LinearSolution solveLinearLeastSquares(const LinearProblem& problem)
{
    const Factorisation qr(problem);
    LinearSolution solution;
    solution.dependentColumn = qr.dependentColumn();
    std::vector<Real> z = qr.solve(problem.values);
    // One refinement step: the residual's own least-squares correction.
    std::vector<Real> residuals = qr.residuals(problem.values, z);
    const std::vector<Real> correction = qr.solve(residuals);
    for (std::size_t j = 0; j < z.size(); ++j)
        z[j] += correction[j];
    residuals = qr.residuals(problem.values, z);

    Real sse = 0;
    for (const Real r : residuals)
        sse += r * r;
    solution.residualSumOfSquares = sse;
    const std::size_t p = z.size();
    const std::vector<Real> inverse = qr.inverseOfNormalMatrix();
    solution.parameters.resize(p);
    solution.inverse.resize(p * p);
    for (std::size_t j = 0; j < p; ++j) {
        solution.parameters[j] = z[j] / qr.scale(static_cast<int>(j));
        for (std::size_t k = 0; k < p; ++k)
            solution.inverse[j * p + k] = inverse[j * p + k] / (qr.scale(static_cast<int>(j)) *
                                                                qr.scale(static_cast<int>(k)));
    }
    return solution;
}
