#include "graph/line_fit.h"

#include "format/decimal_number.h"

#include <algorithm>
#include <cmath>

namespace {

// Near the ends of a double, sums and products overflow. The points are
// scaled by powers of two, which is exact, so that the largest magnitude
// is about 1, and the results are scaled back.
struct Scale {
    int x = 0;
    int y = 0;
};

int exponentOf(double largestMagnitude)
{
    int exponent = 0;
    if (largestMagnitude > 0)
        std::frexp(largestMagnitude, &exponent);
    return exponent;
}

Scale scaleOf(const std::vector<Point>& points)
{
    double largestX = 0, largestY = 0;
    for (const Point& p : points) {
        largestX = std::max(largestX, std::fabs(p.x));
        largestY = std::max(largestY, std::fabs(p.y));
    }
    return {exponentOf(largestX), exponentOf(largestY)};
}

struct CentredSums {
    double n = 0;
    double meanX = 0, meanY = 0;
    double sxx = 0, sxy = 0, syy = 0;
};

CentredSums centredSums(const std::vector<Point>& points, Scale scale)
{
    CentredSums s;
    s.n = static_cast<double>(points.size());
    for (const Point& p : points) {
        s.meanX += std::ldexp(p.x, -scale.x);
        s.meanY += std::ldexp(p.y, -scale.y);
    }
    s.meanX /= s.n;
    s.meanY /= s.n;
    for (const Point& p : points) {
        const double dx = std::ldexp(p.x, -scale.x) - s.meanX;
        const double dy = std::ldexp(p.y, -scale.y) - s.meanY;
        s.sxx += dx * dx;
        s.sxy += dx * dy;
        s.syy += dy * dy;
    }
    return s;
}

double residualSumOfSquares(const std::vector<Point>& points, Scale scale, double slope,
                            double intercept)
{
    double sum = 0;
    for (const Point& p : points) {
        const double residual =
            std::ldexp(p.y, -scale.y) - (slope * std::ldexp(p.x, -scale.x) + intercept);
        sum += residual * residual;
    }
    return sum;
}

bool allFinite(const LineFit& fit)
{
    return std::isfinite(fit.slope) && std::isfinite(fit.intercept) &&
           std::isfinite(fit.slopeUncertainty) && std::isfinite(fit.interceptUncertainty) &&
           std::isfinite(fit.rSquared);
}

// decimalNumber without the blank it puts before a positive number: the
// values stand inside sentences here.
std::string rendered(double value)
{
    std::string text = decimalNumber(value);
    return text.front() == ' ' ? text.substr(1) : text;
}

} // namespace

LineFit fitLine(const std::vector<Point>& points)
{
    LineFit fit;
    fit.points = static_cast<int>(points.size());
    if (points.size() < 2)
        return fit;
    const Scale scale = scaleOf(points);
    const CentredSums s = centredSums(points, scale);
    if (s.sxx == 0) {
        fit.outcome = LineFit::Outcome::AllXEqual;
        return fit;
    }
    // In the scaled units first, then back: m carries 2^(y - x), b 2^y.
    const double slope = s.sxy / s.sxx;
    const double intercept = s.meanY - slope * s.meanX;
    fit.slope = std::ldexp(slope, scale.y - scale.x);
    fit.intercept = std::ldexp(intercept, scale.y);
    if (points.size() > 2) {
        const double sse = residualSumOfSquares(points, scale, slope, intercept);
        const double residual = std::sqrt(sse / (s.n - 2));
        fit.hasUncertainties = true;
        fit.slopeUncertainty = std::ldexp(residual / std::sqrt(s.sxx), scale.y - scale.x);
        fit.interceptUncertainty =
            std::ldexp(residual * std::sqrt(1 / s.n + s.meanX * s.meanX / s.sxx), scale.y);
        if (s.syy > 0) {
            fit.hasRSquared = true;
            fit.rSquared = 1 - sse / s.syy;
        }
    } else if (s.syy > 0) {
        fit.hasRSquared = true;
        fit.rSquared = 1; // two points lie on their line
    }
    fit.outcome = allFinite(fit) ? LineFit::Outcome::Line : LineFit::Outcome::TooLarge;
    return fit;
}

std::string describeFit(const LineFit& fit)
{
    const std::string count = std::to_string(fit.points) + (fit.points == 1 ? " point" : " points");
    switch (fit.outcome) {
    case LineFit::Outcome::TooFewPoints:
        return "Straight-line fit: a line needs at least two points; there " +
               std::string(fit.points == 1 ? "is " : "are ") + count + ".";
    case LineFit::Outcome::AllXEqual:
        return "Straight-line fit: all " + count +
               " have the same x, so no line of the form y = m x + b fits them.";
    case LineFit::Outcome::TooLarge:
        return "Straight-line fit: the numbers are too large for a line to be computed.";
    case LineFit::Outcome::Line:
        break;
    }
    const auto withUncertainty = [&](double value, double uncertainty) {
        return rendered(value) + (fit.hasUncertainties ? " ± " + rendered(uncertainty) : "");
    };
    std::string text = "Straight-line fit y = m x + b through " + count + ":\n";
    text += "slope m = " + withUncertainty(fit.slope, fit.slopeUncertainty) + "\n";
    text += "intercept b = " + withUncertainty(fit.intercept, fit.interceptUncertainty) + "\n";
    text +=
        "R² = " +
        (fit.hasRSquared ? rendered(fit.rSquared) : std::string("not defined (all y are equal)")) +
        "\n";
    text += fit.hasUncertainties ? "± gives the standard uncertainty (one standard deviation)."
                                 : "The uncertainties are not defined for two points.";
    return text;
}
