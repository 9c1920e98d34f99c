// Any points and error bars: the steepest and shallowest lines never crash,
// and when they exist they really pass through every bar (up to the rounding
// of numbers of the boxes' size), the steepest rising no less than the
// shallowest.

#include "fit/extreme_lines.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Each box from 8 bytes: x and y as small whole numbers with a fraction,
    // and their uncertainties; a byte's top bit scales to very large or small.
    std::vector<ErrorBox> boxes;
    for (std::size_t i = 0; i + 8 <= size && boxes.size() < 64; i += 8) {
        const auto number = [&](std::size_t k, bool positive) {
            const double whole = static_cast<std::int8_t>(data[i + k]);
            const double fraction = data[i + k + 1] / 256.0;
            const double value = (positive ? std::fabs(whole) : whole) / 16 + fraction / 8;
            return data[i + k + 1] & 0x80 ? std::ldexp(value, data[i + k] % 64 - 32) : value;
        };
        boxes.push_back({number(0, false), number(2, false), number(4, true), number(6, true)});
    }
    const std::optional<ExtremeLines> lines = extremeLines(boxes);
    if (!lines)
        return 0;
    fuzzCheck(std::isfinite(lines->steepest.slope) && std::isfinite(lines->shallowest.slope),
              "a slope that is not finite");
    fuzzCheck(lines->steepest.slope >= lines->shallowest.slope,
              "the steepest line is shallower than the shallowest");
    const double steepSlack = roundingOf(lines->steepest, boxes);
    const double shallowSlack = roundingOf(lines->shallowest, boxes);
    for (const ErrorBox& box : boxes)
        fuzzCheck(crosses(lines->steepest, box, steepSlack) &&
                      crosses(lines->shallowest, box, shallowSlack),
                  "a line misses a bar");
    return 0;
}
