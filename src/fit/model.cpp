#include "fit/model.h"

namespace {

const char* const powers[] = {"", "", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹", "¹⁰"};

std::string polynomialEquation(int degree)
{
    std::string text = "y = a0";
    for (int k = 1; k <= degree; ++k)
        text += " + a" + std::to_string(k) + " x" + powers[k];
    return text;
}

} // namespace

const std::vector<ModelKind>& modelKinds()
{
    static const std::vector<ModelKind> kinds = {ModelKind::None,
                                                 ModelKind::Line,
                                                 ModelKind::Proportional,
                                                 ModelKind::Quadratic,
                                                 ModelKind::Polynomial,
                                                 ModelKind::Exponential,
                                                 ModelKind::ExponentialWithOffset,
                                                 ModelKind::Power,
                                                 ModelKind::Logarithm,
                                                 ModelKind::Sine,
                                                 ModelKind::Gaussian,
                                                 ModelKind::OwnEquation};
    return kinds;
}

std::string modelItem(ModelKind kind)
{
    switch (kind) {
    case ModelKind::None:
        return "no fit";
    case ModelKind::Line:
        return "straight line y = m x + b";
    case ModelKind::Proportional:
        return "proportional y = A x";
    case ModelKind::Quadratic:
        return "quadratic y = a0 + a1 x + a2 x²";
    case ModelKind::Polynomial:
        return "polynomial of degree N";
    case ModelKind::Exponential:
        return "exponential y = A e^(B x)";
    case ModelKind::ExponentialWithOffset:
        return "exponential with offset y = A e^(B x) + C";
    case ModelKind::Power:
        return "power y = A x^B";
    case ModelKind::Logarithm:
        return "logarithm y = A + B ln x";
    case ModelKind::Sine:
        return "sine y = A sin(B x + C) + D";
    case ModelKind::Gaussian:
        return "Gaussian y = A e^(-(x - B)²/(2 C²)) + D";
    case ModelKind::OwnEquation:
        return "own equation";
    }
    return {};
}

int polynomialDegree(const ModelChoice& choice)
{
    switch (choice.kind) {
    case ModelKind::Line:
        return 1;
    case ModelKind::Quadratic:
        return 2;
    case ModelKind::Polynomial:
        return choice.degree;
    default:
        return 0;
    }
}

std::string modelEquation(const ModelChoice& choice)
{
    if (choice.kind == ModelKind::OwnEquation)
        return "y = " + choice.equation;
    if (choice.kind == ModelKind::Quadratic || choice.kind == ModelKind::Polynomial)
        return polynomialEquation(polynomialDegree(choice));
    const std::string item = modelItem(choice.kind);
    const auto y = item.find("y = ");
    return y == std::string::npos ? item : item.substr(y);
}

std::vector<std::string> builtinParameterNames(const ModelChoice& choice)
{
    switch (choice.kind) {
    case ModelKind::None:
    case ModelKind::OwnEquation:
        return {};
    case ModelKind::Line:
        return {"m", "b"};
    case ModelKind::Proportional:
        return {"A"};
    case ModelKind::Quadratic:
    case ModelKind::Polynomial: {
        std::vector<std::string> names;
        for (int k = 0; k <= polynomialDegree(choice); ++k)
            names.push_back(std::string(1, 'a').append(std::to_string(k)));
        return names;
    }
    case ModelKind::Exponential:
    case ModelKind::Power:
    case ModelKind::Logarithm:
        return {"A", "B"};
    case ModelKind::ExponentialWithOffset:
        return {"A", "B", "C"};
    case ModelKind::Sine:
    case ModelKind::Gaussian:
        return {"A", "B", "C", "D"};
    }
    return {};
}
