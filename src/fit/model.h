#pragma once

#include <map>
#include <string>
#include <vector>

// The curves a student can fit.
enum class ModelKind {
    None,
    Line,
    Proportional,
    Quadratic,
    Polynomial,
    Exponential,
    ExponentialWithOffset,
    Power,
    Logarithm,
    Sine,
    Gaussian,
    OwnEquation,
};

inline constexpr int lowestDegree = 2;
inline constexpr int highestDegree = 10;

struct ModelChoice {
    ModelKind kind = ModelKind::None;
    int degree = lowestDegree; // of the polynomial
    std::string equation;      // the own equation's right-hand side in x
    // The x column's name, which the own equation may use for x ("t" in
    // T0 + A*exp(-k*t)); empty when it has none a formula can use.
    std::string xName;
    // Starting values of the own equation's parameters; 1 for one not given.
    std::map<std::string, double> starts;

    bool operator==(const ModelChoice&) const = default;
};

// Every kind in the order the fit list offers them, from "no fit".
const std::vector<ModelKind>& modelKinds();

// The list's text for a kind: "exponential y = A e^(B x)".
std::string modelItem(ModelKind kind);

// The fitted equation as the fit text writes it: "y = A e^(B x) + C",
// "y = a0 + a1 x + a2 x² + a3 x³", "y = " and the own equation.
std::string modelEquation(const ModelChoice& choice);

// The parameters of a built-in model, in the order the fit gives them:
// m, b; A; a0 ... aN; A, B, C, D.
std::vector<std::string> builtinParameterNames(const ModelChoice& choice);

// The degree of a linear model's polynomial (line 1, quadratic 2), or 0.
int polynomialDegree(const ModelChoice& choice);
