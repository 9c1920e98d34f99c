#include "fit/fit_text.h"

#include "format/report_number.h"

namespace {

std::string pointCount(int n) { return std::to_string(n) + (n == 1 ? " point" : " points"); }

std::string rangeSentence(const FitRange& range)
{
    std::string text = "fitted";
    if (range.from)
        text += " from x = " + typedValue(*range.from);
    if (range.to)
        text += " to x = " + typedValue(*range.to);
    return text + " (" + std::to_string(range.fitted) + " of " + std::to_string(range.total) +
           " points)";
}

std::string rSquaredLine(const CurveFit& fit)
{
    std::string line = "R² " + (fit.rSquared ? rSquaredRelation(*fit.rSquared)
                                             : std::string("= not defined (all y are equal)"));
    if (const std::optional<std::string> warning = poorFitWarning(fit))
        line.append(1, '\n').append(*warning);
    return line;
}

// χ², its probability and what it says, for a weighted fit; why the fit is
// unweighted when uncertainties could not weight it.
std::string chiSquaredLines(const CurveFit& fit)
{
    if (!fit.weightingNote.empty())
        return fit.weightingNote + "\n";
    if (!fit.weighted || !fit.chiSquared)
        return {};
    std::string text = "χ² = " + significantValue(*fit.chiSquared, 3);
    if (fit.degreesOfFreedom > 0) {
        text += " for " + std::to_string(fit.degreesOfFreedom) +
                (fit.degreesOfFreedom == 1 ? " degree" : " degrees") +
                " of freedom (reduced χ² = " +
                significantValue(*fit.chiSquared / fit.degreesOfFreedom, 3) + ")";
    }
    text += "\n";
    if (fit.pValue) {
        text += "P = " + significantValue(*fit.pValue, 2) + "\n";
        if (*fit.pValue < 0.05)
            text += "the data scatter more than their uncertainties allow: the model or the "
                    "uncertainties may be wrong\n";
        else if (*fit.pValue > 0.95)
            text += "the data scatter less than their uncertainties suggest: the uncertainties may "
                    "be too large\n";
    }
    return text;
}

// The last line: what ± means.
std::string plusMinusLine(const CurveFit& fit, const char* undefined)
{
    if (fit.weighted)
        return "± from the given uncertainties";
    return fit.uncertainties.empty() ? undefined
                                     : "± gives the standard uncertainty (one standard deviation).";
}

// "9.779 ± 0.015 m/s²": the unit, when the parameter has one, after the number.
std::string parameterValue(const CurveFit& fit, std::size_t k)
{
    const std::string value = fit.uncertainties.empty()
                                  ? significantValue(fit.values[k])
                                  : valueWithUncertainty(fit.values[k], fit.uncertainties[k]);
    const bool hasUnit = k < fit.units.size() && !fit.units[k].empty();
    const std::string note =
        fit.uncertainties.empty() ? "" : precisionNote(fit.values[k], fit.uncertainties[k]);
    return (hasUnit ? value + " " + fit.units[k] : value) + note;
}

std::string describeLine(const CurveFit& fit)
{
    if (!fit.fitted())
        return "Straight-line fit: " + fit.failure + ".";
    std::string text = "Straight-line fit y = m x + b through " + pointCount(fit.points) + ":\n";
    text += "slope m = " + parameterValue(fit, 0) + "\n";
    text += "intercept b = " + parameterValue(fit, 1) + "\n";
    text += rSquaredLine(fit) + "\n";
    text += chiSquaredLines(fit);
    text += plusMinusLine(fit, "The uncertainties are not defined for two points.");
    return text;
}

std::string describeModel(const CurveFit& fit)
{
    const std::string equation = modelEquation(fit.model);
    if (!fit.fitted())
        return "Fit " + equation + ": " + fit.failure + ".";
    std::string text = "Fit " + equation + " through " + pointCount(fit.points) + ":\n";
    for (std::size_t k = 0; k < fit.values.size(); ++k)
        text += fit.names[k] + " = " + parameterValue(fit, k) + "\n";
    if (fit.residualStandardDeviation)
        text +=
            "root-mean-square deviation s = " + significantValue(*fit.residualStandardDeviation) +
            "\n";
    text += rSquaredLine(fit) + "\n";
    text += chiSquaredLines(fit);
    if (!fit.startNote.empty())
        text += fit.startNote + "\n";
    text +=
        plusMinusLine(fit, "The uncertainties are not defined for as many points as parameters.");
    return text;
}

} // namespace

std::optional<std::string> poorFitWarning(const CurveFit& fit)
{
    constexpr double leastExplained = 0.1;
    if (!fit.fitted() || !fit.rSquared || *fit.rSquared >= leastExplained)
        return std::nullopt;
    std::string warning = "warning: the curve explains the data hardly better than their mean "
                          "does; the model may not suit them";
    if (fit.model.kind == ModelKind::OwnEquation)
        warning += ", or the fit found a poor solution (give starting values near the ones you "
                   "expect)";
    return warning;
}

std::string describeFit(const CurveFit& fit, const std::optional<FitRange>& range)
{
    std::string text = fit.model.kind == ModelKind::Line ? describeLine(fit) : describeModel(fit);
    if (range)
        text.append(1, '\n').append(rangeSentence(*range));
    return text;
}
