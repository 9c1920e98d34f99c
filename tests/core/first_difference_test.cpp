#include "commands/first_difference.h"
#include "commands/running_sum.h"

#include "command_case.h"

namespace {

const std::string diffHeader = "********  Differences are displayed below with original data ****";
const std::string diffColumn = "********  Differences are displayed below in a single column ****";

const CommandCase firstDifferences[] = {
    {"worked example",
     ',',
     "1\r\n4\r\n9\r\n16",
     {"1"},
     diffHeader + " 1\r\n 4, 3\r\n 9, 5\r\n 16, 7\r\n" + diffColumn + " 3\r\n 5\r\n 7\r\n",
     {}},
    {"one line", ',', "7", {"1"}, diffHeader + " 7\r\n" + diffColumn, {}},
    {"no line", ',', "\r\n\r\n", {"1"}, diffHeader + "\r\n" + diffColumn, {}},
    {"falling", ',', "5\r\n2", {"1"}, diffHeader + " 5\r\n 2,-3\r\n" + diffColumn + "-3\r\n", {}},
    {"empty lines dropped",
     ',',
     "1\r\n\r\n4\r\n",
     {" 1 "},
     diffHeader + " 1\r\n 4, 3\r\n" + diffColumn + " 3\r\n",
     {}},
    {"whole lines",
     ',',
     "3,4\r\nabc\r\n3\t4\r\n-.5",
     {"1"},
     diffHeader + " 3\r\n0,-3\r\n 34, 34\r\n-.5,-34.5\r\n" + diffColumn + "-3\r\n 34\r\n-34.5\r\n",
     {"line 2 holds no number and was read as 0: \"abc\""}},
    {"tab delimiter",
     '\t',
     "1.5\r\n2",
     {"1"},
     diffHeader + " 1.5\r\n 2\t .5\r\n" + diffColumn + " .5\r\n",
     {}},
    {"space delimiter",
     ' ',
     "10\r\n0",
     {"1"},
     diffHeader + " 10\r\n0 -10\r\n" + diffColumn + "-10\r\n",
     {}},
    {"declined with 2", ',', "1\r\n2", {"2"}, "1\r\n2", {}},
    {"declined with 3", ',', "1\r\n2", {"3"}, "1\r\n2", {}},
    {"cancelled", ',', "1\r\n2", {""}, "1\r\n2", {}},
    {"answered with text", ',', "1\r\n2", {"yes"}, "1\r\n2", {}},
    {"difference too large",
     ',',
     "1e308\r\n-1e308",
     {"1"},
     "1e308\r\n-1e308",
     {"a result is too large to be computed; please check the data for a typo"}},
};

class FirstDifference : public testing::TestWithParam<CommandCase> {};
TEST_P(FirstDifference, Run) { runCommandCase(GetParam(), firstDifference); }
INSTANTIATE_TEST_SUITE_P(Cases, FirstDifference, testing::ValuesIn(firstDifferences), caseName);

const std::string sumHeader = "********  Running Sums are displayed below with original data ****";
const std::string sumColumn =
    "********  Running Sums are displayed below in a single column ****\r\n";
const std::string sumDone =
    "running sums are displayed in the text box; note: option to display original numbers with "
    "differences, save as comma-delimited file, etc.";

const CommandCase runningSums[] = {
    {"worked example",
     ',',
     "1\r\n2\r\n3\r\n4",
     {"1"},
     sumHeader + " 1, 1\r\n 2, 3\r\n 3, 6\r\n 4, 10\r\n" + sumColumn + " 1\r\n 3\r\n 6\r\n 10\r\n",
     {sumDone}},
    {"no line", ',', "", {"1"}, sumHeader + sumColumn, {sumDone}},
    {"one line", ',', "7", {"1"}, sumHeader + " 7, 7\r\n" + sumColumn + " 7\r\n", {sumDone}},
    {"signs",
     ';',
     "5\r\n-8\r\n2",
     {"1"},
     sumHeader + " 5; 5\r\n-8;-3\r\n 2;-1\r\n" + sumColumn + " 5\r\n-3\r\n-1\r\n",
     {sumDone}},
    {"letters count as 0",
     '\t',
     "1\r\nabc\r\n2\r\n",
     {"1"},
     sumHeader + " 1\t 1\r\n0\t 1\r\n 2\t 3\r\n" + sumColumn + " 1\r\n 1\r\n 3\r\n",
     {sumDone, "line 2 holds no number and was read as 0: \"abc\""}},
    {"declined", ',', "1", {"2"}, "1", {}},
    {"cancelled", ',', "1", {""}, "1", {}},
    {"sum too large",
     ',',
     "1e308\r\n1e308\r\n-1e308",
     {"1"},
     "1e308\r\n1e308\r\n-1e308",
     {"a result is too large to be computed; please check the data for a typo"}},
};

class RunningSum : public testing::TestWithParam<CommandCase> {};
TEST_P(RunningSum, Run) { runCommandCase(GetParam(), runningSum); }
INSTANTIATE_TEST_SUITE_P(Cases, RunningSum, testing::ValuesIn(runningSums), caseName);

TEST(FirstDifference, AsksTheDataFormatQuestionBeforeReadingTheBox)
{
    TestBench bench("1\r\n2", {"2"});
    bench.state->delimiterName = "tab";
    firstDifference(bench.context);
    ASSERT_EQ(bench.ui.prompts.size(), 1u);
    EXPECT_NE(bench.ui.prompts[0].find("delimited by tab\r\n"), std::string::npos);
    EXPECT_EQ(bench.state->lineCount, 0);
    EXPECT_FALSE(std::filesystem::exists(bench.directory.path() / "tempFile.txt"));
}

TEST(RunningSum, LeavesItsValuesAndSumsInTheWorkingState)
{
    TestBench bench("1\r\n2\r\n3\r\n4\r\n5", {"1", "1"});
    runningSum(bench.context);
    bench.ui.box = "10\r\n20";
    runningSum(bench.context);
    const WorkingState& state = *bench.state;
    EXPECT_EQ(state.columnResults[0].value(), 0);
    EXPECT_EQ(state.columnResults[2].value(), 30);
    EXPECT_EQ(state.columnValues[3].value(), 3); // from the first run
    EXPECT_EQ(state.columnResults[5].value(), 15);
}

TEST(FirstDifference, RefusesMoreThanOneThousandLinesWithTheBoxUnchanged)
{
    std::string box;
    for (int i = 0; i < 1001; ++i)
        box += "1\r\n";
    TestBench bench(box, {"1"});
    firstDifference(bench.context);
    EXPECT_EQ(bench.ui.box, box);
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_NE(bench.ui.messages[0].find("more than 1000 lines"), std::string::npos);
}

} // namespace
