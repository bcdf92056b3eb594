#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// One of the five LED groups of the board. Group G is loaded into register R(2+index);
// bits without an LED are always 1 in the group's value (`fixedOnes`).
struct LedGroup {
    char letter;
    int reg;
    int ledCount;
    std::uint8_t fixedOnes;
};

inline constexpr int kGroupCount = 5;
inline constexpr int kLedCount = 37;

// The groups in their fixed order A, B, C, D, E (registers R2 to R6).
inline constexpr std::array<LedGroup, kGroupCount> kGroups{{
    {'A', 2, 8, 0x00},
    {'B', 3, 8, 0x00},
    {'C', 4, 8, 0x00},
    {'D', 5, 7, 0x80},
    {'E', 6, 6, 0xC0},
}};

// One LED: its group (index 0..4 into kGroups) and its bit within the group's value.
struct Led {
    int group = 0;
    int bit = 0;
    friend constexpr bool operator==(Led, Led) = default;
};

// Weight of the LED in its group's value: A0 = 1, A7 = 128.
[[nodiscard]] constexpr int ledWeight(Led led) { return 1 << led.bit; }

namespace detail {
// ledIndex of bit 0 of each group: 0, 8, 16, 24, 31.
inline constexpr std::array<int, kGroupCount> kFirstLedIndex = [] {
    std::array<int, kGroupCount> first{};
    for (int g = 1; g < kGroupCount; ++g)
        first[g] = first[g - 1] + kGroups[g - 1].ledCount;
    return first;
}();
}  // namespace detail

// Position of the LED in the order A0..A7, B0..B7, C0..C7, D0..D6, E0..E5 (0..36).
[[nodiscard]] constexpr int ledIndex(Led led) { return detail::kFirstLedIndex[led.group] + led.bit; }

// All 37 LEDs in the order of ledIndex: allLeds()[ledIndex(x)] == x.
[[nodiscard]] const std::array<Led, kLedCount>& allLeds();

// The LED's name: group letter and bit digit, {3, 6} gives "D6".
[[nodiscard]] std::string ledName(Led led);

// Parses an LED name: "E5" gives {4, 5}; "D7", "E6", "a0", "A" or "A10" give nothing.
[[nodiscard]] std::optional<Led> parseLedName(std::string_view name);

}  // namespace blikon
