#include "core/ledgroup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace blikon {
namespace {

using ::testing::ElementsAreArray;

// The board's LED names in the order A, B, C, D, E, bit 0 first.
const std::vector<std::string> kBoardNames = {
    "A0", "A1", "A2", "A3", "A4", "A5", "A6", "A7",
    "B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7",
    "C0", "C1", "C2", "C3", "C4", "C5", "C6", "C7",
    "D0", "D1", "D2", "D3", "D4", "D5", "D6",
    "E0", "E1", "E2", "E3", "E4", "E5",
};

TEST(LedGroup, GroupsMapToRegistersR2ToR6AndMarkBitsWithoutLed)
{
    const std::string letters = "ABCDE";
    const int counts[] = {8, 8, 8, 7, 6};
    int total = 0;
    for (int g = 0; g < kGroupCount; ++g) {
        SCOPED_TRACE(letters[g]);
        EXPECT_EQ(kGroups[g].letter, letters[g]);
        EXPECT_EQ(kGroups[g].reg, g + 2);
        EXPECT_EQ(kGroups[g].ledCount, counts[g]);
        // The fixed ones are exactly the bits at or above the LED count.
        for (int bit = 0; bit < 8; ++bit)
            EXPECT_EQ((kGroups[g].fixedOnes >> bit) & 1, bit >= counts[g] ? 1 : 0) << "bit " << bit;
        total += kGroups[g].ledCount;
    }
    EXPECT_EQ(total, kLedCount);
    EXPECT_EQ(kGroups[3].fixedOnes, 0x80);
    EXPECT_EQ(kGroups[4].fixedOnes, 0xC0);
}

TEST(LedGroup, AllLedsAreTheBoardsLedsInGroupOrder)
{
    std::vector<std::string> names;
    for (const Led& led : allLeds())
        names.push_back(ledName(led));
    EXPECT_THAT(names, ElementsAreArray(kBoardNames));

    for (int i = 0; i < kLedCount; ++i)
        EXPECT_EQ(ledIndex(allLeds()[i]), i) << kBoardNames[i];
}

TEST(LedGroup, NameRoundTripsForEveryLed)
{
    for (const std::string& name : kBoardNames) {
        SCOPED_TRACE(name);
        const std::optional<Led> led = parseLedName(name);
        ASSERT_TRUE(led.has_value());
        EXPECT_EQ(led->group, name[0] - 'A');
        EXPECT_EQ(led->bit, name[1] - '0');
        EXPECT_EQ(ledName(*led), name);
    }
}

TEST(LedGroup, WeightIsTwoToTheBit)
{
    const int expected[] = {1, 2, 4, 8, 16, 32, 64, 128};
    for (int bit = 0; bit < 8; ++bit)
        EXPECT_EQ(ledWeight(Led{0, bit}), expected[bit]);
    EXPECT_EQ(ledWeight(*parseLedName("D6")), 64);
    EXPECT_EQ(ledWeight(*parseLedName("E5")), 32);
}

TEST(LedGroup, NamesOutsideTheBoardDoNotParse)
{
    const std::vector<std::string> invalid = {
        "D7", "E6", "E7", "A8", "B8", "C8", "D8", "E8", "A9",
        "a0", "e5", "F0", "R2", "0A", "A", "A10", "A00", "", " A0", "A0 ",
        "A-", "A:", "A/", std::string("A\0", 2), "\xC4\x8C", "A\xC4",
    };
    for (const std::string& name : invalid)
        EXPECT_FALSE(parseLedName(name).has_value()) << '"' << name << '"';
}

}  // namespace
}  // namespace blikon
