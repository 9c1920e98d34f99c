#pragma once

#include "fit/curve_fit.h"

#include <string>
#include <string_view>
#include <vector>

// A quantity worked out from a fit's parameters, "4*pi^2/m", with its
// standard uncertainty from their full covariance matrix C: u² = gᵀ C g, g
// the formula's gradient, so that correlated parameters count (-b/m).
struct FitResult {
    std::string name;    // "g" of "g = 4*pi^2/m"; empty when the formula has none
    std::string formula; // as typed (after "NAME =" when named), without blanks around it
    // From the parameters' units ("m/s^2" for 4*pi^2/m with m in s²/m);
    // empty where a parameter has none or the formula gives none.
    std::string unit;
    double value = 0;
    // NaN when the fit gives no uncertainties (as many points as
    // parameters) or the formula has no gradient there.
    double uncertainty = 0;
    // Why a value has no uncertainty although the fit gives them; or empty.
    std::string note;
    // Why there is no value, in the program's words; empty when there is one.
    std::string failure;
    // The failure is the formula's own (it cannot be read, or it names
    // something that is not a parameter), not the fitted values'.
    bool unusable = false;
};

// Each formula of `formulas`, separated by ";", in the fit's parameter names,
// each may be named ("g = 4*pi^2/m"); none when the fit failed.
std::vector<FitResult> fitResults(const CurveFit& fit, std::string_view formulas);

// "4*pi^2/m = 9.779 ± 0.015 m/s^2" ("g = ..." when named) in the fit text's
// number form, or the formula and why it has no value.
std::string describeResult(const FitResult& result);
