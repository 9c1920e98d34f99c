#include "data/data_field.h"
#include "data/leading_zero.h"
#include "data/number_reading.h"
#include "data/typed_number.h"

#include <gtest/gtest.h>

#include <charconv>
#include <optional>
#include <random>
#include <string>

namespace {

struct Reading {
    const char* text;
    double number;
};

const Reading dataReadings[] = {
    {"12", 12},
    {" 12 ", 12},
    {"1 2", 12},
    {"12abc", 12},
    {"1,5", 1},
    {"1.2.3", 1.2},
    {"3.5e2", 350},
    {"abc", 0},
    {"", 0},
    {"+5", 5},
    {"- 5", -5},
    {"\t7\n", 7},
    {"1 e 2", 100},
    {".5", 0.5},
    {"5.", 5},
    {".", 0},
    {"-", 0},
    {"1e", 1},
    {"1e+", 1},
    {"2E-3", 0.002},
    {"1e5x", 100000},
    {"0x10", 0},
    {"inf", 0},
    {"nan", 0},
    // "D" is not an exponent.
    {"1D2", 1},
    {"1d2", 1},
    // Hexadecimal and octal whole numbers.
    {"&H1F", 31},
    {"&hff", 255},
    {"&O17", 15},
    {"&o8", 0},
    {"&H", 0},
    {"&H1G", 1},
    {"& H 10", 16},
    {"-&H10", 0},
    {"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0},
    {"&H1FFFFFFFFFFFFFFFF", 0}, // beyond 2^64 - 1: too large, like "1e999"
    {"&O2000000000000000000000", 0},
    {"&O1777777777777777777777", 18446744073709551615.0},
    // Out of a double's range: too large reads as 0, too small as 0.
    {"1e999", 0},
    {"-1e999", 0},
    {"1e-999", 0},
    {"123456789e-400", 0},
    {"0.000001e-320", 0},
    {"99999e304", 0},
    {"1e308", 1e308},
};

class DataReading : public testing::TestWithParam<Reading> {};

TEST_P(DataReading, ReadsTheNumberTheTextBeginsWith)
{
    EXPECT_EQ(readNumber(GetParam().text), GetParam().number) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Rule, DataReading, testing::ValuesIn(dataReadings));

struct Answer {
    const char* text;
    std::optional<double> number;
};

const Answer answers[] = {
    {"1", 1},
    {" 1 ", 1},
    {"\t2\t", 2},
    {"+3", 3},
    {"-2.5", -2.5},
    {"1e3", 1000},
    {"1E-2", 0.01},
    {".5", 0.5},
    {"5.", 5},
    {"1e-999", 0},
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"abc", std::nullopt},
    {"1 2", std::nullopt},
    {"1,5", std::nullopt},
    {"12abc", std::nullopt},
    {"1e999", std::nullopt},
    {"-1e999", std::nullopt},
    {"inf", std::nullopt},
    {"nan", std::nullopt},
    {"0x10", std::nullopt},
    {"&H10", std::nullopt},
    {"1e", std::nullopt},
    {"-", std::nullopt},
    {".", std::nullopt},
    {"1d2", std::nullopt},
    {"1\n", std::nullopt},
};

class AnswerReading : public testing::TestWithParam<Answer> {};

TEST_P(AnswerReading, TakesTheWholeAnswerOrNothing)
{
    EXPECT_EQ(readAnswer(GetParam().text), GetParam().number) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Rule, AnswerReading, testing::ValuesIn(answers));

TEST(AnswerIs, ComparesTheNumberNotTheText)
{
    EXPECT_TRUE(answerIs("1", 1));
    EXPECT_TRUE(answerIs(" 1.0 ", 1));
    EXPECT_TRUE(answerIs("01", 1));
    EXPECT_TRUE(answerIs("1e0", 1));
    EXPECT_FALSE(answerIs("2", 1));
    EXPECT_FALSE(answerIs("", 0));
    EXPECT_FALSE(answerIs("1x", 1));
}

struct LeadingZero {
    const char* text;
    const char* result;
};

const LeadingZero leadingZeros[] = {
    {".5", "0.5"},
    {"  .5", "0.5"},
    {"0.25", "0.25"},
    {"-1.5", "-1.5"},
    {"12", "12"},
    {"0", "0"},
    {"abc", "abc"},
    {"", ""},
    {":.5", ":.5"},
    {"abc.5", "0.5"},
    {"0.0.5", "0.0.5"},
    // A minus sign before the point is kept.
    {"-.5", "-0.5"},
    {"-0.5", "-0.5"},
    {"  -.25", "-0.25"},
    {"\t-.5", "-0.5"},
    {"- .5", "-0.5"},
    {"x-.5", "0.5"},
    {"-0.0", "-0.0"},
};

class LeadingZeroTable : public testing::TestWithParam<LeadingZero> {};

TEST_P(LeadingZeroTable, PutsAZeroBeforeALeadingPoint)
{
    EXPECT_EQ(addLeadingZero(GetParam().text), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Rule, LeadingZeroTable, testing::ValuesIn(leadingZeros));

TEST(LeadingZeroThenReading, KeepsNegativeMeasurementsNegative)
{
    EXPECT_EQ(readNumber(addLeadingZero("-.5")), -0.5);
    EXPECT_EQ(readNumber(addLeadingZero(" -0.5")), -0.5);
    EXPECT_EQ(readNumber(addLeadingZero(".5")), 0.5);
}

} // namespace

// Short plain decimals take a quicker road than other numbers; both must give
// the correctly rounded double, as std::from_chars does.
TEST(DataReading, ShortDecimalsReadAsFromCharsReadsThem)
{
    std::mt19937_64 engine(12345);
    for (int i = 0; i < 20000; ++i) {
        const int digits = 1 + static_cast<int>(engine() % 17); // 16 and 17 take the long road
        const int point = static_cast<int>(engine() % (digits + 1));
        std::string text;
        for (int d = 0; d <= digits; ++d) {
            if (d == point)
                text += '.';
            if (d < digits)
                text += static_cast<char>('0' + engine() % 10);
        }
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(readNumber(text), expected) << text;
        ASSERT_EQ(readNumber(std::string(1, '-').append(text)), -expected) << text;
    }
}

namespace {

struct DataFieldCase {
    const char* field;
    std::optional<double> number;
    bool beginsWithNumber;
    bool decimalComma;
    bool malformed;
};

// The whole field is the number or it holds none; a field that begins as a
// number and is none is a typo to name, never read as its beginning.
const DataFieldCase dataFields[] = {
    {" -.5", -0.5, true, false, false},     {"1e3", 1000, true, false, false},
    {" 7\t", 7, true, false, false},        {"+3", 3, true, false, false},
    {"1.6e-19", 1.6e-19, true, false, false}, {"&H1F", 31, true, false, false},
    {"&o17", 15, true, false, false},       {"l.417", {}, false, false, false},
    {"t=.5", {}, false, false, false},      {"1,294", {}, true, true, false},
    {"-0,5", {}, true, true, false},        {"", {}, false, false, false},
    {".", {}, false, false, false},         {"-", {}, false, false, false},
    {"nan", {}, false, false, false},       {"1O.2", {}, true, false, true},
    {"12.0.1", {}, true, false, true},      {"12.5 cm", {}, true, false, true},
    {"- 5", {}, true, false, true},         {"1 2", {}, true, false, true},
    {"1,x", {}, true, false, true},         {"1e999", {}, true, false, true},
    {"&H1G", {}, true, false, true},        {"&H", {}, true, false, true},
    {"5e", {}, true, false, true},
};

TEST(DataFields, HoldANumberOnlyWhereTheWholeFieldIsOne)
{
    for (const DataFieldCase& c : dataFields) {
        const DataField read = readDataField(c.field);
        EXPECT_EQ(read.number, c.number) << c.field;
        EXPECT_EQ(read.beginsWithNumber, c.beginsWithNumber) << c.field;
        EXPECT_EQ(read.decimalComma, c.decimalComma) << c.field;
        EXPECT_EQ(read.malformed, c.malformed) << c.field;
    }
}

} // namespace

namespace {

struct TypedCase {
    const char* text;
    bool percentage;
    std::optional<double> value;
    const char* reason;
};

const TypedCase typedCases[] = {
    {"400,5", false, 400.5, ""},
    {" 1.5e-3 ", false, 0.0015, ""},
    {"2%", true, 2, ""},
    {"2 %", true, 2, ""},
    {"2,5%", true, 2.5, ""},
    {"", false, {}, ""},
    {"2%", false, {}, "\"2%\" is not a number"},
    {"1,2,3", false, {}, "\"1,2,3\" is not a number"},
    {"4OO", false, {}, "\"4OO\" is not a number"},
    {"1.5,2", false, {}, "\"1.5,2\" is not a number"},
};

TEST(TypedNumbers, TakeAPointOrADecimalCommaAndAPercentSign)
{
    for (const TypedCase& c : typedCases) {
        const TypedNumber typed = readTypedNumber(c.text, c.percentage);
        EXPECT_EQ(typed.value, c.value) << c.text;
        EXPECT_EQ(typed.reason, c.reason) << c.text;
        EXPECT_EQ(typed.empty, std::string(c.text).empty()) << c.text;
    }
}

} // namespace
