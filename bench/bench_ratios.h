#pragma once

#include <functional>
#include <string>
#include <vector>

// A measured ratio: the time of one benchmark over the time of its floor,
// another benchmark, or a fixed time when floorMilliseconds is set.
struct Ratio {
    std::string name;
    std::string measured;
    std::string floor;
    double target;
    double floorMilliseconds = 0;
    bool forInformation = false; // printed, but a miss does not fail the run
    // Measures the ratio itself, instead of two benchmarks (negative: failed).
    std::function<double()> compute = {};
    // The ratio is this counter of the measured benchmark, which times its
    // floor itself.
    std::string counter = {};
    // Only the measured time is printed, in milliseconds, for information.
    bool timeOnly = false;
};

using Ratios = std::vector<Ratio>;

void registerRenderingBenchmarks(Ratios& ratios);
void registerCommandBenchmarks(Ratios& ratios);
void registerFileBenchmarks(Ratios& ratios);
void registerGraphBenchmarks(Ratios& ratios);
void registerRecordBenchmarks(Ratios& ratios);
void registerReportBenchmarks(Ratios& ratios);
void registerSessionBenchmarks(Ratios& ratios);
void registerWorkbookBenchmarks(Ratios& ratios);
void registerSpectrumBenchmarks(Ratios& ratios);
void registerStartupBenchmarks(Ratios& ratios, const std::string& programDirectory);
