// benchtabler-batch: one command of Bench Tabler on a data file, without a
// window, for answer keys.

#include "batch/batch_record.h"
#include "batch/batch_run.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char* argv[])
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    BatchResult result;
    if (isRecordCommand(arguments)) {
        // Recording waits for the device in Qt's event loop, without a display.
        QCoreApplication application(argc, argv);
        result = runRecord(arguments);
    } else {
        result = runBatch(arguments, std::cin);
    }
    std::cout << result.out;
    std::cerr << result.err;
    std::cout.flush();
    return result.exitStatus;
}
