// Saving a box of 100 000 rows and three columns for a spreadsheet: the
// blocks read and the workbook written, as the export's thread does. No
// target: the time is printed for information.

#include "bench_ratios.h"

#include "workbook/workbook_file.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <string>

namespace {

void saveAHundredThousandRows(benchmark::State& state)
{
    std::string box = "t (s),U (V),I (A)\r\n";
    for (int r = 0; r < 100000; ++r)
        box += std::to_string(r * 0.01) + "," + std::to_string(1.5 + (r * 37 % 101) * 0.001) +
               ",0." + std::to_string(r % 997) + "\r\n";
    const QTemporaryDir directory;
    const std::string path = directory.filePath("lab.xlsx").toStdString();
    for (auto _ : state) {
        const WorkbookWritten written = writeWorkbook(path, workbookContent(box, ','));
        if (!written.failure.empty() || written.rows != 100000)
            state.SkipWithError(written.failure.c_str());
        benchmark::DoNotOptimize(written.rows);
    }
}

} // namespace

void registerWorkbookBenchmarks(Ratios& ratios)
{
    benchmark::RegisterBenchmark("workbook/100000_rows", saveAHundredThousandRows)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    Ratio time{"workbook/100000_rows", "workbook/100000_rows", "", 0, 1};
    time.timeOnly = true;
    ratios.push_back(time);
}
