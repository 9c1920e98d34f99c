#include "batch/batch_report.h"

#include "app/lab_report.h"
#include "batch/batch_fit.h"
#include "data/durable_file.h"

BatchResult runReport(const std::vector<std::string>& arguments, std::istream& input)
{
    const auto parsed = parseGraphArguments(arguments, GraphCommand::Report);
    if (const auto* explanation = std::get_if<std::string>(&parsed))
        return usageFailure(*explanation);
    GraphOptions options = std::get<GraphOptions>(parsed);
    const BatchInput read = readBatchInput(options.file, input, options.input, options.delimiter);
    if (const std::optional<BatchResult> failure = inputFailure(read))
        return *failure;

    const GraphTable table = readGraphTable(read.box.text, options.delimiter);
    LabReport report = makeLabReport(table, choiceOf(options, table), options.delimiter);
    BatchResult result;
    for (const std::string& note : read.notes)
        result.err += "message: " + note + "\n";
    if (report.plot.points.empty()) {
        result.exitStatus = noOutput;
        for (const std::string& note : report.plot.notes)
            result.err += "message: " + inBatchWords(note) + "\n";
        result.err += "message: there is nothing to plot, so no report was written\n";
        return result;
    }
    report.title = reportTitle(QString::fromStdString(options.title),
                               QString::fromStdString(options.file.value_or("")));
    report.name = QString::fromStdString(options.name);
    const QPageSize paper = !options.paper ? localPaper()
                            : *options.paper == "letter" ? QPageSize(QPageSize::Letter)
                                                         : QPageSize(QPageSize::A4);
    const QByteArray pdf = reportPdf(report, paper);
    const std::string reason =
        pdf.isEmpty() ? std::string("the report could not be made")
                      : replaceFileDurably(options.pdf, pdf.toStdString());
    if (!reason.empty())
        return usageFailure("could not write " + options.pdf + ": " + reason);
    return result;
}
