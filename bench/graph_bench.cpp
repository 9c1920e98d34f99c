// Re-plotting the graph of a 1000-line, two-column box, from the change of
// the box to the painted graph, offscreen and without the pause that gathers
// quick edits, against one frame at 60 Hz: typing with the graph open must
// not lag.

#include "bench_ratios.h"

#include "app/form1.h"
#include "app/graph_widget.h"
#include "app/graph_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

constexpr double frameAt60Hz = 16.7; // milliseconds

void replot(benchmark::State& state)
{
    QTemporaryDir directory;
    Form1 window(directory.path().toStdString());
    window.show();
    QString box;
    for (int i = 1; i <= 1000; ++i)
        box += QString::number(i * 0.01) + "," + QString::number(i * i * 0.0049) + "\n";
    auto* text = window.findChild<QPlainTextEdit*>("Text1");
    text->setPlainText(box);
    window.findChild<QPushButton*>("cmd_graph")->click();
    auto* graph = window.findChild<GraphWindow*>();
    QCoreApplication::processEvents();
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        text->appendPlainText(QString::number(++edit % 10)); // a key typed at the end
        state.ResumeTiming();
        graph->replot();
        graph->graph()->repaint();
        QCoreApplication::processEvents();
    }
}

} // namespace

void registerGraphBenchmarks(Ratios& ratios)
{
    benchmark::RegisterBenchmark("graph/replot_1000_rows", replot)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back({"graph/replot_1000_rows", "graph/replot_1000_rows", "", 1, frameAt60Hz});
}
