// Any text as an equation: it reads, or it says where it cannot be read;
// a readable one evaluates at many points and fits a few points, never
// crashing, never hanging and never showing a number that is not finite.
// The same text as the formula of "calculate column" on a small box with an
// uncertainty column: the box keeps its lines, or stays as it was with one
// message; the uncertainty propagated to it at a point is a finite number or
// none, never an infinity, and its value is the one evaluation gives; as the result of a fit, its
// line shows no number that is not finite.

#include "commands/calculate_column.h"
#include "fit/curve_fit.h"
#include "fit/fit_results.h"
#include "fit/fit_text.h"
#include "formula/equation.h"
#include "formula/propagation.h"
#include "fuzz_check.h"
#include "scratch_directory.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

namespace {

class FormulaBox : public UserInterface {
public:
    std::string box = "t (s),T (C),u(T) (C)\r\n0,80,0.5\r\n\r\n60,62.5,x\r\nnote\r\n120,0,-1";
    std::string formula;
    int messages = 0;
    std::string readBox() const override { return box; }
    void replaceBox(const std::string& text, std::size_t) override { box = text; }
    void showMessage(const std::string&) override { ++messages; }
    std::string askText(const std::string&, const std::string&) override { return formula; }
};

void calculateAColumn(std::string_view formula)
{
    const std::filesystem::path& directory = scratchDirectory();
    FormulaBox screen;
    screen.formula = std::string(formula);
    const std::string before = screen.box;
    auto state = std::make_unique<WorkingState>();
    CommandContext context{screen, *state, directory};
    calculateColumn(context);
    if (screen.box == before) {
        const bool blank = formula.find_first_not_of(" \t") == std::string_view::npos;
        fuzzCheck(screen.messages == (blank ? 0 : 1), "a refusal without its one message");
        return;
    }
    fuzzCheck(std::count(screen.box.begin(), screen.box.end(), '\n') ==
                  std::count(before.begin(), before.end(), '\n'),
              "the box gained or lost a line");
    // The formula's text stands in the header, the first line; the rows below.
    const std::string rows = screen.box.substr(screen.box.find('\n'));
    fuzzCheck(rows.find("inf") == std::string::npos && rows.find("nan") == std::string::npos,
              "a column holds a number that is not finite");
}

void propagateAtAPoint(Equation& equation)
{
    std::vector<double> values, uncertainties;
    for (std::size_t k = 0; k < equation.names().size(); ++k) {
        values.push_back(0.75 * static_cast<double>(k) - 0.5);
        uncertainties.push_back(k % 3 == 2 ? 0 : 0.1 * static_cast<double>(k + 1));
    }
    std::vector<double> gradient(values.size());
    const double differentiated = equation.valueAndGradient(values.data(), gradient.data());
    const double evaluated = equation.evaluateAt(values.data());
    fuzzCheck(differentiated == evaluated || (std::isnan(differentiated) && std::isnan(evaluated)),
              "the differentiated value is not the evaluated one");
    const Propagated propagated = propagateIndependent(equation, values, uncertainties);
    fuzzCheck(!std::isinf(propagated.value) && !std::isinf(propagated.uncertainty) &&
                  !(std::isnan(propagated.value) && !std::isnan(propagated.uncertainty)) &&
                  !(propagated.uncertainty < 0),
              "a propagated uncertainty that is infinite, negative or without its value");
    firstOrderHolds(equation, values, uncertainties, propagated);
}

void checkResultLine(const CurveFit& fit, std::string_view text)
{
    for (const FitResult& result : fitResults(fit, text)) {
        if (!result.failure.empty())
            continue;
        // The number after "FORMULA = ".
        const std::string shown = describeResult(result).substr(result.formula.size());
        fuzzCheck(std::isfinite(result.value) && shown.find("∞") == std::string::npos &&
                      shown.find("inf") == std::string::npos &&
                      shown.find("nan") == std::string::npos,
                  "a result shows a number that is not finite");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    calculateAColumn(text);
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
    propagateAtAPoint(equation);

    ModelChoice model;
    model.kind = ModelKind::OwnEquation;
    model.equation = std::string(text);
    const std::vector<Point> sample = {{0.5, 1}, {1, 2.5}, {2, 3.9}, {3, 6.2}, {4, 8.1}};
    const CurveFit fit = fitCurve(sample, model);
    // The text without the student's equation, which it repeats.
    std::string described = describeFit(fit);
    for (auto at = described.find(text); !text.empty() && at != std::string::npos;
         at = described.find(text))
        described.erase(at, text.size());
    ModelChoice line;
    line.kind = ModelKind::Line;
    checkResultLine(fitCurve(sample, line), text);
    fuzzCheck(described.find("∞") == std::string::npos &&
                  described.find("not a number") == std::string::npos,
              "the fit text shows a number that is not finite");
    return 0;
}
