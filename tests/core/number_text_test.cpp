#include "format/decimal_number.h"
#include "format/default_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Rendering {
    double number;
    const char* defaultText;
    const char* decimal;
};

// Every row of the rendering's reference table, plus the cases around it
// that catch rounding and range faults.
const Rendering renderings[] = {
    {0, " 0", "0"},
    {7, " 7", " 7"},
    {-5, "-5", "-5"},
    {2.5, " 2.5", " 2.5"},
    {0.5, " .5", " .5"},
    {0.1234, " .1234", " .1234"},
    {0.123456, " .123456", " .1235"},
    {3.14159265, " 3.14159265", " 3.142"},
    {12.3456, " 12.3456", " 12.35"},
    {-12.3456, "-12.3456", "-12.35"},
    {12.3449, " 12.3449", " 12.34"},
    {123.456, " 123.456", " 123.5"},
    {100.05, " 100.05", " 100.1"},
    {999.95, " 999.95", " 999.9"},
    {1000, " 1000", " 1000"},
    {1234.4, " 1234.4", " 1234"},
    {1234.5, " 1234.5", " 1235"},
    {-1234.5, "-1234.5", "-1235"},
    {9999.7, " 9999.7", " 9999"},
    {12345, " 12345", " 12350"},
    {98765.4321, " 98765.4321", " 98770"},
    {99999, " 99999", " 99990"},
    {1000000, " 1000000", " 1000000"},
    {1E15, " 1E+15", " 1000000000000000"},
    {1.23456789012345E20, " 1.23456789012345E+20", " 123500000000000000000"},
    {0.05, " .05", " .05"},
    {-0.05, "-.05", "-.05"},
    {0.0123456, " .0123456", " .01235"},
    {0.0099999, " .0099999", " .009999"},
    {0.00123, " .00123", " .00123"},
    {0.000123456, " .000123456", " .0001235"},
    {0.0001, " .0001", " .0001"},
    {5E-05, " 5E-05", " 0.00005000"},
    {1E-05, " 1E-05", " 0.00001000"},
    {1.23456E-05, " 1.23456E-05", " 0.00001235"},
    {1.23499E-05, " 1.23499E-05", " 0.00001234"},
    {9.99959E-06, " 9.99959E-06", " 0.000009999"},
    {1.5E-07, " 1.5E-07", " 0.0000001500"},
    {-2.5E-10, "-2.5E-10", "-0.0000000002500"},
    // A zero that the default text keeps stays; no zeros are added.
    {1.10004, " 1.10004", " 1.100"},
    {0.0012304, " .0012304", " .001230"},
    // Negative zero is zero.
    {-0.0, " 0", "0"},
    // 15 significant digits decide the length of the text.
    {0.1 + 0.2, " .3", " .3"},
    {1.0 / 3, " .333333333333333", " .3333"},
    {-2.0 / 3, "-.666666666666667", "-.6667"},
    {123456789012345, " 123456789012345", " 123500000000000"},
    {1234567890123456, " 1.23456789012346E+15", " 1235000000000000"},
    {999999999999999.9, " 1E+15", " 1000000000000000"},
    // The shortest text ends in a 5 after the 15th digit; the value lies below it.
    {8.626903632435095, " 8.62690363243509", " 8.627"},
    {6.288225455292035, " 6.28822545529203", " 6.288"},
    {0.00009999999999999999, " .0001", " .0001"},
    {0.00009999, " 9.999E-05", " 0.00009999"},
    // A fifth digit of 9 in the very small range leaves the fourth alone.
    {1.23491E-05, " 1.23491E-05", " 0.00001234"},
    {9.99989E-06, " 9.99989E-06", " 0.000009999"},
    {99.995, " 99.995", " 99.99"},
    {0.99999, " .99999", " .9999"},
};

class RenderingTable : public testing::TestWithParam<Rendering> {};

TEST_P(RenderingTable, DefaultTextAndDecimalNumber)
{
    const Rendering& row = GetParam();
    EXPECT_EQ(defaultNumberText(row.number), row.defaultText);
    EXPECT_EQ(decimalNumber(row.number), row.decimal);
}

INSTANTIATE_TEST_SUITE_P(Reference, RenderingTable, testing::ValuesIn(renderings));

TEST(DecimalNumber, ExtremesNeverCrashAndNeverWriteAnExponent)
{
    const double extremes[] = {
        std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
        std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(),
        -std::numeric_limits<double>::denorm_min()};
    for (const double x : extremes) {
        const std::string text = decimalNumber(x);
        EXPECT_EQ(text.find('E'), std::string::npos) << text;
        EXPECT_EQ(text.substr(0, 1), x < 0 ? "-" : " ");
    }
    EXPECT_EQ(decimalNumber(std::numeric_limits<double>::max()).size(), 1u + 309u);
    EXPECT_EQ(decimalNumber(std::numeric_limits<double>::denorm_min()),
              " 0." + std::string(323, '0') + "4941");
}

TEST(DecimalNumber, WritesFarMagnitudesOutInFull)
{
    EXPECT_EQ(defaultNumberText(1E-100), " 1E-100");
    EXPECT_EQ(decimalNumber(1E-100), " 0." + std::string(99, '0') + "1000");
    EXPECT_EQ(defaultNumberText(1E100), " 1E+100");
    EXPECT_EQ(decimalNumber(1E100), " 1" + std::string(100, '0'));
}

TEST(DecimalNumber, InfinityAndNaNGiveShortTexts)
{
    EXPECT_EQ(decimalNumber(std::numeric_limits<double>::infinity()), " inf");
    EXPECT_EQ(decimalNumber(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(decimalNumber(std::nan("")), " nan");
}

TEST(AdditionalZeros, GivesMagnitudeLessThreeZeros)
{
    EXPECT_EQ(additionalZeros(2), "");
    EXPECT_EQ(additionalZeros(3), "");
    EXPECT_EQ(additionalZeros(4), "0");
    EXPECT_EQ(additionalZeros(6), "000");
    EXPECT_EQ(additionalZeros(-5), "");
}

} // namespace
