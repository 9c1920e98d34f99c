// Re-plotting the graph of a 1000-line, two-column box, from the change of
// the box to the painted graph, offscreen and without the pause that gathers
// quick edits, against one frame at 60 Hz: typing with the graph open must
// not lag. The same with a fitted exponential, an own equation from its
// Fit button to the painted graph, a histogram of 10000 values, and ten runs
// of 100000 rows each drawn together as "all runs".

#include "bench_ratios.h"

#include "app/form1.h"
#include "app/graph_widget.h"
#include "app/graph_window.h"
#include "readings/area.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cmath>

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

// A cooling curve of 1000 readings, one a second, with the noise of a
// thermometer's last digit.
QString coolingBox()
{
    QString box = "t (s),T (°C)\n";
    for (int i = 0; i < 1000; ++i)
        box +=
            QString::number(i) + "," +
            QString::number(21.5 + 58 * std::exp(-0.004 * i) + 0.05 * ((i * 37) % 7 - 3), 'f', 2) +
            "\n";
    return box;
}

template <typename Widget> Widget* named(QWidget& window, const QString& name)
{
    for (Widget* widget : window.findChildren<Widget*>())
        if (widget->accessibleName() == name)
            return widget;
    return nullptr;
}

struct GraphOfCooling {
    QTemporaryDir directory;
    Form1 window{directory.path().toStdString()};
    QPlainTextEdit* text = nullptr;
    GraphWindow* graph = nullptr;

    explicit GraphOfCooling(const QString& model)
    {
        window.show();
        text = window.findChild<QPlainTextEdit*>("Text1");
        text->setPlainText(coolingBox());
        window.findChild<QPushButton*>("cmd_graph")->click();
        graph = window.findChild<GraphWindow*>();
        named<QComboBox>(*graph, "fit")->setCurrentText(model);
        QCoreApplication::processEvents();
    }
};

void replotWithExponential(benchmark::State& state)
{
    GraphOfCooling cooling("exponential with offset y = A e^(B x) + C");
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cooling.text->appendPlainText(QString::number(++edit % 10 + 1000) + ",21.5");
        state.ResumeTiming();
        cooling.graph->replot();
        cooling.graph->graph()->repaint();
        QCoreApplication::processEvents();
    }
    if (!cooling.graph->graph()->plot().fit->fitted())
        state.SkipWithError("the exponential did not fit");
}

void fitOwnEquation(benchmark::State& state)
{
    GraphOfCooling cooling("own equation");
    named<QLineEdit>(*cooling.graph, "equation")->setText("C + A*exp(-k*x) + B*x");
    named<QLineEdit>(*cooling.graph, "equation")->textEdited("C + A*exp(-k*x) + B*x");
    named<QLineEdit>(*cooling.graph, "starting value of C")->setText("20");
    named<QLineEdit>(*cooling.graph, "starting value of A")->setText("50");
    named<QLineEdit>(*cooling.graph, "starting value of k")->setText("0.01");
    named<QLineEdit>(*cooling.graph, "starting value of B")->setText("0");
    QPushButton* fit = nullptr;
    for (QPushButton* button : cooling.graph->findChildren<QPushButton*>())
        if (button->text() == "Fit")
            fit = button;
    // A starting value changed between the fits: the graph keeps a plot
    // whose choice and rows did not change, and each fit is made anew.
    auto* startOfK = named<QLineEdit>(*cooling.graph, "starting value of k");
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        startOfK->setText(++turn % 2 == 0 ? "0.01" : "0.011");
        state.ResumeTiming();
        fit->click();
        cooling.graph->graph()->repaint();
        QCoreApplication::processEvents();
    }
    if (!cooling.graph->graph()->plot().fit->fitted())
        state.SkipWithError("the own equation did not fit");
}

// 1000 readings of a straight line with their uncertainties in column 3:
// the bars, the weighted line and the two lines through every bar.
void replotWithErrorBars(benchmark::State& state)
{
    QTemporaryDir directory;
    Form1 window(directory.path().toStdString());
    window.show();
    QString box = "x,y,u(y)\n";
    for (int i = 0; i < 1000; ++i)
        box += QString::number(i * 0.01) + "," +
               QString::number(1.5 + 2 * i * 0.01 + 0.01 * ((i * 37) % 7 - 3), 'f', 3) + ",0.05\n";
    auto* text = window.findChild<QPlainTextEdit*>("Text1");
    text->setPlainText(box);
    window.findChild<QPushButton*>("cmd_graph")->click();
    auto* graph = window.findChild<GraphWindow*>();
    named<QComboBox>(*graph, "fit")->setCurrentText("straight line y = m x + b");
    named<QComboBox>(*graph, "y uncertainty")->setCurrentText("u(y)");
    for (QCheckBox* check : graph->findChildren<QCheckBox*>())
        if (check->text() == "steepest and shallowest lines")
            check->setChecked(true);
    QCoreApplication::processEvents();
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        text->appendPlainText(QString::number(10 + ++edit % 10 * 0.01) + ",21.5,0.05");
        state.ResumeTiming();
        graph->replot();
        graph->graph()->repaint();
        QCoreApplication::processEvents();
    }
    const GraphPlot& plot = graph->graph()->plot();
    if (!plot.fit || !plot.fit->weighted || plot.bars.empty())
        state.SkipWithError("no weighted line with bars");
}

// 10000 repeated readings with the spread of a stopwatch, as a histogram
// with its automatic bins and the normal curve: from a key typed to the
// painted graph.
void replotHistogram(benchmark::State& state)
{
    QTemporaryDir directory;
    Form1 window(directory.path().toStdString());
    window.show();
    QString box = "t (s)\n";
    for (int i = 0; i < 10000; ++i) // a sum of three evenly spread numbers: near to normal
        box += QString::number(2.0 + 0.01 * ((i * 37) % 11 + (i * 53) % 13 + (i * 71) % 7), 'f',
                               2) +
               "\n";
    auto* text = window.findChild<QPlainTextEdit*>("Text1");
    text->setPlainText(box);
    window.findChild<QPushButton*>("cmd_graph")->click();
    auto* graph = window.findChild<GraphWindow*>();
    named<QComboBox>(*graph, "plot")->setCurrentText("histogram");
    QCoreApplication::processEvents();
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        text->appendPlainText(QString::number(2.1 + ++edit % 10 * 0.01));
        state.ResumeTiming();
        graph->replot();
        graph->graph()->repaint();
        QCoreApplication::processEvents();
    }
    const GraphPlot& plot = graph->graph()->plot();
    if (!plot.histogram || plot.histogram->n < 10000 || plot.curve.empty())
        state.SkipWithError("no histogram of 10000 values with its curve");
}

// Ten recordings of a pendulum at ten lengths, 100000 rows each, on one
// graph, the tenth still recording: from a row added to the last run, as the
// recording hands it to the graph, to the painted graph.
void replotTenRuns(benchmark::State& state)
{
    QTemporaryDir directory;
    Form1 window(directory.path().toStdString());
    window.show();
    QString box;
    box.reserve(30'000'000);
    for (int run = 1; run <= 10; ++run) {
        if (run > 1)
            box += '\n'; // the last run ends with the box, where rows are added
        box += QStringLiteral("L = %1 m\nt (s),x (m)\n").arg(run * 0.1);
        const double omega = std::sqrt(9.81 / (run * 0.1));
        for (int i = 0; i < 100000; ++i) {
            const double t = i * 0.001;
            box += QString::number(t) + ',' +
                   QString::number(0.05 * std::sin(omega * t), 'f', 4) + '\n';
        }
    }
    box.chop(1); // as a recording leaves the box: its last row last
    auto* text = window.findChild<QPlainTextEdit*>("Text1");
    text->setPlainText(box);
    window.findChild<QPushButton*>("cmd_graph")->click();
    auto* graph = window.findChild<GraphWindow*>();
    auto* data = named<QComboBox>(*graph, "data");
    data->setCurrentIndex(data->count() - 1);
    emit data->activated(data->count() - 1);
    QCoreApplication::processEvents();
    // A row of the tenth run comes in as a recording hands it over: the
    // graph reads it, plots the ten runs and draws them.
    int added = 0;
    for (auto _ : state) {
        const QString t = QString::number(100 + ++added * 0.001, 'f', 3);
        graph->boxAppended("\r\n" + t.toStdString() + ",0.01");
        graph->refresh();
        graph->graph()->repaint();
        QCoreApplication::processEvents();
    }
    const GraphPlot& plot = graph->graph()->plot();
    if (plot.runs.size() != 10 || plot.runs.front().points.size() != 100000 ||
        plot.runs.back().points.size() != 100000 + static_cast<std::size_t>(added))
        state.SkipWithError("not ten runs of 100000 rows, the last with the rows added");
}

// A force sensor's pulse of a million readings, each with its uncertainty:
// the area under it with both parts of the area's uncertainty.
void areaOfAMillionRows(benchmark::State& state)
{
    ReadingRows rows;
    for (int i = 0; i < 1000000; ++i) {
        const double t = i * 1e-6;
        rows.points.push_back({t, 50 * std::sin(3.14159 * t) * std::sin(3.14159 * t)});
        rows.uy.push_back(0.5);
        rows.lines.push_back(i + 2);
    }
    double area = 0;
    for (auto _ : state) {
        const auto reading = areaUnder(rows);
        // Kept as it is read: GCC may lose a write to a variable handed to
        // DoNotOptimize as a non-const lvalue.
        benchmark::DoNotOptimize(reading);
        area = std::get<AreaReading>(reading).area;
    }
    if (!(area > 24 && area < 26))
        state.SkipWithError("not the pulse's area");
}

} // namespace

void registerGraphBenchmarks(Ratios& ratios)
{
    benchmark::RegisterBenchmark("area/1000000_rows", areaOfAMillionRows)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back({"area/1000000_rows", "area/1000000_rows", "", 1, frameAt60Hz});
    benchmark::RegisterBenchmark("fit/weighted_line_1000_points", replotWithErrorBars)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back(
        {"fit/weighted_line_1000_points", "fit/weighted_line_1000_points", "", 1, frameAt60Hz});
    benchmark::RegisterBenchmark("fit/exponential_1000_points", replotWithExponential)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back(
        {"fit/exponential_1000_points", "fit/exponential_1000_points", "", 1, frameAt60Hz});
    benchmark::RegisterBenchmark("fit/equation_1000_points", fitOwnEquation)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back({"fit/equation_1000_points", "fit/equation_1000_points", "", 2, frameAt60Hz});
    benchmark::RegisterBenchmark("graph/replot_1000_rows", replot)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back({"graph/replot_1000_rows", "graph/replot_1000_rows", "", 1, frameAt60Hz});
    benchmark::RegisterBenchmark("histogram/10000_values", replotHistogram)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back({"histogram/10000_values", "histogram/10000_values", "", 1, frameAt60Hz});
    benchmark::RegisterBenchmark("graph/replot_10_runs_100000_rows", replotTenRuns)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    ratios.push_back({"graph/replot_10_runs_100000_rows", "graph/replot_10_runs_100000_rows", "",
                      1, frameAt60Hz});
}
