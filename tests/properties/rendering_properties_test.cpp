#include "rendering_properties.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

namespace {

using namespace rendering_properties;

// Values spread over every magnitude a lab could meet and far beyond,
// both signs, plus values right at the rendering's rounding edges.
std::vector<double> generatedValues()
{
    std::mt19937_64 engine(20261208);
    std::uniform_real_distribution<double> mantissa(1, 10);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::vector<double> values;
    for (int i = 0; i < 20000; ++i) {
        const double v = mantissa(engine) * std::pow(10.0, exponent(engine));
        values.push_back(i % 2 ? v : -v);
    }
    for (int i = 0; i < 5000; ++i) // any bit pattern
        values.push_back(std::bit_cast<double>(engine()));
    std::uniform_int_distribution<long long> whole(0, 999999999999999);
    std::uniform_int_distribution<int> decimals(0, 8);
    for (int i = 0; i < 10000; ++i) // measurements with few decimals
        values.push_back(static_cast<double>(whole(engine) >> decimals(engine) * 5) /
                         std::pow(10.0, decimals(engine)));
    for (double edge : {9.9995, 9.99949, 99.995, 999.95, 9999.5, 99995.0, 0.099995, 0.0099995,
                        0.00099995, 9.9995e-5, 9.99959e-6, 1e-4, 1e15, 999999999999999.9})
        for (double scale : {1.0, -1.0, 1.0000000001, 0.9999999999})
            values.push_back(edge * scale);
    return values;
}

TEST(RenderingProperties, DecimalNumberKeepsFourDigitsWithoutExponentAndReadsBack)
{
    int checked = 0;
    for (const double x : generatedValues()) {
        const std::string fault = checkDecimalNumber(x);
        ASSERT_EQ(fault, "") << "for " << std::to_string(x);
        ++checked;
    }
    EXPECT_GT(checked, 35000);
}

TEST(RenderingProperties, DefaultTextReadsBackAsTheValueRoundedTo15Digits)
{
    for (const double x : generatedValues())
        ASSERT_EQ(checkDefaultText(x), "") << "for " << std::to_string(x);
}

} // namespace
