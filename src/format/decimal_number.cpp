#include "format/decimal_number.h"

#include "format/default_text.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

// The rendering cuts the default text of |x| character by character. The
// rounding looks at one digit only and never carries into the digits before
// it (9999.7 gives " 9999"), which keeps every kept digit one character.

namespace {

// 0 to 9 for a digit character; 0 for anything else or beyond the end.
int digitValue(std::string_view text, std::size_t index)
{
    if (index >= text.size())
        return 0;
    const char c = text[index];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

char digitChar(int value) { return static_cast<char>('0' + value); }

// The digits from the first non-zero one on, without point and exponent,
// padded with zeros to `count`.
std::string significantDigits(std::string_view text, std::size_t count)
{
    std::string digits;
    for (const char c : text.substr(0, text.find('E'))) {
        if (c < '0' || c > '9' || (digits.empty() && c == '0'))
            continue;
        digits += c;
        if (digits.size() == count)
            break;
    }
    digits.resize(count, '0');
    return digits;
}

// Power of ten of the first significant digit of a default text.
int magnitudeOf(std::string_view text)
{
    const auto e = text.find('E');
    if (e != std::string_view::npos)
        return std::atoi(std::string(text.substr(e + 1)).c_str());
    if (text.front() == '.')
        return -1 - static_cast<int>(text.find_first_not_of('0', 1) - 1);
    const auto point = text.find('.');
    return static_cast<int>(point == std::string_view::npos ? text.size() : point) - 1;
}

// Below 1E-4: "0.", the leading zeros, and exactly four digits.
std::string verySmall(std::string_view text, int exponent)
{
    std::string d = significantDigits(text, 5);
    if (std::abs(d[4] - '0' - 6.5) < 2)
        d[3] = d[3] == '9' ? '9' : static_cast<char>(d[3] + 1);
    return "0." + std::string(std::abs(exponent) - 1, '0') + d.substr(0, 4);
}

// Keeps `keep` characters and replaces the one after them by itself raised
// when the character `decider` is 5 or more, unless it is a 9.
std::string cutAndRound(std::string_view text, std::size_t keep, std::size_t decider)
{
    int last = digitValue(text, keep);
    if (last < 9 && digitValue(text, decider) > 4)
        ++last;
    return std::string(text.substr(0, keep)) + digitChar(last);
}

std::string belowOneHundredth(std::string_view text)
{
    const auto split = text.find_first_not_of(".0");
    const std::string_view zeros = text.substr(0, split);
    const std::string_view rest = text.substr(split);
    if (rest.size() < 5)
        return std::string(text);
    return std::string(zeros) + cutAndRound(rest, 3, 4);
}

std::string large(std::string_view text, int magnitude)
{
    std::string d = significantDigits(text, 5);
    return cutAndRound(d, 3, 4) + additionalZeros(magnitude);
}

} // namespace

std::string additionalZeros(int magnitude)
{
    return magnitude > 3 ? std::string(magnitude - 3, '0') : std::string();
}

std::string decimalNumber(double x)
{
    if (x == 0)
        return "0";
    if (!std::isfinite(x))
        return defaultNumberText(x);

    const std::string sign = x < 0 ? "-" : " ";
    const std::string fullText = defaultNumberText(std::fabs(x));
    const std::string_view text = std::string_view(fullText).substr(1);

    const int magnitude = magnitudeOf(text);
    if (text.find('E') != std::string_view::npos && magnitude <= -2)
        return sign + verySmall(text, magnitude);
    if (magnitude <= -2)
        return sign + belowOneHundredth(text);
    if (magnitude <= 2)
        return sign + (text.size() < 6 ? std::string(text) : cutAndRound(text, 4, 5));
    if (magnitude == 3)
        return sign + (text.size() < 6 ? std::string(text) : cutAndRound(text, 3, 5));
    return sign + large(text, magnitude);
}
