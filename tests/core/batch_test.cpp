#include "batch/batch_run.h"
#include "commands/difference_quotient.h"
#include "commands/experiment_calculations.h"
#include "commands/first_difference.h"
#include "commands/mean_std_dev.h"
#include "commands/random_numbers.h"
#include "commands/rows_to_columns.h"
#include "commands/running_sum.h"
#include "commands/select_column.h"

#include "scripted_ui.h"

#include <fstream>
#include <sstream>

namespace {

// One input for both roads: the command line and the scripted screen.
struct SameInput {
    const char* command;
    void (*run)(CommandContext&);
    const char* delimiter;
    char delimiterCharacter;
    std::string box;
    std::vector<std::string> answers;
};

const SameInput sameInputs[] = {
    {"first-difference", firstDifference, "comma", ',', "t\r\n1\r\n4\r\n9", {"1"}},
    {"first-difference", firstDifference, "comma", ',', "1\r\n4", {"2"}},
    {"running-sum", runningSum, "tab", '\t', "1\r\n2\r\n3", {"1"}},
    {"difference-quotient", differenceQuotient, "tab", '\t', "0\t0\r\n2\t4\r\n2\t5", {"1"}},
    {"difference-quotient", differenceQuotient, "comma", ',', "0;0\r\n2;4", {"1"}},
    {"select-column", selectColumn, "semicolon", ';', "1;2\r\n3;x", {"2"}},
    {"select-column", selectColumn, "comma", ',', "1,2", {"11"}},
    {"rows-to-columns", rowsToColumns, "space", ' ', "1 2\r\n3 4 5", {}},
    {"mean-sd", meanAndStandardDeviation, "comma", ',', "2\r\n4\r\n4\r\n4\r\n5\r\n5\r\n7\r\n9", {}},
    {"mean-sd", meanAndStandardDeviation, "comma", ',', "", {}},
    {"random-numbers",
     [](CommandContext& c) { generateRandomNumbers(c); },
     "comma",
     ',',
     "x",
     {"1", "2", "0"}},
    {"random-numbers", [](CommandContext& c) { generateRandomNumbers(c); }, "comma", ',', "x", {}},
    {"experiment", experimentCalculations, "comma", ',', "ramp", {"1", "122.5", "50", "1"}},
    {"experiment", experimentCalculations, "comma", ',', "ramp", {"2", "0", "5"}},
};

std::string messageLines(const std::vector<std::string>& messages)
{
    std::string lines;
    for (std::string message : messages) {
        for (std::size_t at; (at = message.find("\r\n")) != std::string::npos;)
            message.replace(at, 2, " / ");
        lines += "message: " + message + "\n";
    }
    return lines;
}

class BatchAndWindow : public testing::TestWithParam<SameInput> {};

TEST_P(BatchAndWindow, GiveTheSameBoxAndMessages)
{
    const SameInput& c = GetParam();
    std::vector<std::string> arguments = {"--delimiter", c.delimiter};
    for (const std::string& answer : c.answers)
        arguments.insert(arguments.end(), {"--answer", answer});
    arguments.push_back(c.command);
    std::istringstream input(c.box);
    const BatchResult batch = runBatch(arguments, input);

    TestBench bench(c.box, c.answers);
    bench.state->delimiter = c.delimiterCharacter;
    bench.state->delimiterName = c.delimiter;
    for (std::size_t i = 0; i < 8; ++i)
        bench.ui.answers.push_back(""); // questions beyond the answers are cancelled
    c.run(bench.context);

    const bool wrote = bench.ui.replacements > 0;
    EXPECT_EQ(batch.exitStatus, wrote ? producedOutput : noOutput);
    EXPECT_EQ(batch.out, wrote ? bench.ui.box + "\r\n" : "");
    // The same messages, in the batch's words: options instead of buttons.
    EXPECT_EQ(batch.err, inBatchWords(messageLines(bench.ui.messages)));
}

INSTANTIATE_TEST_SUITE_P(Commands, BatchAndWindow, testing::ValuesIn(sameInputs),
                         [](const auto& info) {
                             std::string name = info.param.command + std::to_string(info.index);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

struct CommandLine {
    std::vector<std::string> arguments;
    int exitStatus;
    std::string firstLine; // of standard error, or of standard output when it worked
};

const CommandLine commandLines[] = {
    {{"frob"}, usageError, "benchtabler-batch: unknown command \"frob\""},
    {{}, usageError, "benchtabler-batch: no command given"},
    {{"--colour", "mean-sd"}, usageError, "benchtabler-batch: unknown option \"--colour\""},
    {{"--delimiter", "pipe", "mean-sd"},
     usageError,
     "benchtabler-batch: unknown delimiter \"pipe\""},
    {{"mean-sd", "--answer"}, usageError, "benchtabler-batch: --answer needs a value"},
    {{"mean-sd", "a", "b"}, usageError, "benchtabler-batch: too many arguments after the command"},
    {{"mean-sd", "/no/such/file.csv"},
     usageError,
     "benchtabler-batch: could not open /no/such/file.csv: No such file or directory"},
    {{"--version"}, producedOutput, "benchtabler-batch " BENCHTABLER_VERSION},
    {{"--help"},
     producedOutput,
     "usage: benchtabler-batch [--delimiter comma|tab|semicolon|space|auto] "
     "[--decimal-comma|--no-decimal-comma] [--answer TEXT]... [--lf] COMMAND [FILE]"},
    {{"--lf", "mean-sd", "-"}, producedOutput, "1"},
};

class BatchCommandLine : public testing::TestWithParam<CommandLine> {};

TEST_P(BatchCommandLine, ExplainsWhatIsWrongWithTheUsage)
{
    std::istringstream input("1\r\n3");
    const BatchResult result = runBatch(GetParam().arguments, input);
    EXPECT_EQ(result.exitStatus, GetParam().exitStatus);
    const std::string& shown = result.exitStatus == usageError ? result.err : result.out;
    EXPECT_EQ(shown.substr(0, shown.find('\n')), GetParam().firstLine);
    if (result.exitStatus == usageError) {
        EXPECT_NE(result.err.find("\nusage: benchtabler-batch"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, BatchCommandLine, testing::ValuesIn(commandLines));

TEST(BatchCommandLine, ReadsAFileAsTheWindowOpensIt)
{
    TemporaryDirectory directory;
    const std::filesystem::path path = directory.path() / "windows.csv";
    std::ofstream(path, std::ios::binary) << "v (\xB5m/s)\r\n1\r\n4";
    std::istringstream unused;
    const BatchResult result =
        runBatch({"--answer", "1", "first-difference", path.string()}, unused);
    EXPECT_EQ(result.exitStatus, producedOutput);
    EXPECT_EQ(result.err,
              "message: line 1 holds no number and was read as 0: \"v (\xC2\xB5m/s)\"\n");
}

} // namespace

namespace {

// A spreadsheet's export: semicolons between fields, commas in decimals.
struct SpreadsheetRun {
    std::vector<std::string> arguments;
    std::string out;
};

const SpreadsheetRun spreadsheetRuns[] = {
    // As the window loads it when both questions are answered No: "0,1;2,35"
    // splits at its commas, and field 2 of it is "1;2".
    {{"--no-decimal-comma", "--answer", "2", "select-column"},
     "t;x\r\n0,1;2,35\r\n0,2;4,5\r\n**********  Your selected column is: \r\n\r\n 1\r\n 2\r\n"
     "\r\n"},
    {{"--delimiter", "auto", "--decimal-comma", "--answer", "2", "select-column"},
     "t;x\r\n0.1;2.35\r\n0.2;4.5\r\n**********  Your selected column is: \r\n 0\r\n 2.35\r\n"
     " 4.5\r\n\r\n"},
    {{"--delimiter", "auto", "--no-decimal-comma", "--answer", "1", "select-column"},
     "t;x\r\n0,1;2,35\r\n0,2;4,5\r\n**********  Your selected column is: \r\n 0\r\n 0\r\n"
     " 0\r\n\r\n"},
};

TEST(BatchSpreadsheets, TakeTheirDelimiterAndDecimalCommasWhenAsked)
{
    for (const SpreadsheetRun& run : spreadsheetRuns) {
        std::istringstream input("t;x\r\n0,1;2,35\r\n0,2;4,5\r\n");
        EXPECT_EQ(runBatch(run.arguments, input).out, run.out) << run.arguments[0];
    }
}

TEST(BatchSpreadsheets, RefuseWhenTheDecimalCommaQuestionHasNoAnswer)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--delimiter", "auto", "--answer", "2", "select-column"},
          std::vector<std::string>{"--delimiter", "auto", "fit", "--model", "line"}}) {
        std::istringstream input("t;x\r\n0,1;2,35\r\n0,2;4,5\r\n");
        const BatchResult result = runBatch(arguments, input);
        EXPECT_EQ(result.exitStatus, noOutput);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err,
                  "message: the file asks \"This file writes decimals with a comma (0,1). Change "
                  "them to points (0.1) so that the commands can read them?\": give "
                  "--decimal-comma to change its decimal commas to points, or --no-decimal-comma "
                  "to keep them as they are\n");
    }
}

TEST(BatchSpreadsheets, ReadQuotedFieldsAsTheirValues)
{
    // Every field in quotes, decimal commas inside them, a quote doubled.
    std::istringstream input(
        "\"t (s)\";\"x \"\"raw\"\"\"\r\n\"0,5\";\"1,294\"\r\n\"1\";\"2,5\"\r\n");
    const BatchResult result = runBatch(
        {"--delimiter", "auto", "--decimal-comma", "fit", "--model", "proportional"}, input);
    EXPECT_EQ(result.exitStatus, producedOutput) << result.err;
    EXPECT_EQ(result.err, "message: The quotes around 6 fields were removed; the box holds their "
                          "values.\n");
    EXPECT_NE(result.out.find("through 2 points"), std::string::npos) << result.out;
}

} // namespace
