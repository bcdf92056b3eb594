#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// The buffer a registry value is read into, in bytes (characters of the ANSI code
// page). A value that does not fit, terminating NUL included, is not read at all.
inline constexpr std::size_t kRegistryBufferSize = 1024;

// Registry value types, with the platform's numbers.
inline constexpr std::uint32_t kRegString = 1;  // REG_SZ
inline constexpr std::uint32_t kRegNumber = 4;  // REG_DWORD, four bytes, lowest first

// The text that a registry value read into the buffer gives, or nullopt for a type
// that gives none (the caller keeps what it had). A NUL as the last byte is dropped
// first, whatever the type. A string is taken unchanged. A 32-bit number gives "&h"
// and the hexadecimal digits of its bytes from the last to the first, each byte
// without leading zero.
// Examples: (kRegString, "C:\\x.exe\0") gives "C:\\x.exe"; (kRegNumber, 78 56 34 12)
// gives "&h12345678"; (kRegNumber, 0D 0C 0B 0A) gives "&hABCD"; (kRegNumber,
// 05 00 00 00) gives "&h005", its last NUL dropped; (3, "ab") gives nullopt.
[[nodiscard]] std::optional<std::string> registryValueText(std::uint32_t type, std::string_view data);

}  // namespace blikon
