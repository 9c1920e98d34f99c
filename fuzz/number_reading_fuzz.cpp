// The number a piece of data begins with: always a finite number, and 0
// wherever the text is said to hold no number. The strict reading of the
// graph takes a number only where the whole field is one.

#include "data/data_field.h"
#include "data/fields.h"
#include "data/number_reading.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = readNumber(text);
    fuzzCheck(std::isfinite(value), "readNumber gave a value that is not finite");
    fuzzCheck(readNumberIfAny(text).value_or(0.0) == value,
              "readNumber and readNumberIfAny disagree");
    const std::optional<double> leading = leadingNumber(text);
    fuzzCheck(!leading || std::isfinite(*leading), "leadingNumber gave a value that is not finite");
    fuzzCheck(leading.value_or(0.0) == leadingValue(text),
              "leadingNumber and leadingValue disagree");
    const DataField field = readDataField(text);
    const std::string_view whole = withoutBlanks(text);
    fuzzCheck(!field.number || whole.starts_with('&') || readAnswer(whole) == field.number,
              "the strict reading took a number that is not the whole field");
    fuzzCheck(!field.number || std::isfinite(*field.number), "a strict number that is not finite");
    fuzzCheck(!field.malformed || (field.beginsWithNumber && !field.number && !field.decimalComma),
              "a field named as a typo that is a number or a decimal comma");
    fuzzCheck(field.number || field.malformed || field.decimalComma || !field.beginsWithNumber,
              "a field that begins as a number, is none, and is not named");
    return 0;
}
