#include "formula/language.h"

#include <cmath>
#include <numbers>

namespace {

double sine(double x) { return std::sin(x); }
double cosine(double x) { return std::cos(x); }
double minusSine(double x) { return -std::sin(x); }
double tangent(double x) { return std::tan(x); }
double secantSquared(double x) { return 1 / (std::cos(x) * std::cos(x)); }
double arcSine(double x) { return std::asin(x); }
double arcSineSlope(double x) { return 1 / std::sqrt(1 - x * x); }
double arcCosine(double x) { return std::acos(x); }
double arcCosineSlope(double x) { return -1 / std::sqrt(1 - x * x); }
double arcTangent(double x) { return std::atan(x); }
double arcTangentSlope(double x) { return 1 / (1 + x * x); }
double hyperbolicSine(double x) { return std::sinh(x); }
double hyperbolicCosine(double x) { return std::cosh(x); }
double hyperbolicTangent(double x) { return std::tanh(x); }
double hyperbolicTangentSlope(double x) { return 1 / (std::cosh(x) * std::cosh(x)); }
double exponential(double x) { return std::exp(x); }
double naturalLog(double x) { return std::log(x); }
double reciprocal(double x) { return 1 / x; }
double commonLog(double x) { return std::log10(x); }
double commonLogSlope(double x) { return 1 / (x * std::numbers::ln10); }
double squareRoot(double x) { return std::sqrt(x); }
double squareRootSlope(double x) { return 0.5 / std::sqrt(x); }
double absolute(double x) { return std::fabs(x); }
// |x| has no slope at 0; the two sides' mean, 0, lets propagation go on and
// its check of the first-order rule name the row.
double sign(double x) { return x > 0 ? 1 : x < 0 ? -1 : 0; }

const LanguageFunction functions[] = {
    {"sin", sine, cosine},
    {"cos", cosine, minusSine},
    {"tan", tangent, secantSquared},
    {"asin", arcSine, arcSineSlope},
    {"acos", arcCosine, arcCosineSlope},
    {"atan", arcTangent, arcTangentSlope},
    {"sinh", hyperbolicSine, hyperbolicCosine},
    {"cosh", hyperbolicCosine, hyperbolicSine},
    {"tanh", hyperbolicTangent, hyperbolicTangentSlope},
    {"exp", exponential, exponential},
    {"ln", naturalLog, reciprocal},
    {"log10", commonLog, commonLogSlope},
    {"sqrt", squareRoot, squareRootSlope},
    {"abs", absolute, sign},
};

} // namespace

std::span<const LanguageFunction> languageFunctions() { return functions; }

double negative(double x) { return -x; }
double positive(double x) { return x; }
