// addLeadingZero either leaves the text alone or puts "0" or "-0" before a
// point that ends the text; what it returns always reads as a finite number.

#include "data/leading_zero.h"
#include "data/number_reading.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string result = addLeadingZero(text);
    if (result != text) {
        const std::size_t prefix = result.find('.');
        fuzzCheck(result.substr(0, prefix) == "0" || result.substr(0, prefix) == "-0",
                  "unexpected prefix in " + result);
        fuzzCheck(text.ends_with(std::string_view(result).substr(prefix)),
                  "the text after the point changed");
    }
    fuzzCheck(std::isfinite(readNumber(result)), "not finite after addLeadingZero");
    return 0;
}
