#include "batch/batch_run.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

namespace {

// y = 2 x + 1 with small deviations, under a header.
const char* const lineData = "x,y\r\n0,1.1\r\n1,2.9\r\n2,5.2\r\n3,6.9\r\n4,9.0\r\n";

struct FitRun {
    const char* name;
    std::vector<std::string> arguments;
    int exitStatus;
    std::string out;
    std::string err;
};

const FitRun fitRuns[] = {
    {"text_of_the_graph_window",
     {"fit", "--model", "line"},
     producedOutput,
     // by hand: Sxy = 19.8, Sxx = 10, SSE = 0.064, Syy = 39.268
     "Straight-line fit y = m x + b through 5 points:\nslope m = 1.980 ± 0.046\n"
     "intercept b = 1.06 ± 0.11\nR² = 0.998370\n"
     "± gives the standard uncertainty (one standard deviation).\n",
     ""},
    // exact fractions give a0 = 0.75, a1 = 2.25, a2 = -0.05, SSE = 0.05
    {"json_for_scripts",
     {"fit", "--json", "--model", "polynomial:2", "--from", "1"},
     producedOutput,
     R"({"model": "y = a0 + a1 x + a2 x²", "points": 4, "degrees_of_freedom": 1, )"
     R"("parameters": [{"name": "a0", "value": 0.7499999999999992, "uncertainty": 0.6224949798994382, "unit": null}, )"
     R"({"name": "a1", "value": 2.250000000000001, "uncertainty": 0.5678908345800289, "unit": null}, )"
     R"({"name": "a2", "value": -0.050000000000000155, "uncertainty": 0.11180339887498979, "unit": null}], )"
     R"("residual_sum_of_squares": 0.050000000000000266, )"
     R"("residual_standard_deviation": 0.22360679774997957, "r_squared": 0.9975074775672981, )"
     R"("chi_squared": null, "reduced_chi_squared": null, "p_value": null, "results": [], )"
     // s² (XᵀX)⁻¹ with s² = 0.05: 0.3875, -0.3375, 0.0625; 0.3225, -0.0625; 0.0125
     R"("covariance": [[0.38750000000000207, -0.3375000000000018, 0.06250000000000033], )"
     R"([-0.3375000000000018, 0.32250000000000173, -0.06250000000000033], )"
     R"([0.06250000000000033, -0.06250000000000033, 0.012500000000000067]]})"
     "\n",
     ""},
    // -b/m = -0.53535, u² = (s/m)² (1/5 + (x0 - 2)²/10) with s² = 0.064/3;
    // u(2m) = 2 s/√10
    {"results_after_the_fit_text",
     {"fit", "--model", "line", "--result", "-b/m", "--result", "m*2"},
     producedOutput,
     "Straight-line fit y = m x + b through 5 points:\nslope m = 1.980 ± 0.046\n"
     "intercept b = 1.06 ± 0.11\nR² = 0.998370\n"
     "± gives the standard uncertainty (one standard deviation).\n"
     "-b/m = -0.535 ± 0.068\nm*2 = 3.960 ± 0.092\n",
     ""},
    {"own_equation_with_starts",
     {"fit", "--equation", "a*x + c", "--start", "a=2", "--json"},
     producedOutput,
     "",
     ""},
    {"no_fit_says_why",
     {"fit", "--equation", "2*x"},
     noOutput,
     "",
     "message: the equation has no parameter to fit\n"},
    {"left_out_rows_are_named",
     {"fit", "--model", "line", "--y", "3"},
     noOutput,
     "",
     "message: 5 rows have no number in column 3; the first is line 2: \"0,1.1\"\n"
     "message: a line needs at least two points; there are 0 points\n"},
    {"line_number_against_column_2",
     {"fit", "--model", "proportional", "--x", "0"},
     producedOutput,
     "",
     ""},
};

class BatchFits : public testing::TestWithParam<FitRun> {};

TEST_P(BatchFits, PrintTheFitOrSayWhyNot)
{
    std::istringstream input(lineData);
    const BatchResult result = runBatch(GetParam().arguments, input);
    EXPECT_EQ(result.exitStatus, GetParam().exitStatus);
    EXPECT_EQ(result.err, GetParam().err);
    if (!GetParam().out.empty())
        EXPECT_EQ(result.out, GetParam().out);
    else if (result.exitStatus == noOutput)
        EXPECT_EQ(result.out, "");
    else
        EXPECT_TRUE((result.out.find("\"parameters\": [{\"name\": ") == std::string::npos) !=
                    (result.out.find("Fit y = A x through 5 points:\nA = ") == std::string::npos))
            << result.out;
}

INSTANTIATE_TEST_SUITE_P(Runs, BatchFits, testing::ValuesIn(fitRuns),
                         [](const auto& info) { return std::string(info.param.name); });

struct FitUsage {
    std::vector<std::string> arguments;
    std::string explanation;
};

const FitUsage fitUsages[] = {
    {{"fit"}, "fit needs --model NAME or --equation TEXT"},
    {{"fit", "--model", "spline"},
     "unknown model \"spline\"; the models are line (or linear), proportional, quadratic, "
     "polynomial:N (N 2 to 10; cubic is polynomial:3), exponential, exponential-offset, power, "
     "logarithm, sine, gaussian"},
    {{"fit", "--model", "polynomial:11"}, "unknown model \"polynomial:11\"; the models are line "
                                          "(or linear), proportional, quadratic, polynomial:N (N 2 "
                                          "to 10; cubic is polynomial:3), exponential, "
                                          "exponential-offset, power, logarithm, sine, gaussian"},
    {{"fit", "--model", "line", "--equation", "a*x"}, "give one of --model and --equation, once"},
    {{"fit", "--model", "line", "--start", "m=1"}, "--start is for an own equation"},
    {{"fit", "--equation", "a*x", "--start", "a"}, "--start takes NAME=VALUE, not \"a\""},
    {{"fit", "--model", "line", "--y", "0"}, "--y takes a column number, not \"0\""},
    {{"fit", "--model", "line", "--from", "one"}, "--from takes a number, not \"one\""},
    {{"fit", "--model", "line", "--colour"}, "unknown option \"--colour\""},
    {{"--delimiter", "pipe", "fit", "--model", "line"}, "unknown delimiter \"pipe\""},
    {{"fit", "--model", "line", "--sigma-y", "0"}, "--sigma-y takes a column number, not \"0\""},
    {{"fit", "--model", "line", "--result", "g/m"},
     "--result g/m: \"g\" is not a parameter of this fit; its parameters are m and b"},
};

TEST(BatchFits, TakeTheUsualNamesOfPolynomials)
{
    const std::pair<const char*, const char*> names[] = {
        {"linear", "Straight-line fit y = m x + b through 5 points:"},
        {"quadratic", "Fit y = a0 + a1 x + a2 x² through 5 points:"},
        {"cubic", "Fit y = a0 + a1 x + a2 x² + a3 x³ through 5 points:"},
    };
    for (const auto& [name, first] : names) {
        std::istringstream input(lineData);
        const BatchResult result = runBatch({"fit", "--model", name}, input);
        EXPECT_EQ(result.exitStatus, producedOutput) << name;
        EXPECT_EQ(result.out.substr(0, result.out.find('\n')), first) << name;
    }
}

TEST(BatchFits, ExplainWhatIsWrongWithTheUsage)
{
    for (const FitUsage& usage : fitUsages) {
        std::istringstream input(lineData);
        const BatchResult result = runBatch(usage.arguments, input);
        EXPECT_EQ(result.exitStatus, usageError);
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
                  "benchtabler-batch: " + usage.explanation);
    }
}

} // namespace

namespace {

// The number after `key` in a JSON text, or NaN.
double jsonNumberAfter(const std::string& json, const std::string& key)
{
    const auto at = json.find(key);
    double value = std::nan("");
    if (at != std::string::npos)
        std::from_chars(json.data() + at + key.size(), json.data() + json.size(), value);
    return value;
}

TEST(BatchFits, GiveResultsAndTheCovarianceInJson)
{
    std::istringstream input(lineData);
    const BatchResult result = runBatch(
        {"fit", "--model", "line", "--json", "--result", "-b/m", "--result", "ln(-m)"}, input);
    EXPECT_EQ(result.exitStatus, producedOutput);
    // By hand: s² = 0.064/3, x0 = -1.06/1.98, u(x0)² = (s/m)² (1/5 + (x0 - 2)²/10).
    const double s2 = 0.064 / 3, x0 = -1.06 / 1.98;
    const double u = std::sqrt(s2 / (1.98 * 1.98) * (0.2 + (x0 - 2) * (x0 - 2) / 10));
    EXPECT_NEAR(jsonNumberAfter(result.out, R"({"formula": "-b/m", "value": )"), x0, 1e-14);
    EXPECT_NEAR(jsonNumberAfter(result.out, R"(-0.5353535353535354, "uncertainty": )"), u,
                1e-12 * u);
    EXPECT_NE(result.out.find(R"j({"formula": "ln(-m)", "value": null, "uncertainty": null, )j"
                              R"("message": "gives no number with these parameter values", "name": null, "unit": null}])"),
              std::string::npos)
        << result.out;
    // s²/10, -2 s²/10 and s² (1/5 + 4/10), rows in the order of "parameters"
    EXPECT_NEAR(jsonNumberAfter(result.out, R"("covariance": [[)"), s2 / 10, 1e-15);
    EXPECT_NEAR(jsonNumberAfter(result.out, R"("covariance": [[0.0021333333333333282, )"),
                -2 * s2 / 10, 1e-15);
    EXPECT_NEAR(jsonNumberAfter(result.out, R"(], [-0.0042666666666666565, )"), s2 * 0.6, 1e-15);
}

TEST(BatchFits, WeighByTheColumnsOfUncertainties)
{
    // t, x, u(x): the third column holds y's uncertainties.
    std::istringstream input("0,1.1,0.1\r\n1,2.9,0.1\r\n2,5.2,0.2\r\n3,6.9,0.1\r\n4,9.0,0.3\r\n");
    const BatchResult result = runBatch({"fit", "--model", "line", "--sigma-y", "3"}, input);
    EXPECT_EQ(result.exitStatus, producedOutput) << result.err;
    EXPECT_NE(result.out.find("\nχ² = "), std::string::npos) << result.out;
    EXPECT_TRUE(result.out.ends_with("\n± from the given uncertainties\n")) << result.out;
    std::istringstream again("0,1.1,0.1\r\n1,2.9,0.1\r\n2,5.2,0.2\r\n3,6.9,0.1\r\n4,9.0,0.3\r\n");
    const BatchResult json =
        runBatch({"fit", "--model", "line", "--sigma-y", "3", "--sigma-x", "3", "--json"}, again);
    EXPECT_EQ(json.out.find("\"chi_squared\": null"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"reduced_chi_squared\": "), std::string::npos);
    EXPECT_NE(json.out.find("\"p_value\": 0."), std::string::npos) << json.out;
}

} // namespace
