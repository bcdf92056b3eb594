#pragma once

#include "ledgroup.h"

#include <array>

namespace blikon {

// A point or rectangle in twips (1/1440 inch), relative to a window's client area.
struct TwipPoint {
    int left = 0;
    int top = 0;
    friend constexpr bool operator==(TwipPoint, TwipPoint) = default;
};

// Where an LED stands on the board: its row (1..7, top to bottom), its place in the
// row (0-based, left to right), its tick box on the main window's LED panel and its
// lamp in the animation window.
struct BoardPlace {
    Led led;
    int row = 0;
    int place = 0;
    TwipPoint panel;
    TwipPoint lamp;
};

inline constexpr int kRowCount = 7;
inline constexpr int kPanelBoxSize = 255;  // tick box width and height, twips
inline constexpr int kLampSize = 495;      // lamp diameter, twips

// The 37 LEDs row by row from the top, left to right within a row: the hexagon of
// 4, 5, 6, 7, 6, 5 and 4 LEDs. This is also the tab order of the LED panel.
[[nodiscard]] const std::array<BoardPlace, kLedCount>& boardLayout();

// The place of one LED.
[[nodiscard]] const BoardPlace& boardPlace(Led led);

// Horizontal grid coordinate of a place, in half steps: place k of row r stands at
// k + |r - 4| / 2 steps, so row 4 spans 0..12 half steps and rows 1 and 7 span 3..9.
[[nodiscard]] int gridHalfSteps(const BoardPlace& place);

}  // namespace blikon
