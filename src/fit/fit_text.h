#pragma once

#include "fit/curve_fit.h"

#include <optional>
#include <string>

// The part of the points a fit was restricted to: x from `from` to `to`
// (either may be open), `fitted` of `total` points inside.
struct FitRange {
    std::optional<double> from;
    std::optional<double> to;
    int fitted = 0;
    int total = 0;
};

// What the graph window (and the batch fit) says about a fit: the model's
// equation, each parameter "NAME = VALUE ± UNCERTAINTY", the number of
// points, s and R², numbers in the form of lab reports; or why there is no
// fit. The straight line keeps its own sentences. Several lines.
std::string describeFit(const CurveFit& fit, const std::optional<FitRange>& range = {});

// The warning for a fit that explains the data hardly better than their
// mean (R² below 0.1), which the fit text gives and the batch repeats on
// standard error; nothing otherwise.
std::optional<std::string> poorFitWarning(const CurveFit& fit);
