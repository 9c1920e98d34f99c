// Reading and writing numbers must not follow the user's regional settings:
// a German desktop writes "2,5", but the box's data and the program's output
// always use the point. Qt sets the C locale from the environment at start-up,
// so these run under a locale whose decimal point is a comma.

#include "data/number_reading.h"
#include "format/decimal_number.h"
#include "format/default_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

namespace {

constexpr const char* commaLocale = "de_DE.UTF-8";

class CommaLocale : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::setlocale(LC_ALL, commaLocale), nullptr)
            << commaLocale << " is missing: the set-up step generates it with localedef";
        std::locale::global(std::locale(commaLocale));
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }
};

TEST_F(CommaLocale, ReadingIgnoresTheLocale)
{
    EXPECT_EQ(readNumber("3.5e2"), 350);
    EXPECT_EQ(readNumber("2.5"), 2.5);
    EXPECT_EQ(readNumber("1,5"), 1);
    EXPECT_EQ(readAnswer(" 2.5 "), 2.5);
    EXPECT_EQ(readAnswer("2,5"), std::nullopt);
}

TEST_F(CommaLocale, WritingIgnoresTheLocale)
{
    EXPECT_EQ(defaultNumberText(0.5), " .5");
    EXPECT_EQ(defaultNumberText(1234.5678), " 1234.5678");
    EXPECT_EQ(defaultNumberText(1.5E-07), " 1.5E-07");
    EXPECT_EQ(decimalNumber(3.14159265), " 3.142");
    EXPECT_EQ(decimalNumber(-2.5E-10), "-0.0000000002500");
    EXPECT_EQ(decimalNumber(1234567.8), " 1235000");
}

} // namespace
