// Any text as an equation: it reads, or it says where it cannot be read;
// a readable one evaluates at many points and fits a few points, never
// crashing, never hanging and never showing a number that is not finite.

#include "fit/curve_fit.h"
#include "fit/equation.h"
#include "fit/fit_text.h"
#include "fuzz_check.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto read = Equation::read(text);
    if (const auto* error = std::get_if<EquationError>(&read)) {
        fuzzCheck(error->character >= 1 && !error->reason.empty(), "an error without its place");
        return 0;
    }
    Equation& equation = std::get<Equation>(read);
    constexpr std::size_t points = 600; // beyond the first buffers
    for (std::size_t k = 0; k < equation.names().size(); ++k) {
        double* values = equation.values(k, points);
        for (std::size_t i = 0; i < points; ++i)
            values[i] = static_cast<double>(i) * 0.5 - static_cast<double>(k);
    }
    std::vector<double> results(points);
    equation.evaluate(points, results.data());

    ModelChoice model;
    model.kind = ModelKind::OwnEquation;
    model.equation = std::string(text);
    const std::vector<Point> sample = {{0.5, 1}, {1, 2.5}, {2, 3.9}, {3, 6.2}, {4, 8.1}};
    const CurveFit fit = fitCurve(sample, model);
    const std::string described = describeFit(fit);
    fuzzCheck(described.find("∞") == std::string::npos &&
                  described.find("not a number") == std::string::npos,
              "the fit text shows a number that is not finite");
    return 0;
}
