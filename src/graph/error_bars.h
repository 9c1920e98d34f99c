#pragma once

#include "fit/curve_fit.h"
#include "fit/extreme_lines.h"
#include "graph/graph_table.h"

#include <optional>
#include <string>
#include <vector>

// Where the uncertainties of x or y come from: none, a column of the box
// (from 1), one fixed value, or a percentage of each value.
struct UncertaintyChoice {
    enum class Kind { None, Column, Fixed, Percentage };
    Kind kind = Kind::None;
    int column = 0;
    double value = 0; // the fixed value, or the percentage

    bool operator==(const UncertaintyChoice&) const = default;
};

// The uncertainty of a value: NaN where there is none (the column holds no
// number there, or a negative one).
double uncertaintyOf(const UncertaintyChoice& choice, const RowNumbers& row, double value);

// "2 rows have no uncertainty in column 3"; empty when every row has one.
std::string rowsWithoutUncertainty(int rows, const UncertaintyChoice& choice);

// The steepest and shallowest lines through every error bar of the points
// that have them, and the sentences that give them: both slopes and the
// slope from the error bars (their middle ± half their difference); or why
// there are none, naming how many bars the least-squares line misses.
struct ExtremeLinesResult {
    std::optional<ExtremeLines> lines;
    std::vector<std::string> text;
};

ExtremeLinesResult extremeLinesThrough(const std::vector<ErrorBox>& boxes,
                                       const std::optional<CurveFit>& leastSquares);
