// Loading a 1000-line data file into the box, as Ctrl+O does once the file is
// chosen, against the floor of that work: reading the file's bytes and one
// replacement of the box's whole text by them inside a single edit block.

#include "box_floor.h"
#include "in_turns.h"

#include "app/form1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>

namespace {

struct FileBench {
    QTemporaryDir directory;
    QString path = directory.filePath("logger.csv");
    Form1 window{directory.path().toStdString()};
    QPlainTextEdit* box = window.findChild<QPlainTextEdit*>("Text1");

    FileBench()
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        for (int i = 1; i <= 1000; ++i)
            file.write(QByteArray::number(i * 0.5) + "," + QByteArray::number(i * i * 0.25) +
                       "\r\n");
        window.show();
    }

    void reset()
    {
        box->setPlainText(QStringLiteral("Enter Data Here"));
        QCoreApplication::processEvents();
    }
};

double openOnce(FileBench& bench)
{
    bench.reset();
    const BenchClock::time_point start = BenchClock::now();
    bench.window.loadDataFile(bench.path);
    QCoreApplication::processEvents();
    return millisecondsSince(start);
}

double floorOfOpeningOnce(FileBench& bench)
{
    bench.reset();
    const BenchClock::time_point start = BenchClock::now();
    readFileIntoBox(bench.box, bench.path);
    return millisecondsSince(start);
}

} // namespace

void registerFileBenchmarks(Ratios& ratios)
{
    registerInTurns(ratios, "file/open_1000_lines", "file/open_1000_lines", 1.5, 0.3,
                    [](benchmark::State& state) {
                        FileBench bench;
                        measureInTurns(
                            state, [&] { return openOnce(bench); },
                            [&] { return floorOfOpeningOnce(bench); });
                    });
}
