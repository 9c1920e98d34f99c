// Arbitrary bytes as the box, with the delimiter chosen by the first byte:
// the graph's rows and columns keep to their bounds, and everything the
// graph draws or prints is finite and free of exponents, with and without a
// straight-line fit and axes from zero.

#include "data/data_field.h"
#include "fuzz_check.h"
#include "graph/graph_plot.h"

#include <cmath>
#include <cstdint>

namespace {

void checkAxis(const Axis& axis)
{
    fuzzCheck(std::isfinite(axis.low) && std::isfinite(axis.high) && axis.low < axis.high,
              "an axis range is not finite or empty");
    fuzzCheck(axis.ticks.size() == axis.labels.size() && axis.ticks.size() <= 20,
              "ticks and labels disagree");
    for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
        fuzzCheck(axis.ticks[i] >= axis.low && axis.ticks[i] <= axis.high, "a tick off the axis");
        fuzzCheck(axis.labels[i].find_first_of("eEn") == std::string::npos,
                  "a tick label with an exponent, inf or nan");
    }
}

// A fitted fit's values and uncertainties, and the numbers of its text.
bool printsOnlyFiniteNumbers(const CurveFit& fit)
{
    for (const double value : fit.values)
        if (!std::isfinite(value))
            return false;
    for (const double value : fit.uncertainties)
        if (!std::isfinite(value))
            return false;
    const std::string text = describeFit(fit);
    return text.find("∞") == std::string::npos && text.find("not a number") == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const char delimiters[] = {',', '\t', ';', ' '};
    const std::string_view box(reinterpret_cast<const char*>(data) + 1, size - 1);
    const GraphTable table = readGraphTable(box, delimiters[data[0] % 4]);
    fuzzCheck(table.rows.size() == static_cast<std::size_t>(table.dataRows) &&
                  table.columns <= mostPlottedColumns,
              "the table is larger than the graph plots");
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& row = table.rows[r];
        const std::string_view line = table.lineTexts[r];
        fuzzCheck(!row.empty() &&
                      readDataField(line.substr(0, line.find(delimiters[data[0] % 4])))
                          .beginsWithNumber,
                  "a data row whose first field does not begin with a number");
        for (const auto& value : row)
            fuzzCheck(!value || std::isfinite(*value), "a value that is not finite");
    }
    for (const bool fromZero : {false, true}) {
        GraphChoice choice = defaultChoice(table);
        choice.fromZero = fromZero;
        // Every built-in model, chosen by the first byte.
        choice.model.kind = modelKinds()[1 + data[0] / 4 % (modelKinds().size() - 2)];
        choice.residuals = true;
        const GraphPlot plot = plotGraph(table, choice);
        checkAxis(plot.x);
        checkAxis(plot.y);
        // The fit's own text: the notes quote the box's lines, which may hold
        // any words.
        fuzzCheck(!plot.fit->fitted() || printsOnlyFiniteNumbers(*plot.fit),
                  "the fit text prints a number that is not finite");
        for (const auto& piece : plot.curve)
            for (const Point& p : piece)
                fuzzCheck(std::isfinite(p.x) && std::isfinite(p.y), "a curve point not finite");
    }
    return 0;
}
