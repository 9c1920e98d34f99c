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
    auto started = readGraphInput(arguments, input, GraphCommand::Histogram);
    if (auto* failure = std::get_if<BatchResult>(&started))
        return *failure;
    const GraphInput& graph = std::get<GraphInput>(started);
    const GraphOptions& options = graph.options;
    const BatchInput& read = graph.read;
    const GraphPlot plot = plotGraph(graph.table(), graph.choice());
    BatchResult result;
    result.err = graphMessages(read.notes, plot.notes);
    if (!plot.histogram) {
        result.exitStatus = noOutput;
        result.err += "message: there are no values to count, so there is no histogram\n";
        return result;
    }
    result.out = options.json ? histogramJson(*plot.histogram) : histogramText(plot);
    return result;
}
