#include "commands/calculate_column.h"

#include "command_case.h"

#include <algorithm>

namespace {

const std::string prompt =
    "Enter a formula for the new column, using c1, c2, ... for the columns and n for the row "
    "number (for example c2^2, ln(c2 - 21.5) or c1*100):";

const CommandCase calculations[] = {
    {"pendulum: header, data, the last line without a break",
     ',',
     "L (m),T (s)\r\n0.2,0.90\r\n0.4,1.27",
     {"c2^2"},
     "L (m),T (s),c2^2 (s^2)\r\n0.2,0.90, .81\r\n0.4,1.27, 1.613",
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
      "\"0 and then a long note that goes on beyo...\"",
      "line 2: \"0 and then a long note that goes on beyo...\" is not a number"}},
    // A typo is named and never read as the number it begins with; a decimal
    // comma in a comma file makes a field too many, and the row is left out.
    {"typos and a field too many",
     ',',
     "t,x\r\n1,2\r\n5,1O.2\r\n7,14,0\r\n8,12.0.1\r\n9,3",
     {"c2*10"},
     "t,x,c2*10\r\n1,2, 20\r\n5,1O.2,\r\n7,14,0,\r\n8,12.0.1,\r\n9,3, 30",
     {"3 rows give no number for the formula; the first is line 3: \"5,1O.2\"",
      "2 fields are not numbers; the first is in line 3: \"1O.2\"; line 4 has 3 fields where "
      "its header names 2; it is left out"}},
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
     {"the formula uses \"T\"; the columns are c1 to c2, and n is the row number"}},
    {"an unknown name answered with the names the header gives",
     ',',
     "L (m),T (s),u(T) (s),4\r\n0.2,0.90,0.02",
     {"x*2"},
     "L (m),T (s),u(T) (s),4\r\n0.2,0.90,0.02",
     {"the formula uses \"x\"; the columns are L, T or c1 to c3, and n is the row number"}},
    {"column 0",
     ',',
     "1",
     {"c0"},
     "1",
     {"the formula uses \"c0\"; the column is c1, and n is the row number"}},
    {"columns by their names, one without an uncertainty column",
     ',',
     "L [m],T (s)\r\n0.5,1.42",
     {"4*pi^2*L/T^2"},
     "L [m],T (s),4*pi^2*L/T^2 (m/s^2)\r\n0.5,1.42, 9.789",
     {}},
    {"a name two columns share",
     ';',
     "T;x;T\r\n1;2;3",
     {"T*2"},
     "T;x;T\r\n1;2;3",
     {"the formula uses \"T\", the name of columns 1 and 3; use c1 or c3 instead"}},
    {"pendulum with u(T): T squared and its uncertainty 2 T u(T)",
     ',',
     "L (m),T (s),u(T) (s)\r\n0.2,0.90,0.02\r\n0.4,1.27,0.02\r\n0.6,1.55,0.03",
     {"T^2"},
     "L (m),T (s),u(T) (s),T^2 (s^2),u(T^2) (s^2)\r\n0.2,0.90,0.02, .81, .036\r\n"
     "0.4,1.27,0.02, 1.613, .0508\r\n0.6,1.55,0.03, 2.403, .093",
     {}},
    {"by c number, with the row number, and a quotient of two uncertain columns",
     '\t',
     "a\tΔa\tb\tδb (cm)\r\n3\t0.03\t4\t0.08\r\n6\t0.06\t8\t0",
     {"c1/b*n"},
     "a\tΔa\tb\tδb (cm)\tc1/b*n\tu(c1/b*n)\r\n3\t0.03\t4\t0.08\t .75\t .01677\r\n"
     "6\t0.06\t8\t0\t 1.5\t .015",
     {}},
    {"a Greek name and the ± header",
     ',',
     "θ (rad),±\r\n0.5,0.01",
     {"sin(θ)"},
     "θ (rad),±,sin(θ),u(sin(θ))\r\n0.5,0.01, .4794, .008776",
     {}},
    {"rows whose uncertainty holds no number, or a negative one",
     ',',
     "x,u(x)\r\n1,0.1\r\n2,-0.1\r\n3,\r\n4",
     {"x*10"},
     "x,u(x),x*10,u(x*10)\r\n1,0.1, 10, 1\r\n2,-0.1, 20,\r\n3,, 30,\r\n4, 40,",
     {"3 rows get no uncertainty: an uncertainty column holds no number there, or a negative "
      "one; the first is line 3: \"2,-0.1\""}},
    {"a row without a value gets neither field",
     ',',
     "x,u(x)\r\n-1,0.1\r\n1,0.1",
     {"ln(x)"},
     "x,u(x),ln(x),u(ln(x))\r\n-1,0.1,,\r\n1,0.1,0, .1",
     {"1 row gives no number for the formula; it is line 2: \"-1,0.1\""}},
    {"where the first-order rule fails the row keeps its number",
     ',',
     "x,±\r\n3,0.1\r\n0,10\r\n0,0",
     {"x^2"},
     "x,±,x^2,u(x^2)\r\n3,0.1, 9, .6\r\n0,10,0,0\r\n0,0,0,0",
     {"1 row has an uncertainty that is only a rough guide: the formula bends too much within "
      "± u for the first-order rule; it is line 3: \"0,10\""}},
    {"a column beyond the rows' fields",
     ',',
     "a,b,c,d\r\n1,2,3\r\n4,5",
     {"c2 + d"},
     "a,b,c,d\r\n1,2,3\r\n4,5",
     {"the formula uses d; the rows have at most 3 fields"}},
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

TEST(CalculateColumnQuestion, OffersTheLastFormulaAndTakesEveryLine)
{
    std::string box;
    for (int i = 1; i <= 5000; ++i)
        box += std::to_string(i) + "\r\n";
    TestBench bench(box, {"c1*2", "c1*3"});
    calculateColumn(bench.context);
    calculateColumn(bench.context);
    EXPECT_EQ(bench.ui.prompts, (std::vector<std::string>{prompt, prompt}));
    EXPECT_EQ(bench.ui.offers, (std::vector<std::string>{"", "c1*2"}));
    // 5000 lines, each with both columns.
    EXPECT_EQ(bench.ui.box.substr(0, 18), "1, 2, 3\r\n2, 4, 6\r\n");
    EXPECT_EQ(bench.ui.box.substr(bench.ui.box.size() - 22), "\r\n5000, 10000, 15000\r\n");
    EXPECT_EQ(std::count(bench.ui.box.begin(), bench.ui.box.end(), '\n'), 5000);
    EXPECT_TRUE(bench.ui.messages.empty());
}

} // namespace
