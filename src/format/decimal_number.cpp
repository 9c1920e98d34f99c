#include "format/decimal_number.h"

#include "format/default_text.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

// The rendering cuts the default text T of |x| character by character. The
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

// The first five digits from the first non-zero one on, without point and
// exponent; positions beyond the last digit count as 0.
struct FiveDigits {
    char d[5] = {'0', '0', '0', '0', '0'};
};

FiveDigits significantDigits(std::string_view text)
{
    FiveDigits result;
    int count = 0;
    for (const char c : text.substr(0, text.find('E'))) {
        if (c < '0' || c > '9' || (count == 0 && c == '0'))
            continue;
        result.d[count++] = c;
        if (count == 5)
            break;
    }
    return result;
}

// Power of ten of the first significant digit of T.
int magnitudeOf(std::string_view text)
{
    const auto e = text.find('E');
    if (e != std::string_view::npos) {
        int exponent = 0;
        for (const char c : text.substr(e + 2))
            exponent = exponent * 10 + (c - '0');
        return text[e + 1] == '-' ? -exponent : exponent;
    }
    if (text.front() == '.')
        return -1 - static_cast<int>(text.find_first_not_of('0', 1) - 1);
    const auto point = text.find('.');
    return static_cast<int>(point == std::string_view::npos ? text.size() : point) - 1;
}

// The digit at `keep`, raised by one when the digit at `decider` is 5 or more,
// unless it is a 9.
char roundedDigit(std::string_view text, std::size_t keep, std::size_t decider)
{
    int last = digitValue(text, keep);
    if (last < 9 && digitValue(text, decider) > 4)
        ++last;
    return digitChar(last);
}

// Keeps `keep` characters of the text and the rounded one after them.
void appendCut(std::string& out, std::string_view text, std::size_t keep, std::size_t decider)
{
    out += text.substr(0, keep);
    out += roundedDigit(text, keep, decider);
}

// Below 1E-4: "0.", the leading zeros, and exactly four digits.
void appendVerySmall(std::string& out, std::string_view text, int exponent)
{
    FiveDigits d = significantDigits(text);
    if (std::abs(d.d[4] - '0' - 6.5) < 2)
        d.d[3] = d.d[3] == '9' ? '9' : static_cast<char>(d.d[3] + 1);
    out += "0.";
    out.append(static_cast<std::size_t>(std::abs(exponent) - 1), '0');
    out.append(d.d, 4);
}

void appendBelowOneHundredth(std::string& out, std::string_view text)
{
    const auto split = text.find_first_not_of(".0");
    const std::string_view rest = text.substr(split);
    if (rest.size() < 5) {
        out += text;
        return;
    }
    out += text.substr(0, split);
    appendCut(out, rest, 3, 4);
}

void appendLarge(std::string& out, std::string_view text, int magnitude)
{
    const FiveDigits d = significantDigits(text);
    appendCut(out, std::string_view(d.d, 5), 3, 4);
    out += additionalZeros(magnitude);
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

    const UnsignedDefaultText defaultText(std::fabs(x));
    const std::string_view text = defaultText.view();
    const int magnitude = magnitudeOf(text);

    std::string out(1, x < 0 ? '-' : ' ');
    if (text.find('E') != std::string_view::npos && magnitude <= -2)
        appendVerySmall(out, text, magnitude);
    else if (magnitude <= -2)
        appendBelowOneHundredth(out, text);
    else if (magnitude <= 2 && text.size() >= 6)
        appendCut(out, text, 4, 5);
    else if (magnitude == 3 && text.size() >= 6)
        appendCut(out, text, 3, 5);
    else if (magnitude >= 4)
        appendLarge(out, text, magnitude);
    else
        out += text;
    return out;
}
