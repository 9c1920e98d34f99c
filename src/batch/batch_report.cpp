#include "batch/batch_report.h"

#include "app/lab_report.h"
#include "batch/batch_fit.h"
#include "data/durable_file.h"

#include <filesystem>

BatchResult runReport(const std::vector<std::string>& arguments, std::istream& input)
{
    auto started = readGraphInput(arguments, input, GraphCommand::Report);
    if (auto* failure = std::get_if<BatchResult>(&started))
        return *failure;
    const GraphInput& graph = std::get<GraphInput>(started);
    const GraphOptions& options = graph.options;
    const BatchInput& read = graph.read;
    const bool fromFile = options.file && *options.file != "-";
    LabReport report = makeLabReport(
        graph.blocks, graph.block, graph.choice(), options.delimiter,
        fromFile ? QString::fromStdString(std::filesystem::path(*options.file).filename().string())
                 : QStringLiteral("the data given on standard input"));
    BatchResult result;
    result.err = graphMessages(read.notes, {});
    if (report.plot.points.empty() && report.table.rows.empty()) {
        result.exitStatus = noOutput;
        result.err = graphMessages(read.notes, report.plot.notes);
        result.err += "message: there is nothing to plot, so no report was written\n";
        return result;
    }
    // A session's title, data file and name unless the command line gives them.
    const std::optional<Session>& session = read.session;
    report.title = reportTitle(QString::fromStdString(graph.choice().title),
                               QString::fromStdString(session && !session->dataFile.empty()
                                                          ? session->dataFile
                                                          : options.file.value_or("")));
    report.name = QString::fromStdString(
        !options.name.empty() || !session ? options.name : session->studentName);
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
