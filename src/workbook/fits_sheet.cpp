#include "workbook/fits_sheet.h"

#include <algorithm>
#include <cmath>

namespace {

// A run as the fits sheet sees it: a plot of one block is one such run.
struct FittedRun {
    std::string name;
    const std::vector<RunValue>* values;
    const CurveFit* fit;
    const std::vector<FitResult>* results;
};

std::string withUnit(const std::string& name, const std::string& unit)
{
    return unit.empty() ? name : name + " (" + unit + ")";
}

std::string resultName(const FitResult& result)
{
    return result.name.empty() ? result.formula : result.name;
}

std::vector<RunValue> valueColumns(const std::vector<FittedRun>& runs)
{
    std::vector<RunValue> columns;
    for (const FittedRun& run : runs)
        for (const RunValue& value : *run.values)
            if (std::none_of(columns.begin(), columns.end(),
                             [&](const RunValue& column) { return column.name == value.name; }))
                columns.push_back(value);
    return columns;
}

std::vector<OwnCell> header(const std::vector<RunValue>& values, const FittedRun& first)
{
    std::vector<OwnCell> row = {OwnCell::of("run")};
    for (const RunValue& value : values)
        row.push_back(OwnCell::of(withUnit(value.name, value.unit)));
    row.push_back(OwnCell::of("model"));
    row.push_back(OwnCell::of("points"));
    const CurveFit& fit = *first.fit;
    for (std::size_t k = 0; k < fit.names.size(); ++k) {
        row.push_back(OwnCell::of(withUnit(fit.names[k], k < fit.units.size() ? fit.units[k] : "")));
        row.push_back(OwnCell::of("u(" + fit.names[k] + ")"));
    }
    for (const char* quality : {"R²", "χ²", "P", "degrees of freedom"})
        row.push_back(OwnCell::of(quality));
    for (const FitResult& result : *first.results) {
        row.push_back(OwnCell::of(withUnit(resultName(result), result.unit)));
        row.push_back(OwnCell::of("u(" + resultName(result) + ")"));
    }
    return row;
}

OwnCell optionalCell(const std::optional<double>& value)
{
    return value ? OwnCell::of(*value) : OwnCell{};
}

std::vector<OwnCell> fitRow(const std::vector<RunValue>& values, const FittedRun& run)
{
    std::vector<OwnCell> row = {OwnCell::of(run.name)};
    for (const RunValue& column : values) {
        const auto value = std::find_if(run.values->begin(), run.values->end(),
                                        [&](const RunValue& v) { return v.name == column.name; });
        row.push_back(value == run.values->end() ? OwnCell{} : OwnCell::of(value->value));
    }
    const CurveFit& fit = *run.fit;
    if (!fit.fitted()) {
        row.push_back(OwnCell::of("no fit: " + fit.failure));
        return row;
    }
    row.push_back(OwnCell::of(modelEquation(fit.model)));
    row.push_back(OwnCell::of(static_cast<double>(fit.points)));
    for (std::size_t k = 0; k < fit.values.size(); ++k) {
        row.push_back(OwnCell::of(fit.values[k]));
        row.push_back(k < fit.uncertainties.size() ? OwnCell::of(fit.uncertainties[k]) : OwnCell{});
    }
    row.push_back(fit.weighted ? OwnCell{} : optionalCell(fit.rSquared));
    row.push_back(fit.weighted ? optionalCell(fit.chiSquared) : OwnCell{});
    row.push_back(fit.weighted ? optionalCell(fit.pValue) : OwnCell{});
    row.push_back(OwnCell::of(static_cast<double>(fit.degreesOfFreedom)));
    for (const FitResult& result : *run.results) {
        if (!result.failure.empty()) {
            row.push_back(OwnCell::of(result.failure));
            row.push_back({});
            continue;
        }
        row.push_back(OwnCell::of(result.value));
        row.push_back(OwnCell::of(result.uncertainty));
    }
    return row;
}

std::vector<FittedRun> fittedRuns(const GraphPlot& plot, const std::string& blockName)
{
    static const std::vector<RunValue> noValues;
    std::vector<FittedRun> runs;
    if (!plot.runs.empty()) {
        for (const RunPlot& run : plot.runs)
            if (run.fit)
                runs.push_back({run.name, &run.values, &*run.fit, &run.results});
    } else if (plot.fit) {
        runs.push_back({blockName, &noValues, &*plot.fit, &plot.results});
    }
    return runs;
}

} // namespace

SheetRows fitsSheetRows(const GraphPlot& plot, const std::string& blockName)
{
    const std::vector<FittedRun> runs = fittedRuns(plot, blockName);
    const auto first = std::find_if(runs.begin(), runs.end(),
                                    [](const FittedRun& run) { return run.fit->fitted(); });
    if (first == runs.end())
        return {};
    const std::vector<RunValue> values = valueColumns(runs);
    SheetRows rows = {header(values, *first)};
    for (const FittedRun& run : runs)
        rows.push_back(fitRow(values, run));
    return rows;
}
