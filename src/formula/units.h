#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The unit of a quantity as the headers and the fit's parameters write it
// ("m", "m/s^2", "s²/m", "N s", "N/(m/s)", "°C"), for working out the unit
// a formula gives from the units of what it uses. Each symbol stands for
// itself (N is not turned into kg m/s²); rational powers are kept, so that
// √(L/g) in s works out.
class Unit {
public:
    // A pure number with no unit at all: 2, pi, the row number.
    static Unit number();
    // What a unit that is missing gives: no unit can be worked out.
    static Unit unknown();
    // A number written in a formula: a pure number where it multiplies,
    // divides or is a power, the unit of the other side where it is added
    // (T - 21.5 keeps the unit of T).
    static Unit constant(double value);

    // The unit a text writes; unknown for an empty text or one that is not
    // a unit ("10^-3 m", "(m").
    static Unit read(std::string_view text);

    bool known() const { return kind_ != Kind::Unknown; }
    // No unit left: a pure number, or the symbols cancel (m/m).
    bool pure() const { return known() && factors_.empty(); }
    std::optional<double> constantValue() const { return value_; }

    Unit times(const Unit& other) const;
    Unit over(const Unit& other) const;
    Unit plus(const Unit& other) const; // for + and - alike
    // This unit to a power; unknown where the exponent is not a constant
    // number and the unit is not pure.
    Unit power(const Unit& exponent) const;
    // The result of a function that needs a pure number (sin, exp, ln):
    // pure, or unknown when its argument is not pure (radians count as pure).
    Unit ofPureFunction() const;

    // "m/s^2", "s^2/m", "N s", "1/s", "kg/(m s^2)"; empty for a pure number
    // or an unknown unit, and for powers that are not whole numbers.
    std::string text() const;

private:
    enum class Kind { Known, Constant, Unknown };
    // Each symbol and its power in sixths (m^(1/2) is 3): the powers of √
    // and ∛ stay whole numbers.
    using Factors = std::vector<std::pair<std::string, int>>;

    Unit(Kind kind, Factors factors, std::optional<double> value = std::nullopt)
        : kind_(kind), factors_(std::move(factors)), value_(value)
    {
    }
    static Unit multiplied(const Unit& a, const Unit& b, int sign);

    Kind kind_ = Kind::Unknown;
    Factors factors_;
    std::optional<double> value_; // of a constant
};
