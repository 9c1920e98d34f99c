// The number a piece of data begins with: always a finite number.

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
    return 0;
}
