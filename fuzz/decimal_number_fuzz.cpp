// Any bit pattern of a double, negative zero, subnormals, infinities and NaN
// included: the rendering and the default text keep their properties.

#include "fuzz_check.h"
#include "rendering_properties.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(double))
        return 0;
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    const std::string rendering = rendering_properties::checkDecimalNumber(x);
    fuzzCheck(rendering.empty(), rendering);
    const std::string defaultText = rendering_properties::checkDefaultText(x);
    fuzzCheck(defaultText.empty(), defaultText);
    return 0;
}
