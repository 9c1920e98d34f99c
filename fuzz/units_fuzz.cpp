// Arbitrary text as a unit, and as a formula whose names have units: never a
// crash; a unit the program writes reads back as the same unit; what a
// formula gives is a unit that reads back too.

#include "formula/equation.h"
#include "formula/units.h"
#include "fuzz_check.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string written = Unit::read(text).text();
    fuzzCheck(written.empty() || Unit::read(written).text() == written,
              "a unit written by the program does not read back as itself");
    auto read = Equation::read(text);
    if (const auto* equation = std::get_if<Equation>(&read)) {
        static const char* const units[] = {"m", "s", "kg m/s^2", "°C", "1/s", ""};
        std::vector<Unit> given;
        for (std::size_t k = 0; k < equation->names().size(); ++k)
            given.push_back(Unit::read(units[k % 6]));
        const std::string unit = equation->unitOf(given).text();
        fuzzCheck(unit.empty() || Unit::read(unit).text() == unit,
                  "a formula's unit does not read back as itself");
    }
    return 0;
}
