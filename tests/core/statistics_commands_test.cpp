#include "commands/mean_std_dev.h"
#include "commands/random_numbers.h"

#include "command_case.h"
#include "data/number_reading.h"

#include <cmath>

namespace {

std::string numberedLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + "\r\n";
    return text;
}

const std::string tooLarge =
    "a result is too large to be computed; please check the data for a typo";

const CommandCase reports[] = {
    {"worked example",
     ',',
     "2\r\n4\r\n4\r\n4\r\n5\r\n5\r\n7\r\n9",
     {},
     "2\r\n4\r\n4\r\n4\r\n5\r\n5\r\n7\r\n9\r\n\r\n\r\n"
     "There are  8 numbers in your distribution.\r\n"
     "Their sum is  40\r\n"
     "Their mean is  40/ 8 =  5.\r\n"
     "The (mean) average deviation from the mean is  1.5.\r\n"
     "The sum of the squared deviations is  32.\r\n"
     "The standard deviation is therefore sqrt( 32/( 8 - 1) ) =  2.138.\r\n",
     {}},
    {"two numbers with empty lines",
     ',',
     "\r\n1\r\n\r\n3\r\n\r\n",
     {},
     "1\r\n3\r\n\r\n\r\n"
     "There are  2 numbers in your distribution.\r\n"
     "Their sum is  4\r\n"
     "Their mean is  4/ 2 =  2.\r\n"
     "The (mean) average deviation from the mean is  1.\r\n"
     "The sum of the squared deviations is  2.\r\n"
     "The standard deviation is therefore sqrt( 2/( 2 - 1) ) =  1.414.\r\n",
     {}},
    {"one number",
     ',',
     "7",
     {},
     "7\r\n\r\n\r\n"
     "There are  1 numbers in your distribution.\r\n"
     "Their sum is  7\r\n"
     "Their mean is  7/ 1 =  7.\r\n"
     "The (mean) average deviation from the mean is 0.\r\n"
     "The sum of the squared deviations is 0.\r\n"
     "The standard deviation needs at least two numbers.\r\n",
     {}},
    {"whole lines and signs",
     ',',
     "3,4\r\nabc\r\n.5\r\n-7.5\r\n   ",
     {},
     "3,4\r\nabc\r\n.5\r\n-7.5\r\n   \r\n\r\n\r\n"
     "There are  5 numbers in your distribution.\r\n"
     "Their sum is -4\r\n"
     "Their mean is -4/ 5 = -.8.\r\n"
     "The (mean) average deviation from the mean is  2.68.\r\n"
     "The sum of the squared deviations is  62.3.\r\n"
     "The standard deviation is therefore sqrt( 62.3/( 5 - 1) ) =  3.947.\r\n",
     {"2 lines hold no number and were read as 0; the first is line 2: \"abc\""}},
    {"29 numbers",
     ',',
     numberedLines(29),
     {},
     numberedLines(29) + "\r\n\r\n"
                         "There are  29 numbers in your distribution.\r\n"
                         "Their sum is  435\r\n"
                         "Their mean is  435/ 29 =  15.\r\n"
                         "The (mean) average deviation from the mean is  7.241.\r\n"
                         "The sum of the squared deviations is  2030.\r\n"
                         "The standard deviation is therefore sqrt( 2030/( 29 - 1) ) =  8.515.\r\n",
     {}},
    {"30 numbers",
     ',',
     numberedLines(30),
     {},
     numberedLines(30) + "\r\n\r\n"
                         "There are  30 numbers in your distribution.\r\n"
                         "Their sum is  465\r\n"
                         "Their mean is  465/ 30 =  15.5.\r\n"
                         "The (mean) average deviation from the mean is  7.5.\r\n"
                         "The sum of the squared deviations is  2248.\r\n"
                         "The standard deviation is therefore sqrt( 2248/ 30) =  8.655.\r\n",
     {}},
    {"no data", ',', "\r\n\r\n", {}, "", {"there is no data in the textbox"}},
    {"sum too large", ',', "1e308\r\n1e308", {}, "1e308\r\n1e308", {tooLarge}},
};

class MeanAndStandardDeviation : public testing::TestWithParam<CommandCase> {};
TEST_P(MeanAndStandardDeviation, Run) { runCommandCase(GetParam(), meanAndStandardDeviation); }
INSTANTIATE_TEST_SUITE_P(Cases, MeanAndStandardDeviation, testing::ValuesIn(reports), caseName);

TEST(MeanAndStandardDeviation, ReportsOnOneThousandNumbers)
{
    TestBench bench(numberedLines(1000));
    meanAndStandardDeviation(bench.context);
    EXPECT_NE(bench.ui.box.find("There are  1000 numbers"), std::string::npos);
    EXPECT_NE(bench.ui.box.find("sqrt( 83330000/ 1000) =  288.7."), std::string::npos)
        << bench.ui.box.substr(bench.ui.box.size() - 300);
    EXPECT_EQ(bench.state->deviations[1000].value(), 499.5);
}

// The generator's first outputs for the seed 5489 are 3499211612, 581869302
// and 3890346734; their top 24 bits over 2^24 give the fractions of the range.
constexpr std::uint32_t knownSeed = 5489;
const std::string doneMessage = "should be done done";
const std::string notNumbers = "please answer each question with a number: the lowest number, "
                               "the highest number and how many numbers to generate";

const CommandCase randomRuns[] = {
    {"known seed",
     ',',
     "data",
     {"0", "100", "3"},
     "data\r\n 81.47\r\n 13.55\r\n 90.58",
     {doneMessage}},
    {"reversed range", ',', "", {"100", "0", "1"}, "\r\n 18.53", {doneMessage}},
    {"equal ends", ',', "x\r\n", {"5", "5", "2"}, "x\r\n\r\n 5\r\n 5", {doneMessage}},
    {"zero", ',', "", {"0", "0", "1"}, "\r\n0", {doneMessage}},
    {"fractional count", ',', "", {"5", "5", "2.5"}, "\r\n 5\r\n 5", {doneMessage}},
    {"count zero", ',', "keep", {"1", "2", "0"}, "keep", {doneMessage}},
    {"count negative", ',', "keep", {"1", "2", "-3"}, "keep", {doneMessage}},
    {"cancelled count", ',', "keep", {"1", "2", ""}, "keep", {notNumbers}},
    {"letters for lowest", ',', "keep", {"low", "2", "3"}, "keep", {notNumbers}},
    {"huge count",
     ',',
     "keep",
     {"1", "2", "1e9"},
     "keep",
     {"at most 100000 numbers can be generated at once"}},
    {"range too wide", ',', "keep", {"-1e308", "1e308", "2"}, "keep", {tooLarge}},
    {"no numbers asked of a too wide range",
     ',',
     "keep",
     {"-1e308", "1e308", "0"},
     "keep",
     {doneMessage}},
};

class RandomNumbers : public testing::TestWithParam<CommandCase> {};
TEST_P(RandomNumbers, Run)
{
    runCommandCase(GetParam(),
                   [](CommandContext& c) { generateRandomNumbers(c, [] { return knownSeed; }); });
}
INSTANTIATE_TEST_SUITE_P(Cases, RandomNumbers, testing::ValuesIn(randomRuns), caseName);

TEST(RandomNumbers, TimeSeededValuesLieInTheRangeOnePerLine)
{
    TestBench bench("before", {"-1", "1", "1000"});
    generateRandomNumbers(bench.context);
    const std::string& box = bench.ui.box;
    ASSERT_EQ(box.substr(0, 8), "before\r\n");
    ASSERT_NE(box.substr(box.size() - 2), "\r\n");
    int values = 0;
    std::size_t start = 8;
    while (start <= box.size()) {
        std::size_t end = box.find("\r\n", start);
        if (end == std::string::npos)
            end = box.size();
        const std::optional<double> value = readAnswer(box.substr(start, end - start));
        ASSERT_TRUE(value) << box.substr(start, end - start);
        EXPECT_GE(*value, -1);
        EXPECT_LE(*value, 1); // rounding to four digits may reach the upper end
        ++values;
        start = end + 2;
    }
    EXPECT_EQ(values, 1000);
}

TEST(RandomNumbers, SeedsDifferThroughTheDay)
{
    const std::uint32_t first = timeOfDaySeed();
    std::uint32_t later = first;
    for (int i = 0; i < 1000000 && later == first; ++i)
        later = timeOfDaySeed();
    EXPECT_NE(first, later);
}

} // namespace
