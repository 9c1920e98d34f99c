#include "batch/batch_histogram.h"

#include "batch/batch_fit.h"
#include "batch/json_text.h"
#include "graph/graph_plot.h"

#include <cmath>

namespace {

std::string jsonArray(const std::vector<double>& numbers)
{
    std::string json = "[";
    for (std::size_t i = 0; i < numbers.size(); ++i)
        json.append(i == 0 ? "" : ", ").append(jsonNumber(numbers[i]));
    return json + "]";
}

std::string histogramJson(const Histogram& histogram)
{
    const bool spread = histogram.n > 1;
    const std::vector<double> counts(histogram.counts.begin(), histogram.counts.end());
    return "{\"n\": " + std::to_string(histogram.n) + ", \"mean\": " + jsonNumber(histogram.mean) +
           ", \"standard_deviation\": " + jsonNumber(histogram.standardDeviation) +
           ", \"standard_error\": " + jsonNumber(histogram.standardError) +
           ", \"bin_width\": " + jsonNumber(histogram.binWidth) +
           ", \"edges\": " + jsonArray(histogram.edges) + ", \"counts\": " + jsonArray(counts) +
           ", \"within_one_sd\": " +
           (spread ? std::to_string(histogram.withinOneSd) : std::string("null")) + "}\n";
}

// The text, then "FROM TO COUNT" a bin, the edges with the decimals the
// width needs.
std::string histogramText(const GraphPlot& plot)
{
    const Histogram& histogram = *plot.histogram;
    std::string text;
    for (const std::string& line : plot.histogramText)
        text += line + "\n";
    for (std::size_t i = 0; i < histogram.counts.size(); ++i)
        text += tickLabel(histogram.edges[i], histogram.binWidth) + " " +
                tickLabel(histogram.edges[i + 1], histogram.binWidth) + " " +
                std::to_string(histogram.counts[i]) + "\n";
    return text;
}

} // namespace

BatchResult runHistogram(const std::vector<std::string>& arguments, std::istream& input)
{
    const auto parsed = parseGraphArguments(arguments, GraphCommand::Histogram);
    if (const auto* explanation = std::get_if<std::string>(&parsed))
        return usageFailure(*explanation);
    GraphOptions options = std::get<GraphOptions>(parsed);
    const BatchInput read = readBatchInput(options.file, input, options.input, options.delimiter);
    if (const std::optional<BatchResult> failure = inputFailure(read))
        return *failure;

    const GraphTable table = readGraphTable(read.box.text, options.delimiter);
    const GraphPlot plot = plotGraph(table, choiceOf(options, table));
    BatchResult result;
    for (const std::string& note : read.notes)
        result.err += "message: " + note + "\n";
    for (const std::string& note : plot.notes)
        result.err += "message: " + inBatchWords(note) + "\n";
    if (!plot.histogram) {
        result.exitStatus = noOutput;
        result.err += "message: there are no values to count, so there is no histogram\n";
        return result;
    }
    result.out = options.json ? histogramJson(*plot.histogram) : histogramText(plot);
    return result;
}
