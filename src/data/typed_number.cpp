#include "data/typed_number.h"

#include "data/fields.h"
#include "data/number_reading.h"

#include <algorithm>

TypedNumber readTypedNumber(std::string_view text, bool percentage)
{
    TypedNumber typed;
    std::string_view number = withoutBlanks(text);
    if (number.empty()) {
        typed.empty = true;
        return typed;
    }
    if (percentage && number.back() == '%')
        number = withoutBlanks(number.substr(0, number.size() - 1));
    // One decimal comma, where there is no point: "400,5" is 400.5.
    std::string withPoint(number);
    if (std::count(withPoint.begin(), withPoint.end(), ',') == 1 &&
        withPoint.find('.') == std::string::npos)
        withPoint[withPoint.find(',')] = '.';
    typed.value = readAnswer(withPoint);
    if (!typed.value)
        typed.reason = std::string(1, '"').append(withoutBlanks(text)).append("\" is not a number");
    return typed;
}
