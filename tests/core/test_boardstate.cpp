#include "core/boardstate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace blikon {
namespace {

using ::testing::ElementsAre;

Led led(const char* name)
{
    const std::optional<Led> parsed = parseLedName(name);
    EXPECT_TRUE(parsed.has_value()) << name;
    return parsed.value_or(Led{});
}

std::vector<int> values(const BoardState& board)
{
    std::vector<int> v;
    for (int g = 0; g < kGroupCount; ++g)
        v.push_back(board.value(g));
    return v;
}

TEST(BoardState, NewBoardIsAllDark)
{
    const BoardState board;
    EXPECT_THAT(values(board), ElementsAre(255, 255, 255, 255, 255));
    for (const Led& l : allLeds())
        EXPECT_FALSE(board.isLit(l)) << ledName(l);
}

TEST(BoardState, LightingAndDarkeningMoveTheGroupValue)
{
    BoardState board;
    board.change(led("A0"), LedState::Lit);
    EXPECT_EQ(board.value(0), 0xFE);
    board.change(led("A7"), LedState::Lit);
    EXPECT_EQ(board.value(0), 0x7E);
    board.change(led("A0"), LedState::Dark);
    EXPECT_EQ(board.value(0), 0x7F);
    EXPECT_FALSE(board.isLit(led("A0")));
    EXPECT_TRUE(board.isLit(led("A7")));
    EXPECT_THAT(values(board), ElementsAre(0x7F, 255, 255, 255, 255));
}

TEST(BoardState, TopLedOfShortGroupsAlone)
{
    BoardState board;
    board.change(led("D6"), LedState::Lit);
    board.change(led("E5"), LedState::Lit);
    EXPECT_THAT(values(board), ElementsAre(255, 255, 255, 0xBF, 0xDF));
}

TEST(BoardState, AllLitLeavesOnlyTheBitsWithoutLed)
{
    BoardState board;
    for (const Led& l : allLeds())
        board.change(l, LedState::Lit);
    EXPECT_THAT(values(board), ElementsAre(0, 0, 0, 128, 192));
    for (const Led& l : allLeds())
        EXPECT_TRUE(board.isLit(l)) << ledName(l);

    board.reset();
    EXPECT_THAT(values(board), ElementsAre(255, 255, 255, 255, 255));
}

TEST(BoardState, OtherStateChangesNothing)
{
    BoardState board;
    board.change(led("B3"), LedState::Lit);
    for (const Led& l : allLeds())
        board.change(l, LedState::Other);
    EXPECT_THAT(values(board), ElementsAre(255, 255 - 8, 255, 255, 255));
    EXPECT_TRUE(board.isLit(led("B3")));
}

// Any sequence of real changes keeps value(G) == 255 - sum of the weights of G's lit LEDs.
TEST(BoardState, RealChangesKeepTheActiveLowInvariant)
{
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> pick(0, kLedCount - 1);
    BoardState board;
    std::set<std::string> lit;
    for (int n = 0; n < 2000; ++n) {
        const Led l = allLeds()[pick(rng)];
        const std::string name = ledName(l);
        const bool nowLit = lit.erase(name) == 0;
        if (nowLit)
            lit.insert(name);
        board.change(l, nowLit ? LedState::Lit : LedState::Dark);

        for (int g = 0; g < kGroupCount; ++g) {
            int expected = 255;
            for (int bit = 0; bit < kGroups[g].ledCount; ++bit)
                if (lit.count(std::string{kGroups[g].letter, char('0' + bit)}))
                    expected -= 1 << bit;
            ASSERT_EQ(board.value(g), expected) << "after change " << n;
        }
        for (const Led& any : allLeds())
            ASSERT_EQ(board.isLit(any), lit.count(ledName(any)) == 1) << ledName(any);
    }
}

}  // namespace
}  // namespace blikon
