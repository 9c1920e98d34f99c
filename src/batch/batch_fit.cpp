#include "batch/batch_fit.h"

#include "batch/json_text.h"
#include "data/number_reading.h"
#include "fit/fit_results.h"
#include "fit/fit_text.h"
#include "graph/graph_plot.h"
#include "graph/run_results.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <variant>

namespace {

const struct {
    const char* name;
    ModelKind kind;
} modelNames[] = {
    {"line", ModelKind::Line},
    {"proportional", ModelKind::Proportional},
    {"exponential", ModelKind::Exponential},
    {"exponential-offset", ModelKind::ExponentialWithOffset},
    {"power", ModelKind::Power},
    {"logarithm", ModelKind::Logarithm},
    {"sine", ModelKind::Sine},
    {"gaussian", ModelKind::Gaussian},
    {"linear", ModelKind::Line},
    {"quadratic", ModelKind::Quadratic},
};

constexpr const char* modelList = "line (or linear), proportional, quadratic, polynomial:N (N 2 to "
                                  "10; cubic is polynomial:3), exponential, exponential-offset, "
                                  "power, logarithm, sine, gaussian";

std::optional<ModelChoice> modelNamed(const std::string& name)
{
    ModelChoice model;
    for (const auto& known : modelNames)
        if (name == known.name) {
            model.kind = known.kind;
            return model;
        }
    if (name == "cubic") {
        model.kind = ModelKind::Polynomial;
        model.degree = 3;
        return model;
    }
    const std::string polynomial = "polynomial:";
    if (name.rfind(polynomial, 0) != 0)
        return std::nullopt;
    const std::optional<double> degree = readAnswer(name.substr(polynomial.size()));
    if (!degree || *degree != std::floor(*degree) || *degree < lowestDegree ||
        *degree > highestDegree)
        return std::nullopt;
    model.kind = ModelKind::Polynomial;
    model.degree = static_cast<int>(*degree);
    return model;
}

std::optional<int> columnNumber(const std::string& text, int lowest)
{
    const std::optional<double> value = readAnswer(text);
    if (!value || *value != std::floor(*value) || *value < lowest || *value > mostPlottedColumns)
        return std::nullopt;
    return static_cast<int>(*value);
}

// Reads one option that takes a value; the explanation when it is wrong.
std::optional<std::string> readOption(GraphOptions& options, const std::string& option,
                                      const std::string& value)
{
    if (option == "--delimiter") {
        const std::optional<char> delimiter = delimiterNamed(value);
        if (value == "auto")
            options.input.automaticDelimiter = true;
        else if (!delimiter)
            return "unknown delimiter \"" + value + "\"";
        else
            options.delimiter = *delimiter;
        options.input.delimiterGiven = true;
    } else if (option == "--x" || option == "--y") {
        const std::optional<int> column = columnNumber(value, option == "--x" ? 0 : 1);
        if (!column)
            return option + " takes a column number, not \"" + value + "\"";
        (option == "--x" ? options.x : options.y) = column;
    } else if (option == "--sigma-x" || option == "--sigma-y") {
        const std::optional<int> column = columnNumber(value, 1);
        if (!column)
            return option + " takes a column number, not \"" + value + "\"";
        (option == "--sigma-x" ? options.sigmaX : options.sigmaY) = column;
    } else if (option == "--model" || option == "--equation") {
        if (options.model)
            return std::string("give one of --model and --equation, once");
        ModelChoice equation;
        equation.kind = ModelKind::OwnEquation;
        equation.equation = value;
        options.model = option == "--model" ? modelNamed(value) : equation;
        if (!options.model)
            return "unknown model \"" + value + "\"; the models are " + modelList;
    } else if (option == "--start") {
        const auto equals = value.find('=');
        const std::optional<double> start =
            equals == std::string::npos ? std::nullopt : readAnswer(value.substr(equals + 1));
        if (!start || equals == 0)
            return "--start takes NAME=VALUE, not \"" + value + "\"";
        options.starts[value.substr(0, equals)] = *start;
    } else if (option == "--result") {
        options.results.append(options.results.empty() ? "" : ";").append(value);
    } else {
        const std::optional<double> limit = readAnswer(value);
        if (!limit)
            return option + " takes a number, not \"" + value + "\"";
        (option == "--from" ? options.from : options.to) = limit;
    }
    return std::nullopt;
}

} // namespace

namespace {

// The options that take a value, by command.
bool takesValue(GraphCommand command, const std::string& option)
{
    static const std::vector<std::string> fitting = {
        "--x", "--y", "--model", "--equation", "--start", "--from", "--to", "--sigma-x",
        "--sigma-y", "--result"};
    static const std::vector<std::string> report = {"--pdf", "--title", "--name", "--paper"};
    static const std::vector<std::string> histogram = {"--y", "--bins"};
    static const std::vector<std::string> integral = {"--x", "--y", "--from", "--to", "--sigma-y"};
    static const std::vector<std::string> tangent = {"--x", "--y", "--at", "--points", "--sigma-y"};
    static const std::vector<std::string> stats = {"--x", "--y", "--from", "--to"};
    static const std::vector<std::string> spectrum = {"--x", "--y", "--from", "--to", "--window"};
    const auto among = [&option](const std::vector<std::string>& options) {
        return std::find(options.begin(), options.end(), option) != options.end();
    };
    if (option == "--delimiter")
        return true;
    switch (command) {
    case GraphCommand::Fit:
        return among(fitting);
    case GraphCommand::Report:
        return among(fitting) || among(report);
    case GraphCommand::Histogram:
        return among(histogram);
    case GraphCommand::Integral:
        return among(integral);
    case GraphCommand::Tangent:
        return among(tangent);
    case GraphCommand::Stats:
        return among(stats);
    case GraphCommand::Export:
        return among(fitting) || option == "--xlsx";
    case GraphCommand::Spectrum:
        return among(spectrum);
    }
    return false;
}

// The report's and the histogram's own options that take a value.
std::optional<std::string> readOwnOption(GraphOptions& options, const std::string& option,
                                         const std::string& value)
{
    if (option == "--pdf")
        options.pdf = value;
    else if (option == "--xlsx")
        options.xlsx = value;
    else if (option == "--window") {
        options.window = windowNamed(value);
        if (!options.window)
            return "--window takes hann, rect, hamming or blackman, not \"" + value + "\"";
    }
    else if (option == "--title")
        options.title = value;
    else if (option == "--name")
        options.name = value;
    else if (option == "--paper") {
        if (value != "a4" && value != "letter")
            return "--paper takes a4 or letter, not \"" + value + "\"";
        options.paper = value;
    } else if (option == "--at") {
        options.at = readAnswer(value);
        if (!options.at)
            return "--at takes a number, not \"" + value + "\"";
    } else if (option == "--points") {
        const std::optional<double> count = readAnswer(value);
        if (!count || *count != std::floor(*count) || *count < 1 || *count > mostTangentRows)
            return "--points takes a number of rows, not \"" + value + "\"";
        options.points = static_cast<int>(*count);
    } else if (option == "--bins") {
        const std::optional<double> width = readAnswer(value);
        if (value == "auto")
            options.bins = {BinChoice::Rule::Automatic, 0};
        else if (value == "sturges")
            options.bins = {BinChoice::Rule::Sturges, 0};
        else if (width && *width > 0)
            options.bins = {BinChoice::Rule::Width, *width};
        else
            return "--bins takes auto, sturges or a width above 0, not \"" + value + "\"";
    } else
        return readOption(options, option, value);
    return std::nullopt;
}

// The flags of a command: options without a value.
bool readFlag(GraphOptions& options, GraphCommand command, const std::string& flag)
{
    if (flag == "--json" && command != GraphCommand::Report && command != GraphCommand::Export)
        options.json = true;
    else if ((flag == "--runs" || flag == "--table") && command == GraphCommand::Fit)
        (flag == "--runs" ? options.runs : options.table) = true;
    else if (flag == "--runs" && command == GraphCommand::Export)
        options.runs = true;
    else if ((flag == "--log-x" || flag == "--log-y") && command == GraphCommand::Report)
        (flag == "--log-x" ? options.logX : options.logY) = true;
    else if (flag == "--residuals" && command == GraphCommand::Report)
        options.residuals = true;
    else if (flag == "--steepest-shallowest" && command == GraphCommand::Report)
        options.extremeLines = true;
    else if (flag == "--decimal-comma" || flag == "--no-decimal-comma")
        options.input.decimalComma = flag == "--decimal-comma";
    else
        return false;
    return true;
}

} // namespace

std::variant<GraphOptions, std::string> parseGraphArguments(const std::vector<std::string>& arguments,
                                                            GraphCommand command)
{
    GraphOptions options;
    options.histogram = command == GraphCommand::Histogram;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (takesValue(command, argument)) {
            if (i + 1 == arguments.size())
                return argument + " needs a value";
            if (auto explanation = readOwnOption(options, argument, arguments[++i]))
                return *explanation;
        } else if (readFlag(options, command, argument)) {
            continue;
        } else if (argument.size() > 1 && argument[0] == '-' && argument != "-") {
            return "unknown option \"" + argument + "\"";
        } else {
            operands.push_back(argument);
        }
    }
    if (operands.size() > 2)
        return std::string("too many arguments after the command");
    if (command == GraphCommand::Report && options.pdf.empty())
        return std::string("report needs --pdf FILE");
    if (command == GraphCommand::Export && options.xlsx.empty())
        return std::string("export needs --xlsx FILE");
    if (command == GraphCommand::Tangent && !options.at)
        return std::string("tangent needs --at X");
    if ((!options.model || options.model->kind != ModelKind::OwnEquation) &&
        !options.starts.empty())
        return std::string("--start is for an own equation");
    if (options.model)
        options.model->starts = options.starts;
    if (operands.size() == 2)
        options.file = operands[1];
    return options;
}

std::variant<GraphInput, BatchResult> readGraphInput(const std::vector<std::string>& arguments,
                                                     std::istream& input, GraphCommand command)
{
    const auto parsed = parseGraphArguments(arguments, command);
    if (const auto* explanation = std::get_if<std::string>(&parsed))
        return usageFailure(*explanation);
    GraphOptions options = std::get<GraphOptions>(parsed);
    // Reading may settle the delimiter ("--delimiter auto", a session's).
    BatchInput read = readBatchInput(options.file, input, options.input, options.delimiter);
    if (std::optional<BatchResult> failure = inputFailure(read))
        return *std::move(failure);
    GraphInput started{std::move(options), std::move(read), {}, 0, std::nullopt};
    started.blocks = readGraphBlocks(started.read.box.text, started.options.delimiter);
    // A session's block as the window showed it, with its choices.
    if (const std::optional<Session>& session = started.read.session) {
        started.block = session->graph.block < started.blocks.size() ? session->graph.block : 0;
        for (const BlockChoice& kept : session->graph.blocks)
            if (kept.block == started.block && started.block < started.blocks.size() &&
                kept.name == started.blocks[started.block].name)
                started.kept = kept.choice;
    }
    if (command == GraphCommand::Fit && started.choice().model.kind == ModelKind::None)
        return usageFailure("fit needs --model NAME or --equation TEXT");
    // The batch takes one block; the window would offer the others. A
    // workbook takes them all.
    const bool runs = started.options.runs || (started.kept && started.kept->allRuns) ||
                      command == GraphCommand::Export;
    if (const std::optional<std::string> note = otherBlocksNote(started.blocks, started.block);
        note && !runs) {
        const std::string window = "choose them in the data list";
        started.read.notes.push_back(note->substr(0, note->find(window)) +
                                     (started.block == 0
                                          ? "the batch reads the first block only"
                                          : "the batch reads the block its session shows only"));
    }
    return started;
}

std::string graphMessages(const std::vector<std::string>& readNotes,
                          const std::vector<std::string>& plotNotes)
{
    std::string messages;
    for (const std::string& note : readNotes)
        messages += "message: " + note + "\n";
    for (const std::string& note : plotNotes)
        messages += "message: " + inBatchWords(note) + "\n";
    return messages;
}

GraphChoice choiceOf(const GraphOptions& options, const GraphTable& table,
                     const std::optional<GraphChoice>& kept)
{
    GraphChoice choice = kept.value_or(defaultChoice(table));
    choice.xColumn = options.x.value_or(choice.xColumn);
    choice.yColumn = options.y.value_or(choice.yColumn);
    if (options.model)
        choice.model = *options.model;
    if (options.from || options.to) {
        choice.fitFrom = options.from;
        choice.fitTo = options.to;
    }
    if (!options.results.empty())
        choice.results = options.results;
    choice.logX = choice.logX || options.logX;
    choice.logY = choice.logY || options.logY;
    choice.residuals = choice.residuals || options.residuals;
    choice.extremeLines = choice.extremeLines || options.extremeLines;
    if (!options.title.empty())
        choice.title = options.title;
    choice.histogram = options.histogram || choice.histogram;
    if (options.window)
        choice.window = *options.window;
    if (options.histogram && options.bins.rule == BinChoice::Rule::Automatic && kept)
        choice.bins = kept->bins;
    else
        choice.bins = options.bins;
    for (const auto& [column, uncertainty] : {std::pair{options.sigmaX, &choice.xUncertainty},
                                              std::pair{options.sigmaY, &choice.yUncertainty}})
        if (column) {
            uncertainty->kind = UncertaintyChoice::Kind::Column;
            uncertainty->column = *column;
        }
    return choice;
}

namespace {

// "results": [{"formula": F, "value": V, "uncertainty": U}, ...] and
// "covariance": the matrix as rows in the order of "parameters".
std::string resultsJson(const CurveFit& fit, const std::vector<FitResult>& results)
{
    std::string json = ", \"results\": [";
    for (std::size_t i = 0; i < results.size(); ++i) {
        const FitResult& result = results[i];
        const bool valued = result.failure.empty();
        const auto orNull = [](const std::string& text) {
            return text.empty() ? std::string("null") : jsonString(text);
        };
        json += std::string(i == 0 ? "" : ", ") + "{\"formula\": " + jsonString(result.formula) +
                ", \"value\": " + jsonNumber(valued ? result.value : std::nan("")) +
                ", \"uncertainty\": " + jsonNumber(valued ? result.uncertainty : std::nan(""));
        if (!valued)
            json += ", \"message\": " + jsonString(result.failure);
        json += ", \"name\": " + orNull(result.name) + ", \"unit\": " + orNull(result.unit) + "}";
    }
    json += "], \"covariance\": ";
    if (fit.covariance.empty())
        return json + "null";
    const std::size_t p = fit.values.size();
    json += "[";
    for (std::size_t i = 0; i < p; ++i) {
        json += i == 0 ? "[" : ", [";
        for (std::size_t j = 0; j < p; ++j)
            json += (j == 0 ? "" : ", ") + jsonNumber(fit.covariance[i * p + j]);
        json += "]";
    }
    return json + "]";
}

std::string fitJson(const CurveFit& fit, const std::vector<FitResult>& results)
{
    const double none = std::nan("");
    std::string json = "{\"model\": " + jsonString(modelEquation(fit.model)) +
                       ", \"points\": " + std::to_string(fit.points) +
                       ", \"degrees_of_freedom\": " + std::to_string(fit.degreesOfFreedom) +
                       ", \"parameters\": [";
    for (std::size_t k = 0; k < fit.values.size(); ++k)
        json += std::string(k == 0 ? "" : ", ") + "{\"name\": " + jsonString(fit.names[k]) +
                ", \"value\": " + jsonNumber(fit.values[k]) + ", \"uncertainty\": " +
                jsonNumber(fit.uncertainties.empty() ? none : fit.uncertainties[k]) +
                ", \"unit\": " +
                (k < fit.units.size() && !fit.units[k].empty() ? jsonString(fit.units[k])
                                                               : std::string("null")) +
                "}";
    const double chiSquared = fit.chiSquared.value_or(none);
    json += "], \"residual_sum_of_squares\": " + jsonNumber(fit.residualSumOfSquares) +
            ", \"residual_standard_deviation\": " +
            jsonNumber(fit.residualStandardDeviation.value_or(none)) +
            ", \"r_squared\": " + jsonNumber(fit.rSquared.value_or(none)) +
            ", \"chi_squared\": " + jsonNumber(chiSquared) + ", \"reduced_chi_squared\": " +
            jsonNumber(fit.degreesOfFreedom > 0 ? chiSquared / fit.degreesOfFreedom : none) +
            ", \"p_value\": " + jsonNumber(fit.pValue.value_or(none)) + resultsJson(fit, results) +
            "}\n";
    return json;
}

// One run's object in --runs --json: its name and values, then the keys of
// one fit, or why it has none.
std::string runJson(const RunPlot& run)
{
    std::string json = "{\"run\": " + jsonString(run.name) + ", \"values\": {";
    for (std::size_t k = 0; k < run.values.size(); ++k)
        json += (k == 0 ? "" : ", ") + jsonString(run.values[k].name) + ": " +
                jsonNumber(run.values[k].value);
    json += "}";
    if (!run.fit || !run.fit->fitted())
        return json + ", \"message\": " +
               jsonString(run.fit ? run.fit->failure : std::string("nothing to fit")) + "}";
    std::string fit = fitJson(*run.fit, run.results);
    fit.erase(fit.find_last_not_of("\n") + 1);
    return json + ", " + fit.substr(1);
}

// fit --runs: every run with the columns of the block shown, fitted on its
// own: the window's table, the JSON of each, or the results block.
BatchResult fitRuns(const GraphInput& graph, const GraphChoice& choice)
{
    const GraphPlot plot = plotRuns(graph.blocks, graph.block, choice);
    BatchResult result;
    result.err = graphMessages(graph.read.notes, {});
    const RunSelection selection = runsLike(graph.blocks, graph.block);
    for (std::size_t b = 0; b < graph.blocks.size(); ++b)
        if (std::find(selection.blocks.begin(), selection.blocks.end(), b) ==
            selection.blocks.end())
            result.err += "message: " + otherColumnsNote(graph.blocks[b]) + "\n";
    for (const std::string& note : plot.notes)
        if (note.find("has other columns") == std::string::npos)
            result.err += "message: " + inBatchWords(note) + "\n";
    if (std::none_of(plot.runs.begin(), plot.runs.end(),
                     [](const RunPlot& run) { return run.fit && run.fit->fitted(); })) {
        result.exitStatus = noOutput;
        result.err += "message: no run could be fitted\n";
        return result;
    }
    if (graph.options.table) {
        for (const std::string& line : resultsBlockLines(plot.runs, choice.model, graph.options.delimiter))
            result.out += line + "\r\n";
    } else if (graph.options.json) {
        result.out = "{\"runs\": [";
        for (std::size_t r = 0; r < plot.runs.size(); ++r)
            result.out += (r == 0 ? "" : ", ") + runJson(plot.runs[r]);
        result.out += "]}\n";
    } else {
        for (const std::string& line : plot.runsText)
            result.out += line + "\n";
    }
    return result;
}

} // namespace

BatchResult runFit(const std::vector<std::string>& arguments, std::istream& input)
{
    auto started = readGraphInput(arguments, input, GraphCommand::Fit);
    if (auto* failure = std::get_if<BatchResult>(&started))
        return *failure;
    const GraphInput& graph = std::get<GraphInput>(started);
    const GraphOptions& options = graph.options;
    const BatchInput& read = graph.read;
    GraphChoice choice = graph.choice();
    choice.histogram = false;
    choice.spectrum = false;
    if (options.runs || options.table || choice.allRuns)
        return fitRuns(graph, choice);
    const GraphPlot plot = plotGraph(graph.table(), choice);
    BatchResult result;
    result.err = graphMessages(read.notes, plot.notes);
    if (!plot.fit->fitted()) {
        result.exitStatus = noOutput;
        result.err += "message: " + plot.fit->failure + "\n";
        return result;
    }
    // A --result that cannot be used is a wrong command line; a session's is
    // said in the text, as the window says it.
    for (const FitResult& fitResult : plot.results)
        if (fitResult.unusable && !options.results.empty())
            return usageFailure("--result " + fitResult.formula + ": " + fitResult.failure);
    if (const std::optional<std::string> warning = poorFitWarning(*plot.fit))
        result.err += "message: " + *warning + "\n";
    if (options.json) {
        result.out = fitJson(*plot.fit, plot.results);
        return result;
    }
    result.out = describeFit(*plot.fit, plot.range) + "\n";
    for (const FitResult& fitResult : plot.results)
        result.out += describeResult(fitResult) + "\n";
    return result;
}
