// Start-up to the first shown window, as whole processes: the program's
// window against a window of the same size that holds only a text box with
// the start-up text (the ratio that counts), and, for information, against
// a bare window without one. The start of a process moves with whatever else
// the machine does, so the ratios are taken from starts made in turns, each
// start of the program next to one of the window it is held against: the
// median of those pairs' ratios.

#include "bench_ratios.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr int pairs = 41;

// Starts the program and waits for it; false when it failed.
bool runOnce(const std::string& program)
{
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double secondsOf(const std::string& program)
{
    const auto start = std::chrono::steady_clock::now();
    if (!runOnce(program))
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void runToCompletion(benchmark::State& state, const std::string& program)
{
    for (auto _ : state)
        if (!runOnce(program)) {
            state.SkipWithError("the program failed");
            return;
        }
}

// The median over pairs of starts, made in turns, of program / against.
double pairedRatio(const std::string& program, const std::string& against)
{
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        const bool programFirst = i % 2 == 0; // neither always goes first
        const double a = programFirst ? secondsOf(program) : 0;
        const double b = secondsOf(against);
        const double c = programFirst ? a : secondsOf(program);
        if (c <= 0 || b <= 0)
            return -1;
        ratios.push_back(c / b);
    }
    std::nth_element(ratios.begin(), ratios.begin() + pairs / 2, ratios.end());
    return ratios[pairs / 2];
}

} // namespace

void registerStartupBenchmarks(Ratios& ratios, const std::string& programDirectory)
{
    const auto path = [&](const char* program) {
        return (std::filesystem::path(programDirectory) / program).string();
    };
    for (const char* program : {"startup_form1", "startup_box_window", "startup_bare_window"})
        benchmark::RegisterBenchmark((std::string("startup/") + program).c_str(), runToCompletion,
                                     path(program))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10);
    Ratio box{"startup/box_window", "", "", 1.2};
    box.compute = [form1 = path("startup_form1"), window = path("startup_box_window")] {
        return pairedRatio(form1, window);
    };
    ratios.push_back(box);
    Ratio bare{"startup/bare_window", "", "", 1.3};
    bare.forInformation = true;
    bare.compute = [form1 = path("startup_form1"), window = path("startup_bare_window")] {
        return pairedRatio(form1, window);
    };
    ratios.push_back(bare);
}
