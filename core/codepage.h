#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// The single-byte Windows code pages the program reads: Windows-1250 (Central European,
// the code page of older code files) and Windows-1252 (Western, RTF's default). Bytes
// below 0x80 are ASCII in both. The few bytes a code page leaves undefined stand for
// the C1 control of the same number, as Windows itself reads them, so no byte is lost.
enum class CodePage { Windows1250, Windows1252 };

// Example: decodeByte(CodePage::Windows1250, 0xE8) == U'č'.
[[nodiscard]] char32_t decodeByte(CodePage page, unsigned char byte);

// The byte that stands for the character, or nullopt when the code page has none.
// Example: encodeChar(CodePage::Windows1250, U'ř') == 0xF8; U'€' gives 0x80; U'ł' in
// Windows-1252 gives nullopt.
[[nodiscard]] std::optional<unsigned char> encodeChar(CodePage page, char32_t c);

// Bytes in the code page to UTF-8. Example: "\xE8" in Windows-1250 gives "č".
[[nodiscard]] std::string decodeToUtf8(CodePage page, std::string_view bytes);

}  // namespace blikon
