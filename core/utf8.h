#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// The longest UTF-8 form of a code point.
inline constexpr std::size_t kMaxUtf8Bytes = 4;

// Writes the UTF-8 form of a code point from `out` on (at most kMaxUtf8Bytes) and
// returns the end of what it wrote. Surrogates and values above U+10FFFF become U+FFFD.
char* writeUtf8(char* out, char32_t codePoint);

// Appends the UTF-8 form of a code point. Surrogates and values above U+10FFFF are not
// characters and become U+FFFD. Example: appendUtf8(s, 0x10D) appends "č" (C4 8D).
void appendUtf8(std::string& out, char32_t codePoint);

// Length of the well-formed UTF-8 sequence that starts at bytes[pos], or 0 where none
// starts there (a stray continuation byte, an overlong form, a surrogate, a cut-off end).
// Example: 2 for "\xC4\x8D" ("č"), 1 for "a", 0 for "\xE8".
[[nodiscard]] std::size_t utf8SequenceLength(std::string_view bytes, std::size_t pos);

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing
// above U+10FFFF, no sequence cut off at the end. An empty text is valid.
// Example: "\xC4\x8D" is valid, "\xE8" (a lone Windows-1250 "č") is not.
[[nodiscard]] bool isValidUtf8(std::string_view bytes);

// Reads the code point starting at `pos` of a well-formed UTF-8 text and moves `pos`
// behind it; nullopt at the end of the text.
[[nodiscard]] std::optional<char32_t> nextCodePoint(std::string_view utf8, std::size_t& pos);

}  // namespace blikon
