#include "format/report_number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int lastPlainDecimal = -6;   // a last digit beyond it takes a power of ten
constexpr double firstPowerForm = 1e6; // so does a number this large

// A finite number's exact decimal digits: |x| = 0.digits × 10^(exponent + 1),
// that is, the first digit stands at the power `exponent`.
struct ExactDigits {
    bool negative = false;
    std::string digits; // without leading zeros; empty for zero
    int exponent = 0;
};

ExactDigits exactDigits(double x)
{
    ExactDigits exact;
    exact.negative = std::signbit(x);
    if (x == 0)
        return exact;
    // 767 significant digits hold every double exactly.
    char text[800];
    const auto end =
        std::to_chars(text, text + sizeof text, std::fabs(x), std::chars_format::scientific, 767)
            .ptr;
    const std::string_view written(text, static_cast<std::size_t>(end - text));
    const auto e = written.find('e');
    exact.digits = std::string(1, written[0]);
    exact.digits += written.substr(2, e - 2);
    std::from_chars(written.data() + e + (written[e + 1] == '+' ? 2 : 1), end, exact.exponent);
    while (exact.digits.size() > 1 && exact.digits.back() == '0')
        exact.digits.pop_back();
    return exact;
}

// A number rounded to a whole multiple of 10^place, half away from zero:
// the multiple's digits (no leading zeros; "0" for zero) and its sign.
struct Rounded {
    bool negative = false;
    std::string digits = "0";
    int place = 0;

    // The power of ten of the first digit; `place` for zero.
    int leadingPower() const { return place + static_cast<int>(digits.size()) - 1; }
    bool isZero() const { return digits == "0"; }
};

Rounded roundedAt(const ExactDigits& exact, int place)
{
    Rounded rounded;
    rounded.place = place;
    if (exact.digits.empty())
        return rounded;
    const int kept = exact.exponent - place + 1; // digits before the cut
    if (kept < 0)
        return rounded;
    std::string digits = exact.digits.substr(0, static_cast<std::size_t>(kept));
    digits.append(static_cast<std::size_t>(kept) - digits.size(), '0');
    const bool up = static_cast<std::size_t>(kept) < exact.digits.size() &&
                    exact.digits[static_cast<std::size_t>(kept)] >= '5';
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i)
            digits[static_cast<std::size_t>(i)] = '0';
        if (i < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[static_cast<std::size_t>(i)];
    }
    const auto first = digits.find_first_not_of('0');
    rounded.digits = first == std::string::npos ? "0" : digits.substr(first);
    rounded.negative = exact.negative && !rounded.isZero();
    return rounded;
}

// The place of the last of `digits` significant digits; a rounding that
// carries into a new leading digit ("9.96" to two digits) moves it up.
int placeForSignificant(const ExactDigits& exact, int digits)
{
    int place = exact.exponent - digits + 1;
    if (static_cast<int>(roundedAt(exact, place).digits.size()) > digits)
        ++place;
    return place;
}

// The rounded number with `decimals` decimals after dividing by 10^shift,
// plain: "-0.26", "45600", "2.310".
std::string plain(const Rounded& rounded, int shift)
{
    if (rounded.isZero() && rounded.place > shift)
        return "0";
    const int decimals = std::max(0, shift - rounded.place);
    std::string digits = rounded.digits;
    digits.append(static_cast<std::size_t>(std::max(0, rounded.place - shift)), '0');
    if (static_cast<int>(digits.size()) <= decimals)
        digits.insert(0, static_cast<std::size_t>(decimals + 1) - digits.size(), '0');
    if (decimals > 0)
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    return (rounded.negative ? "-" : "") + digits;
}

bool needsPowerOfTen(const Rounded& largest, int place)
{
    return place < lastPlainDecimal || largest.leadingPower() >= 6;
}

std::string notFinite(double x) { return std::isnan(x) ? "not a number" : x > 0 ? "∞" : "-∞"; }

} // namespace

std::string significantValue(double value, int digits)
{
    if (!std::isfinite(value))
        return notFinite(value);
    const ExactDigits exact = exactDigits(value);
    if (exact.digits.empty())
        return "0";
    const Rounded rounded = roundedAt(exact, placeForSignificant(exact, digits));
    if (!needsPowerOfTen(rounded, rounded.place))
        return plain(rounded, 0);
    const int power = rounded.leadingPower();
    return plain(rounded, power) + " × 10" + superscript(power);
}

bool withinComputationPrecision(double value, double uncertainty)
{
    constexpr double roundingLevel = 1e-12;
    return std::isfinite(value) && uncertainty > 0 && uncertainty < std::fabs(value) * roundingLevel;
}

std::string precisionNote(double value, double uncertainty)
{
    return withinComputationPrecision(value, uncertainty)
               ? " (exact within the precision of the computation)"
               : "";
}

std::string valueWithUncertainty(double value, double uncertainty)
{
    if (!std::isfinite(value))
        return notFinite(value);
    if (!(uncertainty > 0) || !std::isfinite(uncertainty))
        return significantValue(value) + (uncertainty == 0 ? " ± 0" : "");
    if (withinComputationPrecision(value, uncertainty)) {
        constexpr int keptDigits = 12;
        const ExactDigits exact = exactDigits(value);
        Rounded rounded = roundedAt(exact, placeForSignificant(exact, keptDigits));
        while (rounded.digits.size() > 1 && rounded.digits.back() == '0') {
            rounded.digits.pop_back();
            ++rounded.place;
        }
        if (!needsPowerOfTen(rounded, rounded.place))
            return plain(rounded, 0);
        const int power = rounded.leadingPower();
        return plain(rounded, power) + " × 10" + superscript(power);
    }
    const ExactDigits exactUncertainty = exactDigits(uncertainty);
    const int place = placeForSignificant(exactUncertainty, 2);
    const Rounded u = roundedAt(exactUncertainty, place);
    const Rounded v = roundedAt(exactDigits(value), place);
    const Rounded& largest = v.leadingPower() > u.leadingPower() ? v : u;
    if (!needsPowerOfTen(largest, place))
        return plain(v, 0) + " ± " + plain(u, 0);
    const int power = largest.leadingPower();
    std::string text(1, '(');
    text += plain(v, power) + " ± " + plain(u, power) + ") × 10" + superscript(power);
    return text;
}

BoxFields boxFields(double value, double uncertainty)
{
    if (!std::isfinite(value))
        return {};
    const ExactDigits exactValue = exactDigits(value);
    if (!(uncertainty > 0) || !std::isfinite(uncertainty)) {
        char text[64];
        const auto written = std::to_chars(text, text + sizeof text, value,
                                           std::chars_format::general, 15);
        return {std::string(text, written.ptr), {}};
    }
    const ExactDigits exactUncertainty = exactDigits(uncertainty);
    const int place = placeForSignificant(exactUncertainty, 2);
    const Rounded u = roundedAt(exactUncertainty, place);
    const Rounded v = roundedAt(exactValue, place);
    const Rounded& largest = v.leadingPower() > u.leadingPower() ? v : u;
    if (!needsPowerOfTen(largest, place))
        return {plain(v, 0), plain(u, 0)};
    const int power = largest.leadingPower();
    std::string exponent(1, 'e');
    exponent.append(std::to_string(power));
    BoxFields fields{plain(v, power), plain(u, power)};
    fields.value.append(exponent);
    fields.uncertainty.append(exponent);
    return fields;
}

std::string typedValue(double x)
{
    char text[400]; // the longest plain double has 309 digits before the point
    return std::string(text,
                       std::to_chars(text, text + sizeof text, x, std::chars_format::fixed).ptr);
}

std::string rSquaredRelation(double rSquared)
{
    if (!std::isfinite(rSquared))
        return "= " + notFinite(rSquared);
    const Rounded rounded = roundedAt(exactDigits(rSquared), -6);
    if (rSquared < 1 && rounded.digits == "1000000")
        return "> 0.999999";
    return "= " + plain(rounded, 0);
}

std::string superscript(int power)
{
    static const char* const digits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string text = power < 0 ? "⁻" : "";
    for (const char c : std::to_string(std::abs(power)))
        text += digits[c - '0'];
    return text;
}

std::string groupedCount(std::size_t count)
{
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ' ');
    return digits;
}
