#include "commands/calculate_column.h"

#include "command_case.h"

namespace {

const std::string prompt =
    "Enter a formula for the new column, using c1, c2, ... for the columns and n for the row "
    "number (for example c2^2, ln(c2 - 21.5) or c1*100):";

const CommandCase calculations[] = {
    {"pendulum: header, data, the last line without a break",
     ',',
     "L (m),T (s)\r\n0.2,0.90\r\n0.4,1.27",
     {"c2^2"},
     "L (m),T (s),c2^2\r\n0.2,0.90, .81\r\n0.4,1.27, 1.613",
     {}},
    {"every other kind of line stays as it is",
     ',',
     "********  Differences **** 1\r\n\r\n 4, 3\r\nThere are 2 numbers.\r\n-.5,2\r\n\r\n",
     {"c1*100 + n"},
     "********  Differences **** 1,c1*100 + n\r\n\r\n 4, 3, 401\r\nThere are 2 numbers.\r\n"
     "-.5,2,-48\r\n\r\n",
     {}},
    {"no number: a short row, text, ln of a negative, division by 0",
     ',',
     "t,T\r\n0,80\r\n60\r\n120,x\r\n180,20\r\n240,21.5",
     {"ln(c2 - 21.5)"},
     "t,T,ln(c2 - 21.5)\r\n0,80, 4.069\r\n60,\r\n120,x,\r\n180,20,\r\n240,21.5,",
     {"4 rows give no number for the formula; the first is line 3: \"60\""}},
    {"one row without a number, its line cut at 40 characters",
     ',',
     "1\r\n0 and then a long note that goes on beyond forty characters",
     {"1/c1"},
     "1, 1\r\n0 and then a long note that goes on beyond forty characters,",
     {"1 row gives no number for the formula; it is line 2: "
      "\"0 and then a long note that goes on beyo...\""}},
    {"tab delimiter", '\t', "1\t2\r\n3\t4", {"c1*c2"}, "1\t2\t 2\r\n3\t4\t 12", {}},
    {"semicolon delimiter", ';', "x;y\r\n2;3", {"c2-c1"}, "x;y;c2-c1\r\n2;3; 1", {}},
    {"space delimiter", ' ', "2 3\r\n4 5", {"sqrt(c1)"}, "2 3  1.414\r\n4 5  2", {}},
    {"rendered as every computed number",
     ',',
     "1\r\n2",
     {"c1/3*1e6"},
     "1, 333300\r\n2, 666700",
     {}},
    {"lone CR and LF line breaks kept", ',', "1\r2\n3", {"c1+1"}, "1, 2\r2, 3\n3, 4", {}},
    {"cancelled", ',', "1,2", {""}, "1,2", {}},
    {"only blanks", ',', "1,2", {"  "}, "1,2", {}},
    {"unreadable",
     ',',
     "1,2",
     {"c1*(c2"},
     "1,2",
     {"the formula cannot be read at character 7: missing parenthesis"}},
    {"a name that is no column",
     ',',
     "1,2",
     {"T - 21.5"},
     "1,2",
     {"the formula uses \"T\"; use c1, c2, ... for the columns and n for the row number"}},
    {"column 0",
     ',',
     "1,2",
     {"c0"},
     "1,2",
     {"the formula uses \"c0\"; use c1, c2, ... for the columns and n for the row number"}},
    {"beyond column 100",
     ',',
     "1,2",
     {"c101"},
     "1,2",
     {"the formula uses \"c101\"; there are at most 100 columns"}},
    {"no data row",
     ',',
     "Enter Data Here",
     {"c1"},
     "Enter Data Here",
     {"there is no data row in the box: a data row begins with a number"}},
};

class CalculateColumn : public testing::TestWithParam<CommandCase> {};

TEST_P(CalculateColumn, PutsTheFormulasValueAtTheEndOfEveryDataRow)
{
    runCommandCase(GetParam(), calculateColumn);
}

INSTANTIATE_TEST_SUITE_P(Boxes, CalculateColumn, testing::ValuesIn(calculations), caseName);

TEST(CalculateColumnQuestion, OffersTheLastFormulaAndRefusesMoreThan1000Lines)
{
    std::string box;
    for (int i = 1; i <= 1001; ++i)
        box += std::to_string(i) + "\r\n";
    TestBench bench(box, {"c1*2", "c1*3"});
    calculateColumn(bench.context);
    calculateColumn(bench.context);
    EXPECT_EQ(bench.ui.prompts, (std::vector<std::string>{prompt, prompt}));
    EXPECT_EQ(bench.ui.offers, (std::vector<std::string>{"", "c1*2"}));
    EXPECT_EQ(bench.ui.box, box);
    EXPECT_EQ(bench.ui.messages.front(),
              "there are more than 1000 lines of data in the textbox; at most 1000 can be used");
}

} // namespace
