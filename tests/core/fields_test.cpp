#include "data/fields.h"
#include "data/text_intake.h"

#include "scripted_ui.h"

#include <string>
#include <vector>

namespace {

// The numbers of one row of the table, columns 1..count.
std::vector<double> rowNumbers(const WorkingState& state, int row)
{
    std::vector<double> numbers;
    for (int k = 1; k <= state.fieldCounts[row]; ++k) {
        EXPECT_TRUE(state.dataTable[row][k].isNumber()) << "row " << row << " column " << k;
        numbers.push_back(state.dataTable[row][k].value());
    }
    return numbers;
}

struct Split {
    char delimiter;
    const char* line;
    std::vector<double> numbers;
};

const Split splits[] = {
    {',', "1,2,3", {1, 2, 3}},
    {',', "1,,3", {1, 0, 3}},
    {',', "1,2,", {1, 2, 0}},
    {',', ",5", {0, 5}},
    {',', "7", {7}},
    {',', "abc", {0}},
    {',', "12 34", {1234}},
    {',', "1;2", {1}},
    {',', "-.5,-0.5,-1.5", {-0.5, -0.5, -1.5}},
    {',', "0.5,.5", {0.5, 0.5}},
    {',', " -.25 , .75", {-0.25, 0.75}},
    {' ', "12 34", {12, 34}},
    {' ', "1  2", {1, 0, 2}},
    {' ', " 5", {0, 5}},
    {'\t', "1\t2", {1, 2}},
    {'\t', "1 2\t3", {12, 3}},
    {';', "1,5;2", {1, 2}},
};

class SplitTable : public testing::TestWithParam<Split> {};

TEST_P(SplitTable, SplitsAtTheDelimiter)
{
    TestBench bench(GetParam().line);
    bench.state->delimiter = GetParam().delimiter;
    ASSERT_TRUE(readText(bench.context));
    ASSERT_TRUE(createDataArray(bench.context));
    EXPECT_EQ(rowNumbers(*bench.state, 1), GetParam().numbers);
    EXPECT_TRUE(bench.state->dataTable[1][GetParam().numbers.size() + 1].isText());
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitTable, testing::ValuesIn(splits));

std::string lineOfFields(int count)
{
    std::string line = "1";
    for (int k = 2; k <= count; ++k)
        line.append(1, ',').append(std::to_string(k));
    return line;
}

TEST(CreateDataArray, ClearsEverythingAnEarlierParseLeft)
{
    TestBench bench("1,2,3\r\n4,5\r\n6");
    ASSERT_TRUE(readText(bench.context));
    ASSERT_TRUE(createDataArray(bench.context));
    bench.ui.box = "9";
    ASSERT_TRUE(readText(bench.context));
    ASSERT_TRUE(createDataArray(bench.context));

    const WorkingState& state = *bench.state;
    EXPECT_EQ(rowNumbers(state, 1), std::vector<double>{9});
    for (int r = 0; r <= maxTableRows; ++r) {
        EXPECT_EQ(state.fieldCounts[r], r == 1 ? 1 : 0);
        for (int k = 0; k <= maxTableColumns; ++k) {
            if (r != 1 || k != 1) {
                EXPECT_TRUE(state.dataTable[r][k].isText()) << r << "," << k;
            }
        }
    }
}

TEST(CreateDataArray, FillsOneHundredLinesOfOneHundredFields)
{
    std::string box;
    for (int r = 1; r <= 100; ++r)
        box += lineOfFields(100) + "\r\n";
    TestBench bench(box);
    ASSERT_TRUE(readText(bench.context));
    ASSERT_TRUE(createDataArray(bench.context));
    EXPECT_EQ(bench.state->fieldCounts[100], 100);
    EXPECT_EQ(bench.state->dataTable[100][100].value(), 100);
    EXPECT_TRUE(bench.ui.messages.empty());
}

struct Overflow {
    const char* name;
    std::string box;
    const char* message;
};

const Overflow overflows[] = {
    {"101 lines",
     [] {
         std::string box;
         for (int r = 1; r <= 101; ++r)
             box += "1\r\n";
         return box;
     }(),
     "more than 100 lines"},
    {"101 fields", "1\r\n" + lineOfFields(101), "line 2 has more than 100 fields"},
};

class OverflowTable : public testing::TestWithParam<Overflow> {};

TEST_P(OverflowTable, RefusesWithAMessageAndKeepsTheTable)
{
    TestBench bench("5,6");
    ASSERT_TRUE(readText(bench.context));
    ASSERT_TRUE(createDataArray(bench.context));
    bench.ui.box = GetParam().box;
    ASSERT_TRUE(readText(bench.context));
    EXPECT_FALSE(createDataArray(bench.context));
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_NE(bench.ui.messages[0].find(GetParam().message), std::string::npos)
        << bench.ui.messages[0];
    EXPECT_EQ(rowNumbers(*bench.state, 1), (std::vector<double>{5, 6}));
}

INSTANTIATE_TEST_SUITE_P(Limits, OverflowTable, testing::ValuesIn(overflows),
                         [](const auto& info) { return info.index == 0 ? "lines" : "fields"; });

TEST(SortPairedData, MovesTheFirstTwoFieldsAndKeepsOtherRows)
{
    TestBench bench("x,y\r\nq,r\r\ns,t");
    ASSERT_TRUE(readText(bench.context));
    ASSERT_TRUE(sortPairedData(bench.context));
    bench.ui.box = "1,2,7\r\n3";
    ASSERT_TRUE(readText(bench.context));
    ASSERT_TRUE(sortPairedData(bench.context));

    const WorkingState& state = *bench.state;
    EXPECT_EQ(state.pairedData[1][1].value(), 1);
    EXPECT_EQ(state.pairedData[1][2].value(), 2);
    EXPECT_EQ(state.pairedData[2][1].value(), 3);
    EXPECT_TRUE(state.pairedData[2][2].isText());
    EXPECT_TRUE(state.pairedData[3][1].isNumber()); // the earlier run's row 3 stays
    for (int r = 1; r <= 2; ++r) {
        EXPECT_TRUE(state.dataTable[r][1].isText());
        EXPECT_TRUE(state.dataTable[r][2].isText());
    }
    EXPECT_EQ(state.dataTable[1][3].value(), 7);
}

} // namespace
