// Starts the program's window, shows it and ends after the first pass of the
// event loop, which paints it.

#include "app/form1.h"
#include "app/large_blocks.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char* argv[])
{
    giveLargeBlocksBack(); // as the program does
    QApplication application(argc, argv);
    Form1 window(std::filesystem::path(QDir::tempPath().toStdString()) / "benchtabler-startup");
    window.show();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
