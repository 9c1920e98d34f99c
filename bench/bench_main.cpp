// Runs every benchmark in one process and ends with one line per target:
// "ratio NAME VALUE target T". Ratios are measured in the same run because
// absolute times drift on a shared machine.

#include "bench_ratios.h"

#include "app/large_blocks.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <map>

namespace {

// Keeps the median real time per iteration of every benchmark's repetitions
// while printing as usual.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> realTime;
    std::map<std::string, benchmark::UserCounters> counters;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Aggregate &&
                run.aggregate_name == "median") {
                realTime[run.run_name.function_name] = run.GetAdjustedRealTime();
                counters[run.run_name.function_name] = run.counters;
            }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's runtime directory, for this process and the start-up programs it runs.
    const std::filesystem::path runtime =
        std::filesystem::temp_directory_path() / "benchtabler-bench-runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", runtime.string().c_str());
    giveLargeBlocksBack(); // as the program does
    QApplication application(argc, argv);
    // Five repetitions of each benchmark, compared by their medians: a
    // shared machine's hiccups then move no ratio.
    std::vector<char*> arguments(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregatesOnly = "--benchmark_report_aggregates_only=true";
    arguments.insert(arguments.begin() + 1, {repetitions.data(), aggregatesOnly.data()});
    int argumentCount = static_cast<int>(arguments.size());
    benchmark::Initialize(&argumentCount, arguments.data());

    Ratios ratios;
    registerRenderingBenchmarks(ratios);
    registerCommandBenchmarks(ratios);
    registerFileBenchmarks(ratios);
    registerGraphBenchmarks(ratios);
    registerRecordBenchmarks(ratios);
    registerReportBenchmarks(ratios);
    registerSessionBenchmarks(ratios);
    registerWorkbookBenchmarks(ratios);
    registerSpectrumBenchmarks(ratios);
    registerStartupBenchmarks(ratios, std::filesystem::path(argv[0]).parent_path().string());

    // Ratios that measure the process itself (its resident memory) are taken
    // first, before any benchmark has held a million rows of its own.
    std::map<std::string, double> computed;
    for (const Ratio& ratio : ratios)
        if (ratio.compute)
            computed[ratio.name] = ratio.compute();

    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    int missed = 0;
    for (const Ratio& ratio : ratios) {
        if (ratio.compute || !ratio.counter.empty()) {
            const auto counted = reporter.counters.find(ratio.measured);
            const double value =
                ratio.compute ? computed.at(ratio.name)
                : counted == reporter.counters.end() || !counted->second.count(ratio.counter)
                    ? -1
                    : counted->second.at(ratio.counter).value;
            missed += (value < 0 || value > ratio.target) && !ratio.forInformation;
            std::printf("ratio %s %.2f target %g%s\n", ratio.name.c_str(), value, ratio.target,
                        ratio.forInformation ? " (for information)" : "");
            continue;
        }
        const auto measured = reporter.realTime.find(ratio.measured);
        if (ratio.timeOnly) {
            if (measured != reporter.realTime.end())
                std::printf("time %s %.0f ms (for information)\n", ratio.name.c_str(),
                            measured->second);
            continue;
        }
        const auto floor = reporter.realTime.find(ratio.floor);
        const bool fixedFloor = ratio.floorMilliseconds > 0;
        if (measured == reporter.realTime.end() ||
            (!fixedFloor && floor == reporter.realTime.end()))
            continue;
        // Times are reported in each benchmark's unit; the fixed floors are
        // for benchmarks in milliseconds.
        const double value =
            measured->second / (fixedFloor ? ratio.floorMilliseconds : floor->second);
        missed += value > ratio.target && !ratio.forInformation;
        std::printf("ratio %s %.2f target %g%s\n", ratio.name.c_str(), value, ratio.target,
                    ratio.forInformation ? " (for information)" : "");
    }
    benchmark::Shutdown();
    return missed == 0 ? 0 : 1;
}
