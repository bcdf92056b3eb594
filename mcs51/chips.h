#pragma once

// The chips a program can be written for: how much code memory and internal RAM each has.

#include <cstdint>
#include <span>
#include <string_view>

namespace blikon::mcs51 {

struct Chip {
    std::string_view name;
    std::uint32_t codeBytes = 0;  // on-chip code memory
    std::uint16_t ramBytes = 0;   // internal RAM: 256 on the 8052 family
};

// Every chip the window offers, smallest code memory first, ending with one entry for any
// chip with 64 KB. chips()[1].name == "AT89C2051", with 2048 code bytes and 128 bytes RAM.
[[nodiscard]] std::span<const Chip> chips();

// The chip chosen until the user picks another: the AT89C2051.
[[nodiscard]] const Chip& defaultChip();

// The chip of that exact name, or nullptr: findChip("AT89S52")->codeBytes == 8192.
[[nodiscard]] const Chip* findChip(std::string_view name);

// Whether a program of `programSize` bytes (highest used code address + 1) fits into the
// chip's code memory: fits(*findChip("AT89C1051"), 1024) is true, 1025 is not.
[[nodiscard]] constexpr bool fits(const Chip& chip, std::uint32_t programSize)
{
    return programSize <= chip.codeBytes;
}

}  // namespace blikon::mcs51
