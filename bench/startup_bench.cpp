// Start-up to the first shown window, as whole processes: the program's
// window against a bare Qt window of the same size.

#include "bench_ratios.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

void runToCompletion(benchmark::State& state, const std::string& program)
{
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the program");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}

} // namespace

void registerStartupBenchmarks(Ratios& ratios, const std::string& programDirectory)
{
    for (const char* program : {"startup_form1", "startup_bare_window"}) {
        const std::string path = (std::filesystem::path(programDirectory) / program).string();
        benchmark::RegisterBenchmark((std::string("startup/") + program).c_str(), runToCompletion,
                                     path)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(10);
    }
    ratios.push_back(
        {"startup/bare_window", "startup/startup_form1", "startup/startup_bare_window", 1.3});
}
