// The number a piece of data begins with: always a finite number, and 0
// wherever the text is said to hold no number.

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
    return 0;
}
