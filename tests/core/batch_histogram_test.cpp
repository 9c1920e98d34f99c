#include "batch/batch_run.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Eight reaction times: mean 0.25, deviations ±0.01, ±0.02, ±0.03, ±0.04.
const char* const times = "trial,t (s)\r\n1,0.21\r\n2,0.22\r\n3,0.23\r\n4,0.24\r\n5,0.26\r\n"
                          "6,0.27\r\n7,0.28\r\n8,0.29\r\n";

struct HistogramRun {
    const char* name;
    std::string input;
    std::vector<std::string> arguments;
    int exitStatus;
    std::string out;
    std::string err;
};

const HistogramRun runs[] = {
    // s² = 2 (0.01² + 0.02² + 0.03² + 0.04²)/7 = 0.006/7: s = 0.02928,
    // s/√8 = 0.01035. IQR 0.2625 - 0.2275 = 0.035: 2 · 0.035/2 = 0.035,
    // rounded to 0.02. s as JSON is within a unit in the last place of √(0.006/7).
    {"text_and_bins",
     times,
     {"histogram"},
     producedOutput,
     "N = 8\nmean = 0.250 ± 0.010 s (± the standard error s/√N)\n"
     "s = 0.029 s (standard deviation, N - 1)\n"
     "4 of 8 values (50 %) lie within mean ± s; for a normal distribution about 68 % would\n"
     "0.20 0.22 1\n0.22 0.24 2\n0.24 0.26 1\n0.26 0.28 2\n0.28 0.30 2\n",
     ""},
    {"typed_width_as_json",
     times,
     {"histogram", "--bins", "0.05", "--json"},
     producedOutput,
     R"({"n": 8, "mean": 0.25, "standard_deviation": 0.029277002188455997, )"
     R"("standard_error": 0.010350983390135314, "bin_width": 0.05, "edges": [0.2, 0.25, 0.3], )"
     R"("counts": [4, 4], "within_one_sd": 4})"
     "\n",
     ""},
    {"column_chosen", times, {"histogram", "--y", "1", "--bins", "sturges"}, producedOutput, "", ""},
    {"no_values",
     "t (s)\r\nnone\r\n",
     {"histogram"},
     noOutput,
     "",
     "message: nothing to plot: no line begins with a number\n"
     "message: there are no values to count, so there is no histogram\n"},
    {"too_many_bins",
     times,
     {"histogram", "--bins", "0.000001"},
     noOutput,
     "",
     "message: a bin width of 0.000001 would make more than 10000 bins: choose a wider one\n"
     "message: there are no values to count, so there is no histogram\n"},
};

class BatchHistograms : public testing::TestWithParam<HistogramRun> {};

TEST_P(BatchHistograms, PrintTheWindowsTextAndTheBins)
{
    std::istringstream input(GetParam().input);
    const BatchResult result = runBatch(GetParam().arguments, input);
    EXPECT_EQ(result.exitStatus, GetParam().exitStatus);
    EXPECT_EQ(result.err, GetParam().err);
    if (!GetParam().out.empty() || result.exitStatus == noOutput)
        EXPECT_EQ(result.out, GetParam().out);
    else
        EXPECT_NE(result.out.find("N = 8\n"), std::string::npos) << result.out;
}

INSTANTIATE_TEST_SUITE_P(Runs, BatchHistograms, testing::ValuesIn(runs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BatchHistograms, RefuseOptionsThatAreNotTheirs)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"histogram", "--bins", "many"},
          std::vector<std::string>{"histogram", "--model", "line"},
          std::vector<std::string>{"histogram", "--x", "1"}}) {
        std::istringstream input(times);
        const BatchResult result = runBatch(arguments, input);
        EXPECT_EQ(result.exitStatus, usageError) << arguments[1];
        EXPECT_EQ(result.out, "");
    }
}

} // namespace
