#include "core/boardlayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace blikon {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct PanelBox {
    std::string name;
    int left;
};

struct PanelRow {
    int top;
    std::vector<PanelBox> boxes;
};

// The LED panel of the main window, left edges and tops in twips.
const std::vector<PanelRow> kPanel = {
    {120, {{"A6", 700}, {"A5", 1100}, {"A4", 1500}, {"A3", 1900}}},
    {480, {{"A7", 500}, {"B5", 900}, {"B4", 1300}, {"B3", 1700}, {"A2", 2100}}},
    {840, {{"B7", 300}, {"B6", 700}, {"C4", 1100}, {"C3", 1500}, {"B2", 1900}, {"A1", 2300}}},
    {1200, {{"C7", 100}, {"C6", 480}, {"C5", 900}, {"D3", 1300}, {"C2", 1700}, {"B1", 2100},
            {"A0", 2500}}},
    {1560, {{"D6", 300}, {"D5", 700}, {"D4", 1100}, {"D2", 1500}, {"C1", 1900}, {"B0", 2280}}},
    {1920, {{"E5", 500}, {"E3", 900}, {"E1", 1300}, {"D1", 1700}, {"C0", 2100}}},
    {2280, {{"E4", 700}, {"E2", 1080}, {"E0", 1500}, {"D0", 1900}}},
};

// The lamps of the animation window: top and left of each row's first lamp, in twips.
struct LampRow {
    int top;
    int firstLeft;
};
const LampRow kLampRows[] = {
    {120, 1440}, {720, 1080}, {1320, 720}, {1920, 360}, {2520, 720}, {3120, 1080}, {3720, 1440},
};

TEST(BoardLayout, HoldsEveryLedOnceInRowsOfTheHexagon)
{
    std::set<std::string> names;
    std::vector<int> rowSizes(kRowCount, 0);
    int previousRow = 1;
    int expectedPlace = 0;
    for (const BoardPlace& p : boardLayout()) {
        names.insert(ledName(p.led));
        ASSERT_GE(p.row, 1);
        ASSERT_LE(p.row, kRowCount);
        ++rowSizes[p.row - 1];
        // Row by row from the top, places counting up from 0 within each row.
        ASSERT_GE(p.row, previousRow);
        if (p.row != previousRow)
            expectedPlace = 0;
        EXPECT_EQ(p.place, expectedPlace++) << ledName(p.led);
        previousRow = p.row;
    }
    EXPECT_EQ(names.size(), 37u);
    EXPECT_THAT(rowSizes, ElementsAre(4, 5, 6, 7, 6, 5, 4));
}

TEST(BoardLayout, RowsListTheBoardsLedsLeftToRight)
{
    std::vector<std::string> expected;
    for (const PanelRow& row : kPanel)
        for (const PanelBox& box : row.boxes)
            expected.push_back(box.name);
    std::vector<std::string> actual;
    for (const BoardPlace& p : boardLayout())
        actual.push_back(ledName(p.led));
    EXPECT_THAT(actual, ElementsAreArray(expected));
}

TEST(BoardLayout, PanelPositionsInTwips)
{
    for (std::size_t r = 0; r < kPanel.size(); ++r) {
        for (std::size_t k = 0; k < kPanel[r].boxes.size(); ++k) {
            const PanelBox& box = kPanel[r].boxes[k];
            SCOPED_TRACE(box.name);
            const BoardPlace& p = boardPlace(*parseLedName(box.name));
            EXPECT_EQ(ledName(p.led), box.name);
            EXPECT_EQ(p.row, static_cast<int>(r) + 1);
            EXPECT_EQ(p.place, static_cast<int>(k));
            EXPECT_EQ(p.panel, (TwipPoint{box.left, kPanel[r].top}));
        }
    }
    EXPECT_EQ(kPanelBoxSize, 255);
}

// The panel follows a grid of 400 twips across and 360 down, with C7 at (100, 1200),
// except C6, B0 and E2, which stand 20 twips left of it.
TEST(BoardLayout, PanelIsOnTheGridExceptThreeBoxes)
{
    const std::set<std::string> offGrid = {"C6", "B0", "E2"};
    for (const BoardPlace& p : boardLayout()) {
        const std::string name = ledName(p.led);
        const int gridLeft = 100 + 200 * gridHalfSteps(p);
        EXPECT_EQ(p.panel.left, offGrid.count(name) ? gridLeft - 20 : gridLeft) << name;
        EXPECT_EQ(p.panel.top, 120 + 360 * (p.row - 1)) << name;
    }
}

TEST(BoardLayout, GridCoordinateSpansOfRows)
{
    std::vector<int> first(kRowCount, 99);
    std::vector<int> last(kRowCount, -1);
    for (const BoardPlace& p : boardLayout()) {
        first[p.row - 1] = std::min(first[p.row - 1], gridHalfSteps(p));
        last[p.row - 1] = std::max(last[p.row - 1], gridHalfSteps(p));
    }
    EXPECT_THAT(first, ElementsAre(3, 2, 1, 0, 1, 2, 3));
    EXPECT_THAT(last, ElementsAre(9, 10, 11, 12, 11, 10, 9));
}

TEST(BoardLayout, LampPositionsInTwips)
{
    for (const BoardPlace& p : boardLayout()) {
        const LampRow& row = kLampRows[p.row - 1];
        EXPECT_EQ(p.lamp, (TwipPoint{row.firstLeft + 720 * p.place, row.top})) << ledName(p.led);
    }
    EXPECT_EQ(boardPlace(*parseLedName("A0")).lamp, (TwipPoint{360 + 6 * 720, 1920}));
    EXPECT_EQ(boardPlace(*parseLedName("D0")).lamp, (TwipPoint{1440 + 3 * 720, 3720}));
    EXPECT_EQ(kLampSize, 495);
}

}  // namespace
}  // namespace blikon
