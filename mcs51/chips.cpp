#include "chips.h"

#include <array>

namespace blikon::mcs51 {

namespace {

constexpr std::uint32_t kKB = 1024;

// Code memory and RAM from the makers' data sheets; the 8052 family has 256 bytes of RAM.
constexpr std::array<Chip, 10> kChips = {{
    {"AT89C1051", 1 * kKB, 64},
    {"AT89C2051", 2 * kKB, 128},
    {"AT89C4051", 4 * kKB, 128},
    {"8051", 4 * kKB, 128},
    {"AT89C51", 4 * kKB, 128},
    {"AT89S51", 4 * kKB, 128},
    {"8052", 8 * kKB, 256},
    {"AT89C52", 8 * kKB, 256},
    {"AT89S52", 8 * kKB, 256},
    {"jiný (64 KB)", 64 * kKB, 256},
}};

}  // namespace

std::span<const Chip> chips() { return kChips; }

const Chip& defaultChip() { return kChips[1]; }

const Chip* findChip(std::string_view name)
{
    for (const Chip& chip : kChips)
        if (chip.name == name)
            return &chip;
    return nullptr;
}

}  // namespace blikon::mcs51
