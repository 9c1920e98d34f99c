#pragma once

#include "formula/units.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Why a text is not an equation: where (counted in characters from 1) and
// the reason in plain words.
struct EquationError {
    int character = 1;
    std::string reason;
};

// The right-hand side of an equation, in the program's equation language:
// decimal numbers with a point, + - * / ^ (** is ^ too), parentheses, the
// functions sin cos tan asin acos atan sinh cosh tanh exp ln log10 sqrt abs,
// and the constant pi (or π). -a^b is -(a^b). Every other name (a letter,
// then letters, digits or _; Greek letters count as letters) is a variable
// whose values the caller gives.
// Evaluation works on many points in one call: each name has a buffer of
// values, one per point, filled by the caller.
// Whether a text can name a variable of the equation language: a letter,
// then letters, digits or _, and not a function or the constant pi (π).
bool isVariableName(std::string_view text);

class Equation {
public:
    static std::variant<Equation, EquationError> read(std::string_view text);

    Equation(Equation&&) noexcept;
    Equation& operator=(Equation&&) noexcept;
    ~Equation();

    const std::string& text() const;
    // The variables in order of first appearance.
    const std::vector<std::string>& names() const;

    // Makes room for `count` points and gives the buffer of name k: fill
    // its first `count` values before evaluate(count, ...).
    double* values(std::size_t name, std::size_t count);
    // The equation at one point: values[k] is the value of name k. NaN or
    // ±inf where it gives no finite number. The buffers stay as they were.
    double evaluateAt(const double* values);
    // The equation at one point, as evaluateAt gives it, and its derivative
    // by each name there: gradient[k] is ∂/∂(name k), exact up to rounding
    // (automatic differentiation); ±inf or NaN where the equation has no
    // finite slope (√x at 0), and NaN for every name when muParser's form of
    // the equation holds an operation the differentiation does not know.
    double valueAndGradient(const double* values, double* gradient);
    // results[i] = the equation at point i, for i < count; NaN or ±inf where
    // it gives no finite number.
    void evaluate(std::size_t count, double* results);
    // The unit the equation gives when name k has units[k]: T^2 in s^2 for
    // T in s; unknown where a unit is missing, the units added differ, or a
    // function that needs a pure number is given one that is not.
    Unit unitOf(const std::vector<Unit>& units) const;

private:
    struct Parsed;
    explicit Equation(std::unique_ptr<Parsed> parsed);
    std::unique_ptr<Parsed> parsed_;
};
