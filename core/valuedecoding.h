#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace blikon {

// The value in a value window, or none. Exactly the canonical texts decode: "0", one
// upper-case hex digit and "h" (0Ah is 10), or "0" and two upper-case hex digits with no
// leading zero (0FF is 255). "0ffh", "05H", "005h", "FFh" and "0F" give none. The range
// of the register applies: decodeValue(5, "07Fh") is none, decodeValue(5, "0BFh") is 191.
[[nodiscard]] std::optional<std::uint8_t> decodeValue(int reg, std::string_view window);

}  // namespace blikon
