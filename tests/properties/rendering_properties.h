#pragma once

// Properties every rendering of a number must have, shared by the property
// tests and the fuzz target. Each returns an empty text when the property
// holds and a description of the fault otherwise.

#include "data/number_reading.h"
#include "format/decimal_number.h"
#include "format/default_text.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace rendering_properties {

// The place value of the last digit a rendering keeps: 0.01 for " 12.35",
// 10 for " 12350", 1 for " 7".
// Long double, which reaches far beyond the smallest and largest doubles.
inline long double unitOfLastKeptDigit(const std::string& text)
{
    const auto point = text.find('.');
    if (point != std::string::npos)
        return std::pow(10.0L, -static_cast<long double>(text.size() - point - 1));
    const std::string digits = text.substr(1);
    return digits.size() > 4 ? std::pow(10.0L, static_cast<long double>(digits.size() - 4)) : 1.0L;
}

// Significant digits shown: leading zeros never count, and neither do the
// zeros that write a large whole number out to its units place.
inline std::size_t significantDigitCount(const std::string& text)
{
    std::string digits;
    for (const char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    digits.erase(0, digits.find_first_not_of('0'));
    if (text.find('.') == std::string::npos)
        digits.erase(digits.find_last_not_of('0') + 1);
    return digits.size();
}

inline std::string checkDecimalNumber(double x)
{
    const std::string text = decimalNumber(x);
    if (!std::isfinite(x))
        return text.size() <= 4 ? "" : "long text for a non-finite value: " + text;
    if (x == 0)
        return text == "0" ? "" : "zero rendered as " + text;
    if (text.find_first_of("Ee") != std::string::npos)
        return "exponent in " + text;
    if (text[0] != (x < 0 ? '-' : ' '))
        return "wrong sign character in " + text;
    if (significantDigitCount(text) > 4)
        return "more than four significant digits in " + text;
    // Read back in long double: rounding the largest doubles up leaves the
    // double range (" 1798" and 305 zeros).
    long double back = 0;
    const char* digits = text.data() + 1;
    std::from_chars(digits, text.data() + text.size(), back);
    if (text[0] == '-')
        back = -back;
    const long double unit = unitOfLastKeptDigit(text);
    if (!(std::fabs(back - static_cast<long double>(x)) <= unit * (1 + 1e-9L)))
        return "reads back wrongly from " + text;
    return "";
}

// x rounded to 15 significant digits; nothing when that leaves the double
// range, as it does for the largest doubles.
inline std::optional<double> roundedTo15Digits(double x)
{
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14).ptr;
    double rounded = 0;
    if (std::from_chars(buffer, end, rounded).ec != std::errc())
        return std::nullopt;
    return rounded;
}

inline std::string checkDefaultText(double x)
{
    if (!std::isfinite(x))
        return "";
    const std::optional<double> expected = x == 0 ? 0.0 : roundedTo15Digits(x);
    if (!expected)
        return "";
    const std::string text = defaultNumberText(x);
    const std::optional<double> back = readAnswer(text);
    if (!back)
        return "default text does not read as a number: " + text;
    if (*back != *expected)
        return "default text " + text + " does not read back as the value to 15 digits";
    return "";
}

} // namespace rendering_properties
