#include "core/frametransform.h"

#include "core/boardlayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace blikon {
namespace {

Led led(const char* name) { return parseLedName(name).value(); }

std::vector<int> values(const BoardState& board)
{
    std::vector<int> v;
    for (int g = 0; g < kGroupCount; ++g)
        v.push_back(board.value(g));
    return v;
}

int litCount(const BoardState& board)
{
    int n = 0;
    for (const Led& l : allLeds())
        n += board.isLit(l);
    return n;
}

BoardState randomBoard(std::mt19937& rng)
{
    BoardState board;
    for (const Led& l : allLeds())
        if (rng() & 1)
            board.change(l, LedState::Lit);
    return board;
}

// Where the animation window draws a lamp, relative to D3's lamp and in steps of the
// grid. The lamps stand 720 twips apart in a row and 600 apart between rows; on a true
// hexagonal grid the rows are sqrt(3)/2 of a step apart, so the height is scaled to that.
struct Point {
    double x;
    double y;  // downwards, as on the screen
};

Point screenPoint(Led l)
{
    const TwipPoint centre = boardPlace(led("D3")).lamp;
    const TwipPoint at = boardPlace(l).lamp;
    return {(at.left - centre.left) / 720.0, (at.top - centre.top) / 600.0 * std::sqrt(3.0) / 2};
}

// With y pointing down, a growing angle turns clockwise on the screen.
Point rotatedClockwise(Point p, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    return {p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a)};
}

TEST(FrameTransform, LedMovesFollowTheScreenGeometry)
{
    for (const Led& l : allLeds()) {
        const Point p = screenPoint(l);
        for (const auto& [moved, degrees] : {std::pair{turnLedClockwise(l), 60.0},
                                             std::pair{turnLedCounterClockwise(l), -60.0}}) {
            const Point want = rotatedClockwise(p, degrees);
            const Point got = screenPoint(moved);
            EXPECT_NEAR(got.x, want.x, 1e-9) << ledName(l) << " by " << degrees;
            EXPECT_NEAR(got.y, want.y, 1e-9) << ledName(l) << " by " << degrees;
        }
        const Point mirrored = screenPoint(mirrorLed(l));
        EXPECT_NEAR(mirrored.x, -p.x, 1e-9) << ledName(l);
        EXPECT_NEAR(mirrored.y, p.y, 1e-9) << ledName(l);
    }
}

TEST(FrameTransform, CentreStaysAndCornersGoRoundClockwise)
{
    EXPECT_EQ(turnLedClockwise(led("D3")), led("D3"));
    EXPECT_EQ(turnLedCounterClockwise(led("D3")), led("D3"));
    EXPECT_EQ(mirrorLed(led("D3")), led("D3"));

    // Top left, top right, right, bottom right, bottom left, left: clockwise on the panel.
    const char* corners[] = {"A6", "A3", "A0", "D0", "E4", "C7"};
    for (int k = 0; k < 6; ++k) {
        const Led from = led(corners[k]);
        const Led to = led(corners[(k + 1) % 6]);
        EXPECT_EQ(turnLedClockwise(from), to) << corners[k];
        EXPECT_EQ(turnLedCounterClockwise(to), from) << corners[k];
        const Point a = screenPoint(from);
        const Point b = screenPoint(to);
        EXPECT_GT(a.x * b.y - a.y * b.x, 0) << corners[k] << " to the next corner is clockwise";
    }
}

TEST(FrameTransform, FrameMovesKeepTheGroupLawsOverRandomFrames)
{
    std::mt19937 rng(2024);
    for (int n = 0; n < 500; ++n) {
        const BoardState board = randomBoard(rng);
        BoardState turned = board;
        for (int k = 0; k < 6; ++k) {
            turned = turnClockwise(turned);
            ASSERT_EQ(litCount(turned), litCount(board));
        }
        EXPECT_EQ(values(turned), values(board));
        EXPECT_EQ(values(turnClockwise(turnCounterClockwise(board))), values(board));
        EXPECT_EQ(values(turnCounterClockwise(turnClockwise(board))), values(board));
        EXPECT_EQ(values(mirrorLeftRight(mirrorLeftRight(board))), values(board));
        EXPECT_EQ(values(mirrorLeftRight(turnClockwise(board))),
                  values(turnCounterClockwise(mirrorLeftRight(board))));
        EXPECT_EQ(values(invert(invert(board))), values(board));

        const BoardState inverted = invert(board);
        for (const Led& l : allLeds()) {
            ASSERT_NE(inverted.isLit(l), board.isLit(l)) << ledName(l);
            ASSERT_EQ(turnClockwise(board).isLit(turnLedClockwise(l)), board.isLit(l))
                << ledName(l);
        }
    }
    EXPECT_THAT(values(invert(BoardState{})), ::testing::ElementsAre(0, 0, 0, 0x80, 0xC0));
}

}  // namespace
}  // namespace blikon
