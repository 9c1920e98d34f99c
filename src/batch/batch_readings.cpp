#include "batch/batch_readings.h"

#include "batch/batch_fit.h"
#include "batch/json_text.h"
#include "readings/plot_readings.h"
#include "readings/reading_text.h"

#include <functional>
#include <variant>

namespace {

std::string optionalJson(const std::optional<double>& value)
{
    return value ? jsonNumber(*value) : std::string("null");
}

std::string areaJson(const AreaReading& area, const ReadingUnits& units)
{
    return "{\"area\": " + jsonNumber(area.area) +
           ", \"uncertainty\": " + jsonNumber(area.uncertainty) +
           ", \"unit\": " + jsonString(areaUnit(units)) + ", \"from\": " + jsonNumber(area.from) +
           ", \"to\": " + jsonNumber(area.to) + ", \"points\": " + std::to_string(area.points) +
           ", \"readings_uncertainty\": " +
           (area.uncertaintiesGiven ? jsonNumber(area.readingsPart) : std::string("null")) +
           ", \"rule_uncertainty\": " + optionalJson(area.rulePart) + "}\n";
}

std::string tangentJson(const TangentReading& tangent, const ReadingUnits& units)
{
    return "{\"x\": " + jsonNumber(tangent.x) + ", \"slope\": " + jsonNumber(tangent.slope) +
           ", \"uncertainty\": " + jsonNumber(tangent.uncertainty) +
           ", \"unit\": " + jsonString(slopeUnit(units)) +
           ", \"scatter_uncertainty\": " + jsonNumber(tangent.scatterPart) +
           ", \"shape_uncertainty\": " + optionalJson(tangent.shapePart) +
           ", \"points\": " + std::to_string(tangent.points) + ", \"y\": " + jsonNumber(tangent.y) +
           ", \"model\": " + jsonString(tangent.parabola ? "parabola" : "line") +
           ", \"weighted\": " + (tangent.weighted ? "true" : "false") + "}\n";
}

std::string statsJson(const SelectionStats& stats, const ReadingUnits& units)
{
    return "{\"points\": " + std::to_string(stats.points) + ", \"mean\": " + jsonNumber(stats.mean) +
           ", \"sd\": " + optionalJson(stats.sd) +
           ", \"standard_error\": " + optionalJson(stats.standardError) +
           ", \"min\": " + jsonNumber(stats.min) + ", \"max\": " + jsonNumber(stats.max) +
           ", \"from\": " + jsonNumber(stats.from) + ", \"to\": " + jsonNumber(stats.to) +
           ", \"unit\": " + jsonString(units.y) + "}\n";
}

// What a reading prints (index 0: its text or JSON), or why there is none
// (index 1).
using Printed = std::variant<std::string, std::string>;
using Reading = std::function<Printed(const ReadingRows& rows, const ReadingUnits& units,
                                      const GraphOptions& options)>;

// The block as the graph window plots it (its columns and y uncertainty,
// no fit), its rows within the range, and the reading of them.
BatchResult runReading(const std::vector<std::string>& arguments, std::istream& input,
                       GraphCommand command, const Reading& reading)
{
    auto started = readGraphInput(arguments, input, command);
    if (auto* failure = std::get_if<BatchResult>(&started))
        return *failure;
    const GraphInput& graph = std::get<GraphInput>(started);
    GraphChoice choice = graph.choice();
    choice.model.kind = ModelKind::None;
    choice.histogram = false;
    choice.logX = choice.logY = false;
    if (command == GraphCommand::Stats)
        choice.yUncertainty = {};
    choice.xUncertainty = {};
    const GraphPlot plot = plotGraph(graph.table(), choice);
    const bool ranged = command != GraphCommand::Tangent;
    const ReadingRows rows =
        readingRows(plot, graph.table(), ranged ? choice.fitFrom : std::nullopt,
                    ranged ? choice.fitTo : std::nullopt);
    BatchResult result;
    result.err = graphMessages(graph.read.notes, plot.notes);
    const auto read = reading(rows, readingUnits(plot), graph.options);
    if (read.index() == 1) {
        result.exitStatus = noOutput;
        result.err += "message: " + std::get<1>(read) + "\n";
        return result;
    }
    result.out = std::get<0>(read);
    return result;
}

} // namespace

BatchResult runIntegral(const std::vector<std::string>& arguments, std::istream& input)
{
    return runReading(arguments, input, GraphCommand::Integral,
                      [](const ReadingRows& rows, const ReadingUnits& units,
                         const GraphOptions& options) {
                          const auto area = areaUnder(rows);
                          if (const auto* why = std::get_if<std::string>(&area))
                              return Printed(std::in_place_index<1>, *why);
                          const AreaReading& a = std::get<AreaReading>(area);
                          return Printed(std::in_place_index<0>, options.json
                                                                     ? areaJson(a, units)
                                                                     : areaText(a, units) + "\n");
                      });
}

BatchResult runTangent(const std::vector<std::string>& arguments, std::istream& input)
{
    return runReading(
        arguments, input, GraphCommand::Tangent,
        [](const ReadingRows& rows, const ReadingUnits& units, const GraphOptions& options) {
            const auto tangent =
                tangentAt(rows, *options.at, options.points.value_or(defaultTangentRows));
            if (const auto* why = std::get_if<std::string>(&tangent))
                return Printed(std::in_place_index<1>, *why);
            const TangentReading& t = std::get<TangentReading>(tangent);
            return Printed(std::in_place_index<0>,
                           options.json ? tangentJson(t, units) : tangentText(t, units) + "\n");
        });
}

BatchResult runStats(const std::vector<std::string>& arguments, std::istream& input)
{
    return runReading(
        arguments, input, GraphCommand::Stats,
        [](const ReadingRows& rows, const ReadingUnits& units, const GraphOptions& options) {
            const std::optional<SelectionStats> stats = selectionStats(rows);
            if (!stats)
                return Printed(std::in_place_index<1>,
                               "no statistics: there are no rows in the range");
            return Printed(std::in_place_index<0>, options.json
                                                       ? statsJson(*stats, units)
                                                       : statsText(*stats, units) + "\n");
        });
}
