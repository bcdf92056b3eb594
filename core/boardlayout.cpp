#include "boardlayout.h"

#include <cstdlib>
#include <string_view>

namespace blikon {

namespace {

struct RowSpec {
    int panelTop;
    std::array<std::string_view, 7> names;
    std::array<int, 7> panelLefts;
};

// The LED panel follows the board's grid (400 twips across, 360 down), except three
// boxes that stand 20 twips left of it: C6, B0 and E2.
constexpr std::array<RowSpec, kRowCount> kRows{{
    {120, {"A6", "A5", "A4", "A3"}, {700, 1100, 1500, 1900}},
    {480, {"A7", "B5", "B4", "B3", "A2"}, {500, 900, 1300, 1700, 2100}},
    {840, {"B7", "B6", "C4", "C3", "B2", "A1"}, {300, 700, 1100, 1500, 1900, 2300}},
    {1200, {"C7", "C6", "C5", "D3", "C2", "B1", "A0"}, {100, 480, 900, 1300, 1700, 2100, 2500}},
    {1560, {"D6", "D5", "D4", "D2", "C1", "B0"}, {300, 700, 1100, 1500, 1900, 2280}},
    {1920, {"E5", "E3", "E1", "D1", "C0"}, {500, 900, 1300, 1700, 2100}},
    {2280, {"E4", "E2", "E0", "D0"}, {700, 1080, 1500, 1900}},
}};

// The animation window draws the same hexagon on an exact grid: 720 twips across,
// 600 down, each row indented 360 twips per row away from the middle one.
constexpr int kLampStepAcross = 720;
constexpr int kLampStepDown = 600;
constexpr int kLampTopFirstRow = 120;
constexpr int kLampLeftMiddleRow = 360;

std::array<BoardPlace, kLedCount> buildLayout()
{
    std::array<BoardPlace, kLedCount> places{};
    int i = 0;
    for (int r = 0; r < kRowCount; ++r) {
        const int row = r + 1;
        const int indent = std::abs(row - 4) * kLampStepAcross / 2;
        for (int k = 0; k < 7 && !kRows[r].names[k].empty(); ++k) {
            BoardPlace& p = places[i++];
            p.led = *parseLedName(kRows[r].names[k]);
            p.row = row;
            p.place = k;
            p.panel = {kRows[r].panelLefts[k], kRows[r].panelTop};
            p.lamp = {kLampLeftMiddleRow + indent + k * kLampStepAcross,
                      kLampTopFirstRow + r * kLampStepDown};
        }
    }
    return places;
}

}  // namespace

const std::array<BoardPlace, kLedCount>& boardLayout()
{
    static const auto layout = buildLayout();
    return layout;
}

const BoardPlace& boardPlace(Led led)
{
    static const auto byLed = [] {
        std::array<const BoardPlace*, kLedCount> index{};
        for (const BoardPlace& p : boardLayout())
            index[ledIndex(p.led)] = &p;
        return index;
    }();
    return *byLed[ledIndex(led)];
}

int gridHalfSteps(const BoardPlace& place)
{
    return 2 * place.place + std::abs(place.row - 4);
}

}  // namespace blikon
