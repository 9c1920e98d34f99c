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
    const auto& [options, read, table] = std::get<GraphInput>(started);
    const bool fromFile = options.file && *options.file != "-";
    LabReport report = makeLabReport(
        table, choiceOf(options, table), options.delimiter,
        fromFile ? QString::fromStdString(std::filesystem::path(*options.file).filename().string())
                 : QStringLiteral("the data given on standard input"));
    BatchResult result;
    result.err = graphMessages(read.notes, {});
    if (report.plot.points.empty()) {
        result.exitStatus = noOutput;
        result.err = graphMessages(read.notes, report.plot.notes);
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
