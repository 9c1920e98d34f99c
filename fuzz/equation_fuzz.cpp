// Any text as an equation: it reads, or it says where it cannot be read;
// a readable one evaluates at many points and fits a few points, never
// crashing, never hanging and never showing a number that is not finite.
// The same text as the formula of "calculate column" on a small box: the box
// keeps its lines, or stays as it was with one message.

#include "commands/calculate_column.h"
#include "fit/curve_fit.h"
#include "fit/equation.h"
#include "fit/fit_text.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>
#include <unistd.h>

namespace {

class FormulaBox : public UserInterface {
public:
    std::string box = "t (s),T (C)\r\n0,80\r\n\r\n60,62.5,x\r\nnote\r\n120";
    std::string formula;
    int messages = 0;
    std::string readBox() const override { return box; }
    void replaceBox(const std::string& text, std::size_t) override { box = text; }
    void showMessage(const std::string&) override { ++messages; }
    std::string askText(const std::string&, const std::string&) override { return formula; }
};

void calculateAColumn(std::string_view formula)
{
    static const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("benchtabler-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
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
