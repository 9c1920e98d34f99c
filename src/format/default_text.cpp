#include "format/default_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace {

// A positive value rounded to 15 significant digits.
struct SignificantDigits {
    char digits[20]; // no trailing zeros once rounded, at least one digit
    int length = 0;
    int exponent = 0; // power of ten of the first digit
};

// Digits and exponent of a number written as d.ddde±XX.
SignificantDigits parseScientific(const char* text, const char* end)
{
    SignificantDigits out;
    out.digits[out.length++] = text[0];
    const char* p = text + 1;
    if (*p == '.')
        for (++p; *p != 'e'; ++p)
            out.digits[out.length++] = *p;
    const bool negative = p[1] == '-';
    for (p += 2; p < end; ++p)
        out.exponent = out.exponent * 10 + (*p - '0');
    if (negative)
        out.exponent = -out.exponent;
    return out;
}

SignificantDigits withoutTrailingZeros(SignificantDigits d)
{
    while (d.length > 1 && d.digits[d.length - 1] == '0')
        --d.length;
    return d;
}

// The exact rounding of the value to 15 significant digits.
SignificantDigits roundValueTo15Digits(double a)
{
    char buffer[32];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, a, std::chars_format::scientific, 14).ptr;
    return parseScientific(buffer, end);
}

// Cuts 16 or 17 digits to 15, rounding half up.
SignificantDigits roundDigitsTo15(SignificantDigits d)
{
    const bool up = d.digits[15] >= '5';
    d.length = 15;
    if (!up)
        return d;
    int i = 14;
    while (i >= 0 && d.digits[i] == '9')
        d.digits[i--] = '0';
    if (i >= 0) {
        ++d.digits[i];
    } else {
        d.digits[0] = '1';
        ++d.exponent;
    }
    return d;
}

// Lab data mostly has few decimals. When the value is the double nearest to
// a whole number of ten-thousandths below 1E11, that number's digits are its
// 15-digit rounding (any decimal of 15 digits or fewer survives the trip to
// a double and back), and its plain form is written straight from them: the
// whole part, then the four decimals without their trailing zeros. The
// length written, or 0 when the value is not such a number.
std::size_t writeTenThousandths(double a, char* out)
{
    if (!(a >= 1e-4 && a < 1e11))
        return 0;
    const auto n = static_cast<unsigned long long>(a * 1e4 + 0.5);
    if (static_cast<double>(n) / 1e4 != a)
        return 0;
    const unsigned long long whole = n / 10000;
    const auto fraction = static_cast<unsigned>(n % 10000);
    char* p = out;
    if (whole > 0)
        p = std::to_chars(p, out + 16, whole).ptr;
    if (fraction > 0) {
        const char decimals[4] = {
            static_cast<char>('0' + fraction / 1000), static_cast<char>('0' + fraction / 100 % 10),
            static_cast<char>('0' + fraction / 10 % 10), static_cast<char>('0' + fraction % 10)};
        int kept = 4;
        while (decimals[kept - 1] == '0')
            --kept;
        *p++ = '.';
        for (int i = 0; i < kept; ++i)
            *p++ = decimals[i];
    }
    return static_cast<std::size_t>(p - out);
}

// Rounding the shortest text that reads back as the value gives the same 15
// digits as rounding the value itself, and is faster, for normal numbers:
// up to 15 digits the shortest text is that rounding, and beyond, the digits
// after the 15th fall on the same side of the half as the value does, unless
// they are exactly "5". That tie, and the subnormal numbers, which carry
// fewer digits, are rounded from the value.
SignificantDigits roundTo15Digits(double a)
{
    if (a < std::numeric_limits<double>::min())
        return withoutTrailingZeros(roundValueTo15Digits(a));
    char buffer[32];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, a, std::chars_format::scientific).ptr;
    const SignificantDigits shortest = parseScientific(buffer, end);
    if (shortest.length <= 15)
        return withoutTrailingZeros(shortest);
    if (shortest.length == 16 && shortest.digits[15] == '5')
        return withoutTrailingZeros(roundValueTo15Digits(a));
    return withoutTrailingZeros(roundDigitsTo15(shortest));
}

// Appends to a text held in a fixed buffer.
class Writer {
public:
    explicit Writer(char* out) : out_(out) {}
    void put(char c) { out_[length_++] = c; }
    void put(char c, int count)
    {
        for (int i = 0; i < count; ++i)
            put(c);
    }
    void put(const char* text, int count)
    {
        std::memcpy(out_ + length_, text, static_cast<std::size_t>(count));
        length_ += static_cast<std::size_t>(count);
    }
    std::size_t length() const { return length_; }

private:
    char* out_;
    std::size_t length_ = 0;
};

void writePlainForm(const SignificantDigits& d, Writer& w)
{
    if (d.exponent < 0) {
        w.put('.');
        w.put('0', -d.exponent - 1);
        w.put(d.digits, d.length);
    } else if (d.length <= d.exponent + 1) {
        w.put(d.digits, d.length);
        w.put('0', d.exponent + 1 - d.length);
    } else {
        w.put(d.digits, d.exponent + 1);
        w.put('.');
        w.put(d.digits + d.exponent + 1, d.length - d.exponent - 1);
    }
}

void writeExponentForm(const SignificantDigits& d, Writer& w)
{
    w.put(d.digits[0]);
    if (d.length > 1) {
        w.put('.');
        w.put(d.digits + 1, d.length - 1);
    }
    w.put('E');
    w.put(d.exponent < 0 ? '-' : '+');
    const int magnitude = std::abs(d.exponent);
    if (magnitude < 10)
        w.put('0');
    char digits[8];
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    w.put(digits, static_cast<int>(end - digits));
}

} // namespace

UnsignedDefaultText::UnsignedDefaultText(double positive)
{
    length_ = writeTenThousandths(positive, text_);
    if (length_ > 0)
        return;
    const SignificantDigits d = roundTo15Digits(positive);
    Writer w(text_);
    if (d.exponent >= -4 && d.exponent < 15)
        writePlainForm(d, w);
    else
        writeExponentForm(d, w);
    length_ = w.length();
}

void appendDefaultNumberText(std::string& out, double x)
{
    if (std::isnan(x)) {
        out += " nan";
        return;
    }
    if (x == 0) {
        out += " 0";
        return;
    }
    out += std::signbit(x) ? '-' : ' ';
    if (std::isinf(x))
        out += "inf";
    else
        out += UnsignedDefaultText(std::fabs(x)).view();
}

std::string defaultNumberText(double x)
{
    std::string text;
    appendDefaultNumberText(text, x);
    return text;
}
