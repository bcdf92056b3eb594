#pragma once

// Intel HEX, the file format of chip programmers.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace blikon::mcs51 {

// Bytes that stand one after another in code memory from `address` on.
struct Segment {
    std::uint32_t address = 0;
    std::vector<std::uint8_t> bytes;

    bool operator==(const Segment&) const = default;
};

// The segments as data records of at most 16 bytes, each segment's records starting at
// its own address, in the order given, then the end record; upper-case digits, one
// record a line, each line ended by LF. Addresses must stay below 64 KB.
// Example: one segment {0x0000, {0x74, 0x01}} gives ":020000007401" "89\n:00000001FF\n".
[[nodiscard]] std::string formatIntelHex(std::span<const Segment> segments);

// The data records of an Intel HEX text as segments, one a record, in file order; nothing
// when a line is not a record, a checksum is wrong or the end record is missing. Blank
// lines and CR before LF are allowed.
[[nodiscard]] std::optional<std::vector<Segment>> parseIntelHex(std::string_view text);

}  // namespace blikon::mcs51
