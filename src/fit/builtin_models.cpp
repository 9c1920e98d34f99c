#include "fit/builtin_models.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double middleOf(const std::vector<Point>& points)
{
    if (points.empty())
        return 0;
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    return low->x / 2 + high->x / 2;
}

// An angle taken into (-π, π].
double principalAngle(double angle)
{
    const double turn = 2 * std::numbers::pi;
    double reduced = std::remainder(angle, turn);
    if (reduced <= -std::numbers::pi)
        reduced += turn;
    return reduced;
}

} // namespace

bool isNonlinearBuiltin(ModelKind kind)
{
    return kind == ModelKind::Exponential || kind == ModelKind::ExponentialWithOffset ||
           kind == ModelKind::Power || kind == ModelKind::Sine || kind == ModelKind::Gaussian;
}

NonlinearModel NonlinearModel::of(ModelKind kind, const std::vector<Point>& points)
{
    // x^B has no shift that keeps its form.
    return {kind, kind == ModelKind::Power ? 0 : middleOf(points)};
}

int NonlinearModel::parameterCount() const
{
    switch (kind) {
    case ModelKind::Exponential:
    case ModelKind::Power:
        return 2;
    case ModelKind::ExponentialWithOffset:
        return 3;
    default:
        return 4;
    }
}

double NonlinearModel::value(const double* q, double x) const
{
    const double t = x - shift;
    switch (kind) {
    case ModelKind::Exponential:
        return q[0] * std::exp(q[1] * t);
    case ModelKind::ExponentialWithOffset:
        return q[0] * std::exp(q[1] * t) + q[2];
    case ModelKind::Power:
        return q[0] * std::pow(x, q[1]);
    case ModelKind::Sine:
        return q[0] * std::sin(q[1] * t + q[2]) + q[3];
    default: {
        const double d = (t - q[1]) / q[2];
        return q[0] * std::exp(-d * d / 2) + q[3];
    }
    }
}

void NonlinearModel::gradient(const double* q, double x, double* derivatives) const
{
    const double t = x - shift;
    switch (kind) {
    case ModelKind::Exponential:
    case ModelKind::ExponentialWithOffset: {
        const double e = std::exp(q[1] * t);
        derivatives[0] = e;
        derivatives[1] = q[0] * t * e;
        if (kind == ModelKind::ExponentialWithOffset)
            derivatives[2] = 1;
        return;
    }
    case ModelKind::Power: {
        const double p = std::pow(x, q[1]);
        derivatives[0] = p;
        derivatives[1] = x > 0 ? q[0] * p * std::log(x) : 0;
        return;
    }
    case ModelKind::Sine: {
        const double phase = q[1] * t + q[2];
        derivatives[0] = std::sin(phase);
        derivatives[1] = q[0] * t * std::cos(phase);
        derivatives[2] = q[0] * std::cos(phase);
        derivatives[3] = 1;
        return;
    }
    default: {
        const double d = (t - q[1]) / q[2];
        const double g = std::exp(-d * d / 2);
        derivatives[0] = g;
        derivatives[1] = q[0] * g * d / q[2];
        derivatives[2] = q[0] * g * d * d / q[2];
        derivatives[3] = 1;
        return;
    }
    }
}

std::vector<double> NonlinearModel::unshifted(const std::vector<double>& q,
                                              std::vector<double>& derivatives) const
{
    const std::size_t p = q.size();
    std::vector<double> own = q;
    derivatives.assign(p * p, 0);
    for (std::size_t k = 0; k < p; ++k)
        derivatives[k * p + k] = 1;
    switch (kind) {
    case ModelKind::Exponential:
    case ModelKind::ExponentialWithOffset: // A e^(B (x - s)) = (A e^(-B s)) e^(B x)
        own[0] = q[0] * std::exp(-q[1] * shift);
        derivatives[0] = std::exp(-q[1] * shift);
        derivatives[1] = -shift * own[0];
        break;
    case ModelKind::Sine: { // sin(B (x - s) + C) = sin(B x + C - B s)
        double amplitude = q[0], phase = q[2] - q[1] * shift;
        if (amplitude < 0) { // -A sin(φ) = A sin(φ + π)
            amplitude = -amplitude;
            phase += std::numbers::pi;
            derivatives[0] = -1;
        }
        own[0] = amplitude;
        own[2] = principalAngle(phase);
        derivatives[2 * p + 1] = -shift;
        break;
    }
    case ModelKind::Gaussian: // the centre moves with x; the width's sign is free
        own[1] = q[1] + shift;
        own[2] = std::fabs(q[2]);
        derivatives[2 * p + 2] = q[2] < 0 ? -1 : 1;
        break;
    default:
        break;
    }
    return own;
}
