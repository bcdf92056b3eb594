#include "czechwording.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace blikon::czech {
namespace {

TEST(CzechWording, PluralTakesTheFormOfTheCountsMagnitude)
{
    const struct { std::int64_t count; std::string_view form; } cases[] = {
        {0, "bajtů"}, {1, "bajt"}, {2, "bajty"}, {4, "bajty"}, {5, "bajtů"}, {11, "bajtů"}, {21, "bajtů"},
        {-1, "bajt"}, {-2, "bajty"}, {-5, "bajtů"}, {INT64_MIN, "bajtů"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plural(c.count, "bajt", "bajty", "bajtů"), c.form) << c.count;
}

TEST(CzechWording, NumbersHaveADecimalCommaAndSpacesBetweenThousands)
{
    EXPECT_EQ(decimalNumber(12.3456, 3), "12,346");
    EXPECT_EQ(decimalNumber(5, 1), "5,0");
    EXPECT_EQ(decimalNumber(0.04, 1), "0,0");
    EXPECT_EQ(decimalNumber(7, 0), "7");
    EXPECT_EQ(shortDecimalNumber(11.0592, 6), "11,0592");
    EXPECT_EQ(shortDecimalNumber(12, 6), "12");
    EXPECT_EQ(shortDecimalNumber(0.5, 6), "0,5");
    EXPECT_EQ(shortDecimalNumber(3.5795449, 6), "3,579545");
    EXPECT_EQ(shortDecimalNumber(40, 0), "40");
    EXPECT_EQ(groupedNumber(999), "999");
    EXPECT_EQ(groupedNumber(1000), "1 000");
    EXPECT_EQ(groupedNumber(65536), "65 536");
    EXPECT_EQ(groupedNumber(1234567), "1 234 567");
    EXPECT_EQ(groupedNumber(0), "0");
    EXPECT_EQ(groupedNumber(-1093), "-1 093");
    EXPECT_EQ(groupedNumber(INT64_MIN), "-9 223 372 036 854 775 808");
}

}  // namespace
}  // namespace blikon::czech
