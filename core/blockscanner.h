#pragma once

#include "lampstates.h"
#include "valuedecoding.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// A register that the scanner follows: its marker in the code text and its LED group.
// The range of values it accepts is decodeValue's.
struct ScanRegister {
    int reg;
    std::string_view marker;
    int group;
};

inline constexpr std::array<ScanRegister, kGroupCount> kScanRegisters{{
    {2, "R2,#", 0},
    {3, "R3,#", 1},
    {4, "R4,#", 2},
    {5, "R5,#", 3},
    {6, "R6,#", 4},
}};

// Decoded value of each register after one step, R2 first; none where the value window
// did not decode or lay outside the register's range.
using StepValues = std::array<std::optional<std::uint8_t>, kGroupCount>;

// Writes every lamp of the register's group from the value: lamp Gi is lit when bit i
// is 0. applyValue(2, 0x0A, lamps) unlights A1 and A3 and lights A0, A2, A4..A7.
void applyValue(int reg, std::uint8_t value, LampStates& lamps);

// Follows each register R2..R6 through the code text on its own, one marker per step.
//
// A scan position is the 1-based index in the UTF-8 code text of the "R" of the marker
// found last, 0 when none has been found since the last reset or the last search ran off
// the end. A step searches on from the old position, so its cost is the text the five
// searches pass over; the scanner keeps no copy of the text and the text may change
// between steps.
class BlockScanner {
public:
    // All five positions to 0.
    void reset() { positions_.fill(0); }

    // Advances each register R2..R6 to its next marker and writes the lamps of every
    // group whose value decodes.
    StepValues step(std::string_view codeText, LampStates& lamps);

    // The scan position of register `reg` (2..6).
    [[nodiscard]] std::int64_t position(int reg) const { return positions_[reg - 2]; }

    // The value window of register `reg`: up to three characters right behind its marker,
    // or characters 4 to 6 of the text at position 0. Counted in characters, so a
    // multi-byte character is never cut; an invalid byte counts as one character and
    // shows as U+FFFD, so the window is always valid UTF-8.
    [[nodiscard]] std::string window(int reg, std::string_view codeText) const;

private:
    std::array<std::int64_t, kGroupCount> positions_{};
};

// The value window for a scan position, as BlockScanner::window describes it.
[[nodiscard]] std::string valueWindow(std::string_view codeText, std::int64_t position);

}  // namespace blikon
