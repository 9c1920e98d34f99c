#include "batch/batch_export.h"

#include "batch/batch_fit.h"
#include "workbook/fits_sheet.h"
#include "workbook/workbook_file.h"

namespace {

// The fits of the graph window for these options: of the block shown, or of
// every run like it; none without a model.
SheetRows fitsOf(const GraphInput& graph)
{
    GraphChoice choice = graph.choice();
    choice.histogram = false;
    choice.spectrum = false;
    if (choice.model.kind == ModelKind::None || graph.blocks.empty())
        return {};
    const GraphTable& table = graph.table();
    if (graph.options.runs || choice.allRuns)
        return fitsSheetRows(plotRuns(graph.blocks, graph.block, choice), table.name);
    return fitsSheetRows(plotGraph(table, choice),
                         table.heading.empty() ? table.name : table.heading);
}

} // namespace

BatchResult runExport(const std::vector<std::string>& arguments, std::istream& input)
{
    auto started = readGraphInput(arguments, input, GraphCommand::Export);
    if (auto* failure = std::get_if<BatchResult>(&started))
        return *failure;
    GraphInput& graph = std::get<GraphInput>(started);
    BatchResult result;
    result.err = graphMessages(graph.read.notes, {});
    SheetRows fits = fitsOf(graph);
    const WorkbookContent content{std::move(graph.blocks), graph.options.delimiter, std::move(fits)};
    const WorkbookWritten written = writeWorkbook(graph.options.xlsx, content);
    if (written.nothingToWrite) {
        result.exitStatus = noOutput;
        result.err += "message: " + written.failure + ", so no workbook was written\n";
        return result;
    }
    if (!written.failure.empty()) {
        result.exitStatus = usageError;
        result.err += "benchtabler-batch: " + written.failure + "\n";
        return result;
    }
    for (const std::string& note : written.notes)
        result.err += "message: " + note + "\n";
    WorkbookWritten summary = written;
    summary.notes.clear();
    result.out = workbookNote(summary, graph.options.xlsx) + "\n";
    return result;
}
