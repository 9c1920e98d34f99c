#include "in_turns.h"

#include "format/decimal_number.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <random>
#include <vector>

namespace {

// 100000 values spread evenly in magnitude from 1e-12 to 1e18, both signs.
const std::vector<double>& values()
{
    static const std::vector<double> spread = [] {
        std::mt19937_64 engine(1208);
        std::uniform_real_distribution<double> exponent(-12, 18);
        std::vector<double> v(100000);
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] = (i % 2 ? -1 : 1) * std::pow(10.0, exponent(engine));
        return v;
    }();
    return spread;
}

double decimalNumberOfEachValue()
{
    const BenchClock::time_point start = BenchClock::now();
    for (const double x : values())
        benchmark::DoNotOptimize(decimalNumber(x));
    return millisecondsSince(start);
}

double toCharsOfEachValue()
{
    char buffer[64];
    const BenchClock::time_point start = BenchClock::now();
    for (const double x : values()) {
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, x);
        benchmark::DoNotOptimize(result.ptr);
        benchmark::ClobberMemory();
    }
    return millisecondsSince(start);
}

} // namespace

void registerRenderingBenchmarks(Ratios& ratios)
{
    registerInTurns(ratios, "rendering/decimalNumber", "decimalNumber/to_chars", 3, 0.5,
                    [](benchmark::State& state) {
                        measureInTurns(state, decimalNumberOfEachValue, toCharsOfEachValue);
                    });
}
