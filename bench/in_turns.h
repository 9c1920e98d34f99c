#pragma once

// A measurement and its floor taken in turns, one of each per iteration, so
// that a slow spell of the machine (seen lasting 50 to 150 ms, slowing a file
// write as much as a command) falls on both alike instead of on one of two
// benchmarks run at different times. The time reported is the measurement's;
// the counter "ratio" is its total over the floor's, and a Ratio with
// counter = "ratio" reads it.

#include "bench_ratios.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

using BenchClock = std::chrono::steady_clock;

inline double millisecondsSince(BenchClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

// `measured` and `floor` each prepare what they need and return the
// milliseconds of their timed part.
template <typename Measured, typename Floor>
void measureInTurns(benchmark::State& state, Measured measured, Floor floor)
{
    for (int i = 0; i < 3; ++i) { // the first runs of each are slower
        measured();
        floor();
    }
    double measuredTotal = 0, floorTotal = 0;
    for (auto _ : state) {
        const double milliseconds = measured();
        state.SetIterationTime(milliseconds / 1000);
        measuredTotal += milliseconds;
        floorTotal += floor();
    }
    state.counters["floor_ms"] = floorTotal / static_cast<double>(state.iterations());
    state.counters["ratio"] = measuredTotal / floorTotal;
}

// Registers a benchmark made with measureInTurns and the ratio read from it.
template <typename Function>
void registerInTurns(Ratios& ratios, const std::string& benchmarkName, const std::string& ratioName,
                     double target, double minTime, Function function)
{
    benchmark::RegisterBenchmark(benchmarkName.c_str(), function)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->MinTime(minTime);
    Ratio ratio{ratioName, benchmarkName, "", target};
    ratio.counter = "ratio";
    ratios.push_back(ratio);
}
