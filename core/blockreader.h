#pragma once

#include "blockline.h"
#include "boardstate.h"
#include "codeline.h"
#include "expected.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace blikon {

// The values of a block text alone: exactly five lines (LF or CR LF between them, none
// after the last), each a readable block line (readCodeLine), loading R2..R6 once each
// in any order. readBlock(formatBlock(board)) gives board's five values, and so does the
// same block with other indentation, "MOV", "0FEH" or comments; the problem names the
// 1-based line within the block text: "mov R2,#0feh" on the first line gives
// {1, "animace hodnotu „0feh“ nepřečte: napiš 0FEh."}.
[[nodiscard]] Expected<GroupValues> readBlock(std::string_view blockText);

// The board that shows the values: an LED is lit where its bit is 0. The values of
// groups D and E must have their bits without an LED set, as readBlock's always have.
// boardFromValues({0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) has only A0 lit.
[[nodiscard]] BoardState boardFromValues(const GroupValues& values);

// A block found in a code text: its five lines are the bytes [begin, end), from the
// first byte of its first line to the last byte of its fifth (its line end excluded),
// and the lines with the 0-based indexes firstLine to firstLine + 4.
struct BlockInText {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t firstLine = 0;
    GroupValues values{};

    bool operator==(const BlockInText&) const = default;
};

// How far from the line asked about a block search reads: 6 lines above it and 5 below.
// A caller that holds a long text elsewhere may pass only those lines.
inline constexpr std::size_t kBlockSearchLinesAbove = 6;
inline constexpr std::size_t kBlockSearchLinesBelow = 5;

// The block that the 0-based line `line` of the code text belongs to, as the animation
// plays it: the line is one of the block's five lines, or a call of Citac right below
// them. The block is the whole run of block lines (LineRole::Block) around the line,
// read as BlockRun reads it; blank lines and comments end a run. When there is no block,
// the problem names the 1-based line at fault in this text: the line itself when it is
// no line of a block ("není součástí snímku …"), or the line of the block that is wrong
// ("Řádek 12: chybí mov R4."). In blockSuffix(block) the lines 1 to 6 give the block
// with begin 2; line 0, the empty first line, gives a problem on line 1.
[[nodiscard]] Expected<BlockInText> locateBlockAtLine(std::string_view codeText, std::size_t line);

// As locateBlockAtLine, for the line that holds the byte `offset` (a CR or LF counts to
// the line it ends; an offset at the end of the text stands on the last line). An offset
// beyond the end gives a problem on the line after the last.
[[nodiscard]] Expected<BlockInText> locateBlockAt(std::string_view codeText, std::size_t offset);

// The code text with the bytes of the found block replaced by `newBlock`, every other
// byte as it was: replacing a found block with formatBlock(turnClockwise(board)) turns
// that one frame.
[[nodiscard]] std::string replaceBlock(std::string_view codeText, const BlockInText& block,
                                       std::string_view newBlock);

namespace detail {

// The lines near one line of a code text, read for blocks: up to `above` lines above it
// and `below` below. The shared ground of the block and frame searches.
struct LinesAround {
    std::vector<LineSpan> spans;
    std::vector<BlockLineReading> readings;
    std::size_t home = 0;       // the line asked about, an index into spans
    std::size_t firstLine = 0;  // the 0-based line index of spans[0] in the text
};
[[nodiscard]] LinesAround readLinesAround(std::string_view codeText, std::size_t homeStart,
                                          std::size_t homeLine, std::size_t above, std::size_t below);

// The block that the home line of `lines` belongs to, as locateBlockAtLine finds it,
// with the index into lines.spans of its last line.
struct BlockAround {
    BlockInText block;
    std::size_t lastIndex = 0;
};
[[nodiscard]] Expected<BlockAround> blockAround(const LinesAround& lines);

}  // namespace detail

}  // namespace blikon
