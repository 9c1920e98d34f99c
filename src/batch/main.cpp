// benchtabler-batch: one command of Bench Tabler on a data file, without a
// window, for answer keys.

#include "batch/batch_record.h"
#include "batch/batch_report.h"
#include "batch/batch_run.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <iostream>

namespace {

// The batch's error stream holds its own messages, which scripts read; Qt's
// remarks about the session (no runtime directory, no display) stay out of it.
void dropQtRemarks(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        std::cerr << message.toStdString() << '\n';
}

} // namespace

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    BatchResult result;
    const bool asksForHelp = std::find(arguments.begin(), arguments.end(), "--help") != arguments.end() ||
                             std::find(arguments.begin(), arguments.end(), "--version") != arguments.end();
    if (asksForHelp) {
        result = runBatch(arguments, std::cin);
    } else if (commandOf(arguments) == "record") {
        // Recording waits for the device in Qt's event loop, without a display.
        QCoreApplication application(argc, argv);
        result = runRecord(arguments);
    } else if (commandOf(arguments) == "report") {
        // The report's pages are painted with Qt's fonts, never on a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(dropQtRemarks);
        QGuiApplication application(argc, argv);
        result = runReport(arguments, std::cin);
    } else {
        result = runBatch(arguments, std::cin);
    }
    std::cout << result.out;
    std::cerr << result.err;
    std::cout.flush();
    return result.exitStatus;
}
