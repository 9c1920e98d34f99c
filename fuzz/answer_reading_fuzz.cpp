// A typed answer is either not a number or a finite number whose default
// text reads back as an answer again.

#include "data/number_reading.h"
#include "format/default_text.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> value = readAnswer(text);
    if (!value)
        return 0;
    fuzzCheck(std::isfinite(*value), "an answer read as a value that is not finite");
    fuzzCheck(readAnswer(defaultNumberText(*value)).has_value(),
              "the default text of an answer is not an answer");
    fuzzCheck(answerIs(text, *value), "answerIs disagrees with readAnswer");
    return 0;
}
