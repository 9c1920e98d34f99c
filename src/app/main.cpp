#include "app/form1.h"
#include "app/lab_directory.h"
#include "app/large_blocks.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* help =
    "usage: benchtabler [--help] [--version] [FILE]\n"
    "Opens the Bench Tabler window: paste measurements into the box and press the buttons\n"
    "that turn them into differences, running sums, difference quotients, a mean and\n"
    "standard deviation report and more, or open the graph. Files are kept in labfiles in\n"
    "the home directory. FILE, a session or a data file, is opened at start.\n"
    "For answer keys without a window, see benchtabler-batch.\n";

} // namespace

int main(int argc, char* argv[])
{
    // Answered before Qt starts, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(help, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("benchtabler " BENCHTABLER_VERSION);
            return 0;
        }
    }
    giveLargeBlocksBack();
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(BENCHTABLER_VERSION));
    // Where QSettings keeps what the windows remember (the graph's size).
    QApplication::setOrganizationName(QStringLiteral("BenchTabler"));
    QApplication::setApplicationName(QStringLiteral("benchtabler"));
    Form1 window(labDirectory());
    window.show();
    // "benchtabler FILE", as a file manager starts it for a session or a data file.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        QTimer::singleShot(0, &window, [&window, file = arguments.last()] { window.loadFile(file); });
    return application.exec();
}
