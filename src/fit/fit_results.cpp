#include "fit/fit_results.h"

#include "data/fields.h"
#include "format/report_number.h"
#include "formula/equation.h"
#include "formula/propagation.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <variant>

namespace {

std::vector<std::string> formulasOf(std::string_view text)
{
    std::vector<std::string> formulas;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        if (const std::string_view formula = withoutBlanks(text.substr(start, end - start));
            !formula.empty())
            formulas.emplace_back(formula);
        start = end + 1;
    }
    return formulas;
}

// "m and b", "A, B, C and D".
std::string parameterList(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

FitResult failed(FitResult result, std::string why, bool unusable)
{
    result.failure = std::move(why);
    result.unusable = unusable;
    return result;
}

// "g = 4*pi^2/m": the name before "=" when it is one, and the formula after.
std::pair<std::string, std::string> nameAndFormula(const std::string& text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
        return {{}, text};
    const std::string_view name = withoutBlanks(std::string_view(text).substr(0, equals));
    if (!isVariableName(name))
        return {{}, text};
    return {std::string(name),
            std::string(withoutBlanks(std::string_view(text).substr(equals + 1)))};
}

// The formula's unit from the units of the parameters it uses.
std::string unitOfResult(const Equation& formula, const CurveFit& fit,
                         const std::vector<std::size_t>& parameter)
{
    std::vector<Unit> units;
    for (const std::size_t k : parameter)
        units.push_back(k < fit.units.size() ? Unit::read(fit.units[k]) : Unit::unknown());
    return formula.unitOf(units).text();
}

FitResult resultOf(const CurveFit& fit, const std::string& text)
{
    FitResult result;
    std::tie(result.name, result.formula) = nameAndFormula(text);
    auto read = Equation::read(result.formula);
    if (const auto* error = std::get_if<EquationError>(&read))
        return failed(result,
                      "cannot be read at character " + std::to_string(error->character) + ": " +
                          error->reason,
                      true);
    Equation& formula = std::get<Equation>(read);
    const std::size_t p = fit.names.size();
    std::vector<std::size_t> parameter; // of each name of the formula
    for (const std::string& name : formula.names()) {
        const auto at = std::find(fit.names.begin(), fit.names.end(), name);
        if (at == fit.names.end())
            return failed(result,
                          "\"" + name + "\" is not a parameter of this fit; its parameters are " +
                              parameterList(fit.names),
                          true);
        parameter.push_back(static_cast<std::size_t>(at - fit.names.begin()));
    }
    std::vector<double> values, covariance;
    for (const std::size_t k : parameter)
        values.push_back(fit.values[k]);
    for (const std::size_t i : parameter)
        for (const std::size_t j : parameter)
            covariance.push_back(fit.covariance.empty() ? 0 : fit.covariance[i * p + j]);
    const Propagated propagated = propagateCorrelated(formula, values, covariance);
    if (!std::isfinite(propagated.value))
        return failed(result, "gives no number with these parameter values", false);
    result.value = propagated.value;
    result.unit = unitOfResult(formula, fit, parameter);
    result.uncertainty = fit.covariance.empty() ? std::nan("") : propagated.uncertainty;
    if (!fit.covariance.empty() && std::isnan(result.uncertainty))
        result.note = "its uncertainty cannot be worked out: the formula has no finite slope at "
                      "these parameter values";
    return result;
}

} // namespace

std::vector<FitResult> fitResults(const CurveFit& fit, std::string_view formulas)
{
    std::vector<FitResult> results;
    if (!fit.fitted())
        return results;
    for (const std::string& formula : formulasOf(formulas))
        results.push_back(resultOf(fit, formula));
    return results;
}

std::string describeResult(const FitResult& result)
{
    const std::string& said = result.name.empty() ? result.formula : result.name;
    if (!result.failure.empty())
        return said + ": " + result.failure;
    const std::string unit = result.unit.empty() ? "" : " " + result.unit;
    if (std::isfinite(result.uncertainty))
        return said + " = " + valueWithUncertainty(result.value, result.uncertainty) + unit +
               precisionNote(result.value, result.uncertainty);
    const std::string value = said + " = " + significantValue(result.value) + unit;
    return result.note.empty() ? value : value + " (" + result.note + ")";
}
