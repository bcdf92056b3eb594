#pragma once

#include "boardstate.h"

#include <string>
#include <string_view>

namespace blikon {

// Line end of every generated text.
inline constexpr std::string_view kCrLf = "\r\n";

// Indent of every instruction line the program writes: eleven spaces.
inline constexpr std::string_view kIndent = "           ";

// The call line that follows every block: the indent and "Call Citac".
inline constexpr std::string_view kCallLine = "           Call Citac";

// A group value as a block writes it: "0", the value in upper-case hex without leading
// zeros and "h". valueText(254) == "0FEh", valueText(5) == "05h".
[[nodiscard]] std::string valueText(int value);

// One block line: the indent, "mov R<reg>,#0", the value in upper-case hex without
// leading zeros and "h". blockLine(2, 5) == "           mov R2,#05h".
[[nodiscard]] std::string blockLine(int reg, int value);

// The block of a board: five block lines for R2..R6 carrying groups A..E, joined by
// CR LF, with no line end before the first or after the last.
// All dark gives five lines ending in "#0FFh".
[[nodiscard]] std::string formatBlock(const BoardState& board);

// The block of a fresh board (all values 255): what Label1 shows at start.
[[nodiscard]] const std::string& startBlock();

// What the add command appends after the code text: CR LF, the block, CR LF, the call
// line. blockSuffix(block) == "\r\n" + block + "\r\n" + kCallLine.
[[nodiscard]] std::string blockSuffix(std::string_view block);

}  // namespace blikon
