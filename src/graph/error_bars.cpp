#include "graph/error_bars.h"

#include "format/report_number.h"

#include <algorithm>
#include <cmath>
#include <set>

double uncertaintyOf(const UncertaintyChoice& choice, const RowNumbers& row, double value)
{
    const double none = std::nan("");
    switch (choice.kind) {
    case UncertaintyChoice::Kind::None:
        return none;
    case UncertaintyChoice::Kind::Column: {
        const auto column = static_cast<std::size_t>(choice.column);
        if (choice.column < 1 || column > row.size() || !row[column - 1] || *row[column - 1] < 0)
            return none;
        return *row[column - 1];
    }
    case UncertaintyChoice::Kind::Fixed:
        return choice.value >= 0 ? choice.value : none;
    case UncertaintyChoice::Kind::Percentage:
        return choice.value >= 0 ? std::fabs(value) * choice.value / 100 : none;
    }
    return none;
}

std::string rowsWithoutUncertainty(int rows, const UncertaintyChoice& choice)
{
    if (rows == 0 || choice.kind == UncertaintyChoice::Kind::None)
        return {};
    std::string where = choice.kind == UncertaintyChoice::Kind::Column
                            ? "in column " + std::to_string(choice.column)
                            : std::string("(the uncertainty is not a number of 0 or more)");
    return std::to_string(rows) + (rows == 1 ? " row has" : " rows have") + " no uncertainty " +
           where;
}

ExtremeLinesResult extremeLinesThrough(const std::vector<ErrorBox>& boxes,
                                       const std::optional<CurveFit>& leastSquares)
{
    ExtremeLinesResult result;
    std::set<double> xs;
    for (const ErrorBox& box : boxes)
        xs.insert(box.x);
    if (xs.size() < 2) {
        result.text.push_back("the steepest and shallowest lines need error bars at two x values "
                              "or more");
        return result;
    }
    result.lines = extremeLines(boxes);
    if (!result.lines) {
        std::string sentence = "no straight line passes through every error bar";
        if (leastSquares && leastSquares->fitted()) {
            const Line line{leastSquares->values[0], leastSquares->values[1]};
            const auto missed = std::count_if(boxes.begin(), boxes.end(),
                                              [&](const ErrorBox& b) { return !crosses(line, b); });
            sentence += "; the line misses the bars of " + std::to_string(missed) +
                        (missed == 1 ? " point" : " points");
        }
        result.text.push_back(sentence);
        return result;
    }
    const double steepest = result.lines->steepest.slope;
    const double shallowest = result.lines->shallowest.slope;
    result.text.push_back("steepest line through every error bar: m = " +
                          significantValue(steepest));
    result.text.push_back("shallowest line through every error bar: m = " +
                          significantValue(shallowest));
    result.text.push_back(
        "slope from the error bars: m = " +
        valueWithUncertainty(steepest / 2 + shallowest / 2, steepest / 2 - shallowest / 2));
    return result;
}
