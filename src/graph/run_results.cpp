#include "graph/run_results.h"

#include "format/report_number.h"

#include <algorithm>
#include <cmath>

namespace {

// The values' names of all runs, in the order they first come, with the
// unit the first run that has it writes.
std::vector<RunValue> valueColumns(const std::vector<RunPlot>& runs)
{
    std::vector<RunValue> columns;
    for (const RunPlot& run : runs)
        for (const RunValue& value : run.values)
            if (std::none_of(columns.begin(), columns.end(),
                             [&](const RunValue& column) { return column.name == value.name; }))
                columns.push_back(value);
    return columns;
}

const RunValue* valueNamed(const RunPlot& run, const std::string& name)
{
    for (const RunValue& value : run.values)
        if (value.name == name)
            return &value;
    return nullptr;
}

const RunPlot* firstFitted(const std::vector<RunPlot>& runs)
{
    for (const RunPlot& run : runs)
        if (run.fit && run.fit->fitted())
            return &run;
    return nullptr;
}

std::string withUnit(const std::string& name, const std::string& unit)
{
    return unit.empty() ? name : name + " (" + unit + ")";
}

std::string joined(const std::vector<std::string>& cells, const std::string& between)
{
    std::string line;
    for (std::size_t k = 0; k < cells.size(); ++k)
        line.append(k == 0 ? "" : between).append(cells[k]);
    return line;
}

// "A sin(B x + C) + D": the model's equation without "y = ".
std::string equationOf(const ModelChoice& model)
{
    const std::string equation = modelEquation(model);
    return equation.rfind("y = ", 0) == 0 ? equation.substr(4) : equation;
}

std::string resultName(const FitResult& result)
{
    return result.name.empty() ? result.formula : result.name;
}

std::string quality(const CurveFit& fit)
{
    if (fit.weighted && fit.chiSquared)
        return "χ² = " + significantValue(*fit.chiSquared, 3) +
               (fit.pValue ? ", P = " + significantValue(*fit.pValue, 2) : std::string());
    return fit.rSquared ? "R² " + rSquaredRelation(*fit.rSquared) : std::string("R² not defined");
}

std::string measured(double value, double uncertainty)
{
    return std::isfinite(uncertainty) ? valueWithUncertainty(value, uncertainty)
                                      : significantValue(value);
}

} // namespace

std::vector<std::string> runsTableText(const std::vector<RunPlot>& runs, const ModelChoice& model)
{
    if (model.kind == ModelKind::None || runs.empty())
        return {};
    const std::vector<RunValue> values = valueColumns(runs);
    const RunPlot* fitted = firstFitted(runs);
    std::vector<std::string> header = {"run"};
    for (const RunValue& value : values)
        header.push_back(withUnit(value.name, value.unit));
    if (fitted) {
        const CurveFit& fit = *fitted->fit;
        for (std::size_t k = 0; k < fit.names.size(); ++k)
            header.push_back(withUnit(fit.names[k], k < fit.units.size() ? fit.units[k] : ""));
        header.push_back(fit.weighted ? "χ², P" : "R²");
        for (const FitResult& result : fitted->results)
            header.push_back(withUnit(resultName(result), result.unit));
    }
    std::vector<std::string> lines = {"Fit " + modelEquation(model) + ", each run on its own:",
                                      joined(header, "\t")};
    for (const RunPlot& run : runs) {
        std::vector<std::string> row = {run.name};
        for (const RunValue& column : values) {
            const RunValue* value = valueNamed(run, column.name);
            row.push_back(value ? typedValue(value->value) : "");
        }
        if (!run.fit || !run.fit->fitted()) {
            row.push_back("no fit: " + (run.fit ? run.fit->failure : std::string("no points")));
            lines.push_back(joined(row, "\t"));
            continue;
        }
        const CurveFit& fit = *run.fit;
        for (std::size_t k = 0; k < fit.values.size(); ++k)
            row.push_back(
                measured(fit.values[k], fit.uncertainties.empty() ? NAN : fit.uncertainties[k]));
        row.push_back(quality(fit));
        for (const FitResult& result : run.results)
            row.push_back(result.failure.empty() ? measured(result.value, result.uncertainty)
                                                 : result.failure);
        lines.push_back(joined(row, "\t"));
    }
    return lines;
}

std::vector<std::string> resultsBlockLines(const std::vector<RunPlot>& runs,
                                           const ModelChoice& model, char delimiter)
{
    const RunPlot* fitted = firstFitted(runs);
    if (!fitted)
        return {};
    const std::string between(1, delimiter);
    const std::vector<RunValue> values = valueColumns(runs);
    const CurveFit& first = *fitted->fit;
    std::vector<std::string> header = {"run"};
    for (const RunValue& value : values)
        header.push_back(withUnit(value.name, value.unit));
    for (std::size_t k = 0; k < first.names.size(); ++k) {
        header.push_back(withUnit(first.names[k], k < first.units.size() ? first.units[k] : ""));
        header.push_back("u(" + first.names[k] + ")");
    }
    for (const FitResult& result : fitted->results) {
        header.push_back(withUnit(resultName(result), result.unit));
        header.push_back("u(" + resultName(result) + ")");
    }
    std::vector<std::string> lines = {"Results: " + equationOf(model), joined(header, between)};
    for (const RunPlot& run : runs) {
        if (!run.fit || !run.fit->fitted())
            continue;
        std::vector<std::string> row = {std::to_string(run.block + 1)};
        for (const RunValue& column : values) {
            const RunValue* value = valueNamed(run, column.name);
            row.push_back(value ? typedValue(value->value) : "");
        }
        const CurveFit& fit = *run.fit;
        for (std::size_t k = 0; k < fit.values.size(); ++k) {
            const BoxFields fields =
                boxFields(fit.values[k], fit.uncertainties.empty() ? NAN : fit.uncertainties[k]);
            row.push_back(fields.value);
            row.push_back(fields.uncertainty);
        }
        for (const FitResult& result : run.results) {
            const BoxFields fields =
                result.failure.empty() ? boxFields(result.value, result.uncertainty) : BoxFields{};
            row.push_back(fields.value);
            row.push_back(fields.uncertainty);
        }
        lines.push_back(joined(row, between));
    }
    return lines;
}
