#pragma once

#include "expected.h"
#include "ledgroup.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// The five group values A..E of one block, as R2..R6 load them.
using GroupValues = std::array<std::uint8_t, kGroupCount>;

// What one line of a code text is to a frame.
enum class LineRole {
    Other,  // anything else: a blank line, a comment, a label, another instruction
    Block,  // "mov" and one of the registers R2..R6 with a comma, no label
    Call,   // a call of Citac without a label (callsCitac)
};

// One line read for the block it may belong to. A block line is `readable` when the
// animation and the assembled program see the same value in it: the animation's marker
// "R2,#" .. "R6,#" exactly, a value that the animation decodes (decodeValue, the
// register's range included), "h" behind a two-digit value (without it the assembler
// reads "010" as ten), then only blanks and a comment without another marker. Blanks
// before "mov" and between it and the register, the letter case of "mov" and of the
// "h", and a comment are free. Otherwise `reason` says in Czech what is wrong and, where
// it can, what to write instead:
//   "   MOV R2,#0FEh ; a" reads 0xFE;   "mov R2,#0feh" gives
//   "animace hodnotu „0feh“ nepřečte: napiš 0FEh."
// A block or call line with a label is no line of a frame (role Other), with a reason.
struct BlockLineReading {
    LineRole role = LineRole::Other;
    int reg = 0;             // 2..6 on a block line
    std::uint8_t value = 0;  // the value of a readable block line
    std::string reason;      // empty on a readable block line and on other text

    [[nodiscard]] bool readable() const { return role == LineRole::Block && reason.empty(); }
};
[[nodiscard]] BlockLineReading readCodeLine(std::string_view line);

// Consecutive block lines, added one by one from the top, checked as one block: five
// readable lines that load R2..R6 once each, in any order (the animation plays each
// register's values in turn, so the order within a block does not matter). O(1) space,
// so a whole text can be read in one pass.
class BlockRun {
public:
    // Adds the block line (role Block) with the 0-based index `line`, the line right
    // below the last one added.
    void add(const BlockLineReading& reading, std::size_t line);

    void clear() { *this = BlockRun{}; }
    [[nodiscard]] bool empty() const { return count_ == 0; }
    [[nodiscard]] std::size_t firstLine() const { return firstLine_; }
    [[nodiscard]] std::size_t size() const { return count_; }

    // The values, or the first problem from the top with its 1-based line: a line that
    // is not readable, a register loaded a second time ("mov R2 je v bloku podruhé."),
    // or a missing register where it belongs in the order R2..R6 (for R2, R3, R5, R6 on
    // lines 10 to 13: "Řádek 12: chybí mov R4.").
    [[nodiscard]] Expected<GroupValues> values() const;

private:
    std::size_t firstLine_ = 0;
    std::size_t count_ = 0;
    unsigned registers_ = 0;  // bit reg - 2 for each register seen
    GroupValues values_{};
    std::optional<LineProblem> problem_;  // the first from the top
};

}  // namespace blikon
