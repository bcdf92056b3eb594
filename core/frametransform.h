#pragma once

#include "boardstate.h"

namespace blikon {

// Moves of a whole frame on the hexagon. The board is a centred hexagon of side 4, so a
// turn by 60 degrees or a mirror image lands every LED exactly on another one; the
// centre D3 stays where it is. Directions are as seen on the LED panel, row 1 at the top.

// The LED that `led` moves to when the frame turns 60 degrees clockwise: the corners go
// round A6 -> A3 -> A0 -> D0 -> E4 -> C7 -> A6, and turnLedClockwise(D3) is D3.
[[nodiscard]] Led turnLedClockwise(Led led);

// The inverse of turnLedClockwise: turnLedCounterClockwise(A3) is A6.
[[nodiscard]] Led turnLedCounterClockwise(Led led);

// The LED that `led` moves to when the frame is mirrored left to right within its row:
// mirrorLed(A6) is A3, mirrorLed(C7) is A0, mirrorLed(D3) is D3.
[[nodiscard]] Led mirrorLed(Led led);

// The frame turned 60 degrees clockwise: an LED is lit where turnLedClockwise takes a
// lit LED. A frame with only A6 lit becomes one with only A3 lit.
[[nodiscard]] BoardState turnClockwise(const BoardState& board);

// The frame turned 60 degrees counter-clockwise: only A3 lit becomes only A6 lit.
[[nodiscard]] BoardState turnCounterClockwise(const BoardState& board);

// The frame mirrored left to right: only C7 lit becomes only A0 lit.
[[nodiscard]] BoardState mirrorLeftRight(const BoardState& board);

// The frame with every LED switched: lit becomes dark and dark becomes lit. The fresh
// board (all 255) becomes all lit (0, 0, 0, 128, 192).
[[nodiscard]] BoardState invert(const BoardState& board);

}  // namespace blikon
