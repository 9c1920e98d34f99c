// Writing a one-page lab report from the graph window: the pendulum's
// weighted line with g from its slope, from "Save report..." past its dialog
// to the PDF durably on disk, against half a second.

#include "bench_ratios.h"

#include "app/graph_window.h"
#include "app/report_panel.h"

#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

const char* const pendulum = "L (m),T (s),u(T) (s),T^2,u(T^2)\r\n0.20,0.90,0.02, .81, .036\r\n"
                             "0.40,1.27,0.02, 1.613, .0508\r\n0.60,1.55,0.02, 2.403, .062\r\n"
                             "0.80,1.80,0.02, 3.24, .072\r\n1.00,2.01,0.02, 4.040, .0804\r\n";

template <typename Widget> Widget* named(QWidget& window, const QString& name)
{
    for (Widget* widget : window.findChildren<Widget*>())
        if (widget->accessibleName() == name)
            return widget;
    return nullptr;
}

void onePageReport(benchmark::State& state)
{
    QTemporaryDir directory;
    GraphWindow window([] { return BoxSnapshot{pendulum, ','}; }, directory.path(), nullptr);
    window.showAndRaise();
    auto* y = named<QComboBox>(window, "y");
    y->setCurrentIndex(3);
    emit y->activated(3);
    named<QComboBox>(window, "fit")->setCurrentText("straight line y = m x + b");
    named<QLineEdit>(window, "result")->setText("4*pi^2/m");
    emit named<QLineEdit>(window, "result")->editingFinished();
    const QString path = directory.filePath("report.pdf");
    for (auto _ : state)
        if (!window.reportPanel()->saveReport(path).isEmpty())
            state.SkipWithError("the report was not written");
}

} // namespace

void registerReportBenchmarks(Ratios& ratios)
{
    benchmark::RegisterBenchmark("report/pdf_one_page", onePageReport)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.5);
    ratios.push_back({"report/pdf_one_page", "report/pdf_one_page", "", 1, 500});
}
