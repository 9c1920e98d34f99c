#include "format/default_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

struct SignificantDigits {
    std::string digits; // at most 15, no trailing zeros
    int exponent = 0;   // power of ten of the first digit
};

// Rounds a positive finite value to 15 significant digits.
SignificantDigits roundTo15Digits(double a)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, a, std::chars_format::scientific, 14);
    const std::string_view text(buffer, result.ptr - buffer); // d.ddddde+XX
    const auto e = text.find('e');

    SignificantDigits out;
    out.digits += text[0];
    out.digits += text.substr(2, e - 2);
    while (out.digits.size() > 1 && out.digits.back() == '0')
        out.digits.pop_back();
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(),
                    out.exponent);
    return out;
}

std::string plainForm(const SignificantDigits& d)
{
    const int length = static_cast<int>(d.digits.size());
    std::string text;
    if (d.exponent < 0) {
        text.append(1, '.').append(-d.exponent - 1, '0').append(d.digits);
    } else if (length <= d.exponent + 1) {
        text.append(d.digits).append(d.exponent + 1 - length, '0');
    } else {
        text.append(d.digits, 0, d.exponent + 1).append(1, '.').append(d.digits, d.exponent + 1);
    }
    return text;
}

std::string exponentForm(const SignificantDigits& d)
{
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1)
        text.append(1, '.').append(d.digits, 1);
    text += d.exponent < 0 ? "E-" : "E+";
    const int magnitude = std::abs(d.exponent);
    if (magnitude < 10)
        text += '0';
    text += std::to_string(magnitude);
    return text;
}

} // namespace

std::string defaultNumberText(double x)
{
    if (std::isnan(x))
        return " nan";
    const std::string sign = std::signbit(x) ? "-" : " ";
    if (std::isinf(x))
        return sign + "inf";
    if (x == 0)
        return " 0";

    const SignificantDigits d = roundTo15Digits(std::fabs(x));
    const bool plain = d.exponent >= -4 && d.exponent < 15;
    return sign + (plain ? plainForm(d) : exponentForm(d));
}
