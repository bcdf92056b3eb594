#pragma once

// Intel HEX, the file format of chip programmers.

#include "core/expected.h"

#include <cstdint>
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

// The data records of an Intel HEX text as segments, one a non-empty data record, in
// file order, at their full addresses: a record's 16-bit address plus the base of the
// last extended segment (type 02, base = value * 16) or extended linear (type 04, base =
// value * 65536) address record. Start address records (03, 05) are checked and
// skipped. Lines end in LF, CR LF or CR; blank lines and blanks at a line's end are
// allowed, nothing else but records, and nothing after the end record.
// A file that the 8051 cannot take is refused with the 1-based line at fault and a
// Czech reason for a message box: a line that is no record, a character that is not a
// hexadecimal digit, a length that does not match the record, a wrong checksum, an
// unknown record type, data in the end record, a missing end record, an empty file, and
// data at 64 KB and above, where the 8051's code memory has ended. Examples:
//   ":02000000740100\n:00000001FF\n" gives {1, "kontrolní součet je 00, má být 89."};
//   ":020000040001F9\n:0100000055AA\n:00000001FF" gives
//   {2, "data na adrese 10000h leží za koncem kódové paměti 8051 (0FFFFh)."}.
[[nodiscard]] Expected<std::vector<Segment>> parseIntelHex(std::string_view text);

}  // namespace blikon::mcs51
