#include "commands/difference_quotient.h"
#include "commands/rows_to_columns.h"
#include "commands/select_column.h"

#include "command_case.h"

namespace {

const std::string pointsHeader =
    "********* Difference Quotients appear in Third Column, then below as Single Column.\r\n";
const std::string quotientsHeader = "\r\n********* Difference Quotients in Single Column.\r\n";
const std::string midpointsHeader = "\r\n********* Difference Quotients vs. Midpoint Values\r\n";
const std::string zeroDifference = "first column difference is 0; cannot divide by 0";

const CommandCase differenceQuotients[] = {
    {"worked example",
     ',',
     "0,0\r\n2,4\r\n4,12",
     {"1"},
     "0,0\r\n2,4\r\n4,12\r\n" + pointsHeader + "0,0\r\n 2, 4, 2\r\n 4, 12, 4\r\n" +
         quotientsHeader + " 2\r\n 4\r\n" + midpointsHeader + " 1, 2\r\n 3, 4\r\n",
     {}},
    {"box ending in a line break",
     ',',
     "0,0\r\n2,4\r\n",
     {"1"},
     "0,0\r\n2,4\r\n\r\n" + pointsHeader + "0,0\r\n 2, 4, 2\r\n" + quotientsHeader + " 2\r\n" +
         midpointsHeader + " 1, 2\r\n",
     {}},
    {"one line",
     ',',
     "2,3",
     {"1"},
     "2,3\r\n" + pointsHeader + " 2, 3\r\n" + quotientsHeader + midpointsHeader,
     {}},
    {"no line", ',', "", {"1"}, "\r\n" + pointsHeader + quotientsHeader + midpointsHeader, {}},
    {"equal x skipped with a message",
     ',',
     "1,5\r\n1,7\r\n3,11",
     {"1"},
     "1,5\r\n1,7\r\n3,11\r\n" + pointsHeader + " 1, 5\r\n 3, 11, 2\r\n" + quotientsHeader +
         " 2\r\n" + midpointsHeader + " 2, 2\r\n",
     {zeroDifference}},
    {"flat and falling",
     ',',
     "0,1\r\n1,1\r\n2,-1,99",
     {"1"},
     "0,1\r\n1,1\r\n2,-1,99\r\n" + pointsHeader + "0, 1\r\n 1, 1,0\r\n 2,-1,-2\r\n" +
         quotientsHeader + "0\r\n-2\r\n" + midpointsHeader + " .5,0\r\n 1.5,-2\r\n",
     {}},
    {"tab delimiter",
     '\t',
     "1\t2\r\n3\t8",
     {"1"},
     "1\t2\r\n3\t8\r\n" + pointsHeader + " 1\t 2\r\n 3\t 8\t 3\r\n" + quotientsHeader + " 3\r\n" +
         midpointsHeader + " 2\t 3\r\n",
     {}},
    {"declined", ',', "1,2\r\n3,4", {"2"}, "1,2\r\n3,4", {}},
    {"cancelled", ',', "1,2\r\n3,4", {""}, "1,2\r\n3,4", {}},
    {"line without y",
     ',',
     "1,2\r\n3\r\n5,6",
     {"1"},
     "1,2\r\n3\r\n5,6",
     {"line 2 has only one number; difference quotients need two numbers on every line"}},
    {"quotient too large",
     ',',
     "0,0\r\n1e-300,1e300",
     {"1"},
     "0,0\r\n1e-300,1e300",
     {"a result is too large to be computed; please check the data for a typo"}},
};

class DifferenceQuotient : public testing::TestWithParam<CommandCase> {};
TEST_P(DifferenceQuotient, Run) { runCommandCase(GetParam(), differenceQuotient); }
INSTANTIATE_TEST_SUITE_P(Cases, DifferenceQuotient, testing::ValuesIn(differenceQuotients),
                         caseName);

const std::string columnHeader = "**********  Your selected column is: \r\n";
const std::string overTen = "You do not have 10 columns of data in the box";

const CommandCase selectedColumns[] = {
    {"example", ',', "1,2,3\r\n4,5,6", {"2"}, "1,2,3\r\n4,5,6" + columnHeader + " 2\r\n 5\r\n", {}},
    {"final line break",
     ',',
     "1,2,3\r\n4,5,6\r\n",
     {"3"},
     "1,2,3\r\n4,5,6\r\n" + columnHeader + " 3\r\n 6\r\n",
     {}},
    {"signs and points",
     ',',
     "-1.5,-0.5,.25,-0\r\n",
     {"1"},
     "-1.5,-0.5,.25,-0\r\n" + columnHeader + "-1.5\r\n",
     {}},
    {"default text of values",
     ',',
     "-1.5,-0.5,.25,-0\r\n",
     {"2"},
     "-1.5,-0.5,.25,-0\r\n" + columnHeader + "-.5\r\n",
     {}},
    {"negative zero",
     ',',
     "-1.5,-0.5,.25,-0\r\n",
     {"4"},
     "-1.5,-0.5,.25,-0\r\n" + columnHeader + " 0\r\n",
     {}},
    {"line without the field",
     ';',
     "1;2\r\n3\r\n4;5;6",
     {" 2 "},
     "1;2\r\n3\r\n4;5;6" + columnHeader + " 2\r\n\r\n 5\r\n",
     {}},
    {"half to even down", ',', "1,2,3", {"2.5"}, "1,2,3" + columnHeader + " 2\r\n", {}},
    {"half to even up", ',', "1,2,3,4", {"3.5"}, "1,2,3,4" + columnHeader + " 4\r\n", {}},
    {"empty box", ',', "", {"1"}, columnHeader, {}},
    {"empty box column 10", ',', "", {"10"}, columnHeader, {}},
    {"eleven", ',', "1,2", {"11"}, "1,2", {overTen}},
    {"ten and a half", ',', "1,2", {"10.5"}, "1,2", {overTen}},
    {"ten on three fields", ',', "1,2,3", {"10"}, "1,2,3", {"there is no column 10 in the data"}},
    {"zero", ',', "1,2", {"0"}, "1,2", {"there is no column 0 in the data"}},
    {"below half", ',', "1,2", {"0.4"}, "1,2", {"there is no column 0 in the data"}},
    {"negative", ',', "1,2", {"-3"}, "1,2", {"there is no column -3 in the data"}},
    {"cancelled", ',', "1,2", {""}, "1,2", {}},
    {"letters", ',', "1,2", {"two"}, "1,2", {}},
};

class SelectColumn : public testing::TestWithParam<CommandCase> {};
TEST_P(SelectColumn, Run) { runCommandCase(GetParam(), selectColumn); }
INSTANTIATE_TEST_SUITE_P(Cases, SelectColumn, testing::ValuesIn(selectedColumns), caseName);

const CommandCase exchanges[] = {
    {"ragged", ',', "1,2\r\n3,4,5", {}, " 1, 3\r\n 2, 4\r\n  , 5\r\n", {}},
    {"one line", ',', "1,2,3", {}, " 1\r\n 2\r\n 3\r\n", {}},
    {"one column", ',', "1\r\n2\r\n3", {}, " 1, 2, 3\r\n", {}},
    {"empty field",
     ',',
     "1,,3",
     {},
     " 1\r\n 0\r\n 3\r\n",
     {"line 1, field 2 holds no number and was read as 0: \"\""}},
    {"empty box", ',', "", {}, "", {}},
    {"tab", '\t', "1\t-2.5\r\n3\t.5", {}, " 1\t 3\r\n-2.5\t .5\r\n", {}},
    {"space", ' ', "1\r\n3", {}, " 1  3\r\n", {}},
    {"start-up text",
     ',',
     "Enter Data Here",
     {},
     " 0\r\n",
     {"no line contains the delimiter in force (comma); the lines seem to be separated by "
      "spaces. Choose the delimiter with Change Delimiter and run the command again.",
      "line 1, field 1 holds no number and was read as 0: \"Enter Data Here\""}},
};

class RowsToColumns : public testing::TestWithParam<CommandCase> {};
TEST_P(RowsToColumns, Run) { runCommandCase(GetParam(), rowsToColumns); }
INSTANTIATE_TEST_SUITE_P(Cases, RowsToColumns, testing::ValuesIn(exchanges), caseName);

TEST(RowsToColumns, TwiceGivesBackTheValuesWithMissingFieldsAsZero)
{
    TestBench bench("1,2\r\n3,4,5");
    rowsToColumns(bench.context);
    rowsToColumns(bench.context);
    EXPECT_EQ(bench.ui.box, " 1, 2, 0\r\n 3, 4, 5\r\n");
}

TEST(RowsToColumns, LeavesTheExchangedTableAndTheInputCounts)
{
    TestBench bench("1,2\r\n3,4,5");
    rowsToColumns(bench.context);
    const WorkingState& state = *bench.state;
    EXPECT_EQ(state.dataTable[3][2].value(), 5);
    EXPECT_TRUE(state.dataTable[3][1].isText());
    EXPECT_EQ(state.transposedTable[2][1].value(), 2);
    EXPECT_EQ(state.fieldCounts[1], 2);
    EXPECT_EQ(state.fieldCounts[2], 3);
}

TEST(DifferenceQuotient, ParsesBeforeAskingSoADeclinedRunKeepsTheParse)
{
    TestBench bench("1,2\r\n3,4", {"2"});
    differenceQuotient(bench.context);
    EXPECT_EQ(bench.state->pairedData[2][2].value(), 4);
    EXPECT_TRUE(bench.state->dataTable[2][2].isText());
}

TEST(FieldCommands, RefuseMoreThanOneHundredLinesWithTheBoxUnchanged)
{
    std::string box;
    for (int i = 0; i < 101; ++i)
        box += "1,2\r\n";
    for (const auto& command : {differenceQuotient, selectColumn, rowsToColumns}) {
        TestBench bench(box, {"1"});
        command(bench.context);
        EXPECT_EQ(bench.ui.box, box);
        ASSERT_EQ(bench.ui.messages.size(), 1u);
        EXPECT_NE(bench.ui.messages[0].find("more than 100 lines"), std::string::npos);
        EXPECT_TRUE(bench.ui.prompts.empty()) << "refused before asking";
    }
}

} // namespace
