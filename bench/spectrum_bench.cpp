// The spectrum and its peaks of 2^20 samples (a phone's accelerometer for
// hours, 24 s of sound), against 100 ms: the longest a student should wait.

#include "bench_ratios.h"

#include "spectrum/spectrum.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

void spectrumOfAMillionSamples(benchmark::State& state)
{
    constexpr std::size_t n = 1 << 20;
    std::vector<double> t(n), y(n);
    for (std::size_t i = 0; i < n; ++i) {
        t[i] = static_cast<double>(i) / 44100;
        y[i] = 0.3 * std::sin(2 * std::numbers::pi * 440.7 * t[i]) +
               0.01 * std::sin(static_cast<double>(i * i % 7919));
    }
    for (auto _ : state) {
        const Spectrum spectrum = spectrumOf(t, y, SpectrumWindow::Hann);
        if (spectrum.peaks.empty() || std::abs(spectrum.peaks[0].frequency - 440.7) > 0.01)
            state.SkipWithError("the tone was not found");
        benchmark::DoNotOptimize(spectrum.peaks.data());
    }
}

} // namespace

void registerSpectrumBenchmarks(Ratios& ratios)
{
    benchmark::RegisterBenchmark("spectrum/1048576_samples", spectrumOfAMillionSamples)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
    ratios.push_back({"spectrum/1048576_samples", "spectrum/1048576_samples", "", 1, 100});
}
