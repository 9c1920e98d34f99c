#include "format/report_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct WithUncertainty {
    double value, uncertainty;
    const char* text;
};

const WithUncertainty withUncertainties[] = {
    {9.77912, 0.014871, "9.779 ± 0.015"},
    {-0.262323, 0.232818, "-0.26 ± 0.23"},
    {45612.3, 1234.5, "45600 ± 1200"},
    {2.3104e-7, 5.17e-9, "(2.310 ± 0.052) × 10⁻⁷"},
    {1234567.0, 34000.0, "(1.235 ± 0.034) × 10⁶"},
    {0.125, 0.125, "0.13 ± 0.13"}, // halves away from zero
    {-0.125, 0.0125, "-0.125 ± 0.013"},
    {2.0, 0.0996, "2.00 ± 0.10"}, // 0.0996 carries into a new digit
    {0.001, 0.9996, "0.0 ± 1.0"},
    {3.2, 220, "0 ± 220"},
    {-0.0004, 0.23, "0.00 ± 0.23"}, // no "-0.00"
    {1.00211681802045, 0.000429796848199937, "1.00212 ± 0.00043"},
    {3.0, 0.0, "3.000 ± 0"},
    {0.5, std::numeric_limits<double>::infinity(), "0.5000"},
};

TEST(ReportNumbers, ValueWithUncertainty)
{
    for (const WithUncertainty& c : withUncertainties)
        EXPECT_EQ(valueWithUncertainty(c.value, c.uncertainty), c.text) << c.value;
}

struct Significant {
    double value;
    int digits;
    const char* text;
};

const Significant significants[] = {
    {0, 4, "0"},
    {3.14159, 4, "3.142"},
    {-0.00012346, 4, "-1.235 × 10⁻⁴"},
    {0.001234, 4, "0.001234"},
    {99.996, 4, "100.0"},
    {1.2345e-8, 4, "1.235 × 10⁻⁸"},
    {4.2e12, 4, "4.200 × 10¹²"},
    {999999.6, 4, "1.000 × 10⁶"},
    {0.05, 2, "0.050"},
    {12.34, 3, "12.3"},
};

TEST(ReportNumbers, SignificantDigits)
{
    for (const Significant& c : significants)
        EXPECT_EQ(significantValue(c.value, c.digits), c.text) << c.value;
    EXPECT_EQ(significantValue(std::nan("")), "not a number");
}

TEST(ReportNumbers, RSquaredToSixDecimals)
{
    EXPECT_EQ(rSquaredRelation(0.999993745883712), "= 0.999994");
    EXPECT_EQ(rSquaredRelation(0.99999951), "> 0.999999");
    EXPECT_EQ(rSquaredRelation(1), "= 1.000000");
    EXPECT_EQ(rSquaredRelation(-0.25), "= -0.250000");
}

TEST(ReportNumbers, TypedValuesReadBackExactly)
{
    EXPECT_EQ(typedValue(3.2), "3.2");
    EXPECT_EQ(typedValue(36000), "36000");
    EXPECT_EQ(typedValue(-0.0001), "-0.0001");
}

} // namespace
