#pragma once

#include "boardstate.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// The five group values A..E of one block, as R2..R6 load them.
using GroupValues = std::array<std::uint8_t, kGroupCount>;

// The values of a block text in exactly the form formatBlock writes: five lines
// "           mov R2,#0…h" to "... R6 ...", joined by CR LF, each value read by
// decodeValue. readBlock(formatBlock(board)) gives board's five values; a line in any
// other form (a missing or extra space, "0ffh", "#0FF" without "h", the lines out of
// order, R5 below 080h) gives none.
[[nodiscard]] std::optional<GroupValues> readBlock(std::string_view blockText);

// The board that shows the values: an LED is lit where its bit is 0. The values of
// groups D and E must have their bits without an LED set, as readBlock's always have.
// boardFromValues({0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) has only A0 lit.
[[nodiscard]] BoardState boardFromValues(const GroupValues& values);

// A block found in a code text: its five lines are the bytes [begin, end), from the
// first space of the R2 line to the "h" of the R6 line, and the lines with indexes
// firstLine to firstLine + 4 (lines are counted from 0 and end at LF; a CR before the LF
// belongs to the line end).
struct BlockInText {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t firstLine = 0;
    GroupValues values{};
};

// The block that the line `line` of the code text belongs to: the line is one of the
// block's five mov lines, or the call line "           Call Citac" right behind them.
// None when the line is neither, or when the lines around it are no whole block in
// formatBlock's form. Only the lines around the cursor line are read, once its start is
// found. In appendBlock("", block) the lines 1 to 6 give block with begin 2, line 0
// (the empty first line) gives none.
[[nodiscard]] std::optional<BlockInText> findBlockAtLine(std::string_view codeText,
                                                         std::size_t line);

// As findBlockAtLine, for the line that holds the byte `offset` (a CR or LF counts to
// the line it ends); an offset at the end of the text stands on the last line.
[[nodiscard]] std::optional<BlockInText> findBlockAt(std::string_view codeText,
                                                     std::size_t offset);

// The code text with the bytes of the found block replaced by `newBlock`, every other
// byte as it was: replacing a found block with formatBlock(turnClockwise(board)) turns
// that one frame.
[[nodiscard]] std::string replaceBlock(std::string_view codeText, const BlockInText& block,
                                       std::string_view newBlock);

}  // namespace blikon
