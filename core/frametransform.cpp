#include "frametransform.h"

#include "boardlayout.h"

#include <array>
#include <cstdlib>

namespace blikon {

namespace {

// Cube coordinates of a hexagonal grid around D3: x + y + z == 0, z is the row below
// the middle one and x runs along the row. A row to the right is x + 1, y - 1; a row
// down and half a step right is z + 1, y - 1.
struct Cube {
    int x = 0;
    int y = 0;
    int z = 0;
};

constexpr int kRadius = 3;  // rows and places reach 3 steps from the centre

Cube cubeOf(const BoardPlace& place)
{
    const int z = place.row - 4;
    // Half steps right of the centre: the row's own shift counts half a step per row.
    const int halfSteps = gridHalfSteps(place) - 2 * kRadius;
    const int x = (halfSteps - z) / 2;
    return {x, -x - z, z};
}

// The LED at the given cube coordinates, which must lie on the board.
Led ledAt(Cube c)
{
    static const auto grid = [] {
        std::array<std::array<Led, 2 * kRadius + 1>, 2 * kRadius + 1> byXZ{};
        for (const BoardPlace& p : boardLayout()) {
            const Cube at = cubeOf(p);
            byXZ[at.z + kRadius][at.x + kRadius] = p.led;
        }
        return byXZ;
    }();
    return grid[c.z + kRadius][c.x + kRadius];
}

// Where each LED goes under a move of the grid, indexed by ledIndex.
using Permutation = std::array<Led, kLedCount>;

template <typename Move>
Permutation permutationOf(Move move)
{
    Permutation to{};
    for (const BoardPlace& p : boardLayout())
        to[ledIndex(p.led)] = ledAt(move(cubeOf(p)));
    return to;
}

// With rows counted downwards, (x, y, z) -> (-z, -x, -y) takes the LED right of the
// centre to the one below right of it: clockwise on the panel.
const Permutation& clockwise()
{
    static const Permutation to = permutationOf([](Cube c) { return Cube{-c.z, -c.x, -c.y}; });
    return to;
}

const Permutation& counterClockwise()
{
    static const Permutation to = permutationOf([](Cube c) { return Cube{-c.y, -c.z, -c.x}; });
    return to;
}

// Left to right within the row: x and y change places, the row stays.
const Permutation& mirror()
{
    static const Permutation to = permutationOf([](Cube c) { return Cube{c.y, c.x, c.z}; });
    return to;
}

BoardState moved(const BoardState& board, const Permutation& to)
{
    BoardState result;
    for (const Led& led : allLeds())
        if (board.isLit(led))
            result.change(to[ledIndex(led)], LedState::Lit);
    return result;
}

}  // namespace

Led turnLedClockwise(Led led) { return clockwise()[ledIndex(led)]; }

Led turnLedCounterClockwise(Led led) { return counterClockwise()[ledIndex(led)]; }

Led mirrorLed(Led led) { return mirror()[ledIndex(led)]; }

BoardState turnClockwise(const BoardState& board) { return moved(board, clockwise()); }

BoardState turnCounterClockwise(const BoardState& board)
{
    return moved(board, counterClockwise());
}

BoardState mirrorLeftRight(const BoardState& board) { return moved(board, mirror()); }

BoardState invert(const BoardState& board)
{
    BoardState result;
    for (const Led& led : allLeds())
        if (!board.isLit(led))
            result.change(led, LedState::Lit);
    return result;
}

}  // namespace blikon
