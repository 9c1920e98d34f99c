#include "batch/batch_spectrum.h"

#include "batch/batch_fit.h"
#include "batch/json_text.h"
#include "data/column_heads.h"
#include "graph/graph_plot.h"
#include "spectrum/spectrum_text.h"

namespace {

std::string peaksJson(const std::vector<SpectrumPeak>& peaks)
{
    std::string json = "[";
    for (std::size_t k = 0; k < peaks.size(); ++k)
        json += std::string(k == 0 ? "" : ", ") + "{\"frequency\": " +
                jsonNumber(peaks[k].frequency) + ", \"uncertainty\": " +
                jsonNumber(peaks[k].uncertainty) + ", \"amplitude\": " +
                jsonNumber(peaks[k].amplitude) + "}";
    return json + "]";
}

std::string notesJson(const std::vector<std::string>& notes)
{
    std::string json = "[";
    for (std::size_t k = 0; k < notes.size(); ++k)
        json += (k == 0 ? "" : ", ") + jsonString(notes[k]);
    return json + "]";
}

std::string spectrumJson(const Spectrum& spectrum, const std::string& frequencyUnitText,
                         const std::vector<std::string>& notes)
{
    return "{\"sample_rate\": " + jsonNumber(spectrum.sampleRate) +
           ", \"points\": " + std::to_string(spectrum.sampleCount()) +
           ", \"resolution\": " + jsonNumber(spectrum.resolution) +
           ", \"unit\": " + jsonString(frequencyUnitText) +
           ", \"window\": " + jsonString(windowName(spectrum.window)) +
           ", \"peaks\": " + peaksJson(spectrum.peaks) + ", \"notes\": " + notesJson(notes) +
           "}\n";
}

} // namespace

BatchResult runSpectrum(const std::vector<std::string>& arguments, std::istream& input)
{
    auto started = readGraphInput(arguments, input, GraphCommand::Spectrum);
    if (auto* failure = std::get_if<BatchResult>(&started))
        return *failure;
    const GraphInput& graph = std::get<GraphInput>(started);
    GraphChoice choice = graph.choice();
    choice.histogram = false;
    choice.spectrum = true;
    choice.allRuns = false;
    const GraphPlot plot = plotGraph(graph.table(), choice);
    BatchResult result;
    result.err = graphMessages(graph.read.notes, plot.notes);
    const Spectrum& spectrum = *plot.spectrum;
    if (!spectrum.failure.empty()) {
        result.exitStatus = noOutput;
        result.err += "message: there is no spectrum: " + spectrum.failure + "\n";
        return result;
    }
    if (graph.options.json) {
        const std::string xUnit = unitOfHeader(columnTitle(graph.table(), choice.xColumn));
        result.out = spectrumJson(spectrum, frequencyUnit(xUnit), spectrumNotes(spectrum, xUnit));
        return result;
    }
    for (const std::string& line : plot.spectrumText)
        result.out += line + "\n";
    return result;
}
