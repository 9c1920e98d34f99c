#include "data/number_reading.h"

#include "data/fields.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIgnoredBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// Length of the longest start of `text` that is a decimal number, 0 if none.
std::size_t decimalPrefixLength(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t integerStart = i;
    i = skipDigits(text, i);
    bool hasDigits = i > integerStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionStart = i + 1;
        const std::size_t fractionEnd = skipDigits(text, fractionStart);
        hasDigits = hasDigits || fractionEnd > fractionStart;
        i = fractionEnd;
    }
    if (!hasDigits)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t exponentEnd = skipDigits(text, j);
        if (exponentEnd > j)
            i = exponentEnd;
    }
    return i;
}

} // namespace

PlainNumber readPlainNumberPrefix(std::string_view text)
{
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    std::uint64_t mantissa = 0; // wraps beyond 19 digits, which are refused anyway
    const auto takeDigits = [&] {
        const char* const first = p;
        for (; p < end && isDigit(*p); ++p)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        return p - first;
    };
    const auto integerDigits = takeDigits();
    std::ptrdiff_t fractionDigits = 0;
    if (p < end && *p == '.') {
        ++p;
        fractionDigits = takeDigits();
    }
    const auto digits = integerDigits + fractionDigits;
    if (digits == 0 || digits > 15 ||
        (p < end && (*p == 'e' || *p == 'E' || *p == ' ' || *p == '\t' || *p == '\n')))
        return {};
    // A whole number below 2^53 over a power of ten up to 1E15 are both exact
    // in a double, so one division rounds correctly, as from_chars would.
    // Below 10^15 here: converted as a signed number, which is one instruction.
    const double value =
        static_cast<double>(static_cast<std::int64_t>(mantissa)) / powersOfTen[fractionDigits];
    return {negative ? -value : value, static_cast<std::size_t>(p - begin)};
}

std::optional<double> readPlainNumber(std::string_view text)
{
    const PlainNumber plain = readPlainNumberPrefix(text);
    if (plain.length == 0 || plain.length != text.size())
        return std::nullopt;
    return plain.value;
}

namespace {

// Converts a complete decimal number as found by decimalPrefixLength.
// Nothing when it is too large for a double; 0 when it is too small.
std::optional<double> convertDecimal(std::string_view number)
{
    if (const std::optional<double> plain = readPlainNumber(number))
        return plain;
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-')
        number.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars reports underflow and overflow alike: tell them apart
        // by where the first significant digit lands.
        const auto e = number.find_first_of("eE");
        const std::string_view mantissa = number.substr(0, e);
        long long exponent = 0;
        if (e != std::string_view::npos) {
            std::string_view digits = number.substr(e + 1);
            const bool negativeExponent = digits.front() == '-';
            if (digits.front() == '+' || digits.front() == '-')
                digits.remove_prefix(1);
            for (const char c : digits)
                exponent = exponent < 100000 ? exponent * 10 + (c - '0') : exponent;
            if (negativeExponent)
                exponent = -exponent;
        }
        const auto point = mantissa.find('.');
        const auto firstSignificant = mantissa.find_first_of("123456789");
        const long long integerDigits =
            static_cast<long long>(point == std::string_view::npos ? mantissa.size() : point);
        const long long position = static_cast<long long>(firstSignificant);
        const long long scale =
            position < integerDigits ? integerDigits - position - 1 : integerDigits - position;
        if (exponent + scale < 0)
            return negative ? -0.0 : 0.0;
        return std::nullopt;
    }
    return negative ? -value : value;
}

// A whole number in hexadecimal or octal digits, up to the first character
// that is not a digit of the base. Nothing when no digit is read, or when the
// number goes past 2^64 - 1, the largest whole number it can hold.
std::optional<double> readBased(std::string_view digits, unsigned base)
{
    std::uint64_t value = 0;
    bool hasDigits = false;
    for (const char c : digits) {
        unsigned digit = base;
        if (isDigit(c))
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        if (digit >= base)
            break;
        if (value > (UINT64_MAX - digit) / base)
            return std::nullopt;
        value = value * base + digit;
        hasDigits = true;
    }
    if (!hasDigits)
        return std::nullopt;
    return static_cast<double>(value);
}

} // namespace

std::optional<double> readNumberIfAny(std::string_view text)
{
    // Most fields are a plain number and nothing else: read in one pass.
    if (const std::optional<double> plain = readPlainNumber(text))
        return plain;

    // Most data has no blanks inside; only text that has them is compacted.
    std::string compact;
    std::string_view view = text;
    if (std::any_of(text.begin(), text.end(), isIgnoredBlank)) {
        compact.reserve(text.size());
        for (const char c : text)
            if (!isIgnoredBlank(c))
                compact += c;
        view = compact;
    }

    if (view.size() >= 2 && view[0] == '&') {
        if (view[1] == 'H' || view[1] == 'h')
            return readBased(view.substr(2), 16);
        if (view[1] == 'O' || view[1] == 'o')
            return readBased(view.substr(2), 8);
    }
    const std::size_t length = decimalPrefixLength(view);
    if (length == 0)
        return std::nullopt;
    return convertDecimal(view.substr(0, length));
}

double readNumber(std::string_view text) { return readNumberIfAny(text).value_or(0.0); }

std::optional<double> readAnswer(std::string_view answer)
{
    const std::string_view text = withoutBlanks(answer);
    const std::size_t length = decimalPrefixLength(text);
    if (length == 0 || length != text.size())
        return std::nullopt;
    return convertDecimal(text);
}

bool answerIs(std::string_view answer, double number)
{
    const std::optional<double> value = readAnswer(answer);
    return value && *value == number;
}
