// A session whose box holds a million recorded rows, saved (Ctrl+S once it
// has a file) and opened, against the floor of the same work done for a
// plain file in the same run: the box's text written as "Save text as..."
// writes it, and a file's text read and put in the box as one edit.

#include "box_floor.h"
#include "in_turns.h"

#include "app/form1.h"
#include "commands/save_output.h"
#include "data/durable_file.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>

namespace {

struct SessionBench {
    QTemporaryDir directory;
    QString session = directory.filePath("lab.btsession");
    QString plain = directory.filePath("lab.txt");
    Form1 window{directory.path().toStdString()};
    QPlainTextEdit* box = window.findChild<QPlainTextEdit*>("Text1");

    SessionBench()
    {
        QString rows = QStringLiteral("run 1\nt_ms,dist\n");
        rows.reserve(20'000'000);
        for (int i = 0; i < 1'000'000; ++i)
            rows += QString::number(i * 2) + ',' + QString::number(0.5 + (i * 37 % 101) * 0.001) +
                    '\n';
        box->setPlainText(rows);
        window.show();
        // Opened once, the session has its file: Ctrl+S then asks nothing.
        replaceFileDurably(session.toStdString(), writeSession(window.session()));
        window.openSession(session);
        saveBoxText(plain.toStdString(), window.readBox());
        QCoreApplication::processEvents();
    }

    void emptyBox()
    {
        box->setPlainText(QStringLiteral("Enter Data Here"));
        QCoreApplication::processEvents();
    }
};

double saveSessionOnce(SessionBench& bench)
{
    const BenchClock::time_point start = BenchClock::now();
    bench.window.saveSession();
    return millisecondsSince(start);
}

double savePlainFileOnce(SessionBench& bench)
{
    const BenchClock::time_point start = BenchClock::now();
    saveBoxText(bench.plain.toStdString(), bench.window.readBox());
    return millisecondsSince(start);
}

double openSessionOnce(SessionBench& bench)
{
    bench.emptyBox();
    const BenchClock::time_point start = BenchClock::now();
    bench.window.openSession(bench.session);
    QCoreApplication::processEvents();
    return millisecondsSince(start);
}

double openPlainFileOnce(SessionBench& bench)
{
    bench.emptyBox();
    const BenchClock::time_point start = BenchClock::now();
    readFileIntoBox(bench.box, bench.plain);
    return millisecondsSince(start);
}

} // namespace

void registerSessionBenchmarks(Ratios& ratios)
{
    registerInTurns(ratios, "session/save_1000000_rows", "session/save_1000000_rows", 1.5, 2.0,
                    [](benchmark::State& state) {
                        SessionBench bench;
                        measureInTurns(
                            state, [&] { return saveSessionOnce(bench); },
                            [&] { return savePlainFileOnce(bench); });
                    });
    registerInTurns(ratios, "session/open_1000000_rows", "session/open_1000000_rows", 1.5, 2.0,
                    [](benchmark::State& state) {
                        SessionBench bench;
                        measureInTurns(
                            state, [&] { return openSessionOnce(bench); },
                            [&] { return openPlainFileOnce(bench); });
                    });
}
