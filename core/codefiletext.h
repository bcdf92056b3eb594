#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace blikon {

// How the bytes of a code file were read.
enum class FileEncoding { Utf8, Utf8WithBom, Windows1250 };

struct DecodedFile {
    std::string text;  // UTF-8
    FileEncoding encoding = FileEncoding::Utf8;
};

// The bytes of a plain-text code file as text: UTF-8 when they are well-formed UTF-8 (a
// leading byte-order mark is dropped), otherwise Windows-1250. Line ends are kept.
// Example: "\xEF\xBB\xBFa\xC4\x8D" gives "ač" (Utf8WithBom); "a\xE8" gives "ač" too
// (Windows1250).
[[nodiscard]] DecodedFile decodeFileBytes(std::string_view bytes);

// Every line end becomes CR LF: CR LF stays, a lone LF or a lone CR becomes CR LF.
// Example: "a\nb\rc\r\nd" gives "a\r\nb\r\nc\r\nd".
[[nodiscard]] std::string toCrLfLineEnds(std::string_view text);

// The code text of an opened plain-text file: decodeFileBytes, then CR LF line ends.
[[nodiscard]] DecodedFile decodeCodeFile(std::string_view bytes);

// The system's ANSI code page as a converter from UTF-8: its bytes, or nullopt when the
// text holds a character the code page cannot represent.
using AnsiEncoder = std::function<std::optional<std::string>(std::string_view utf8)>;

// The bytes to write for a code text (UTF-8). Without an ANSI code page (Linux, macOS:
// their system code page is UTF-8) the text is written as UTF-8. With one (Windows) it
// is written in that code page, unless a character cannot be represented there or the
// bytes would read back as another text (decodeFileBytes takes well-formed UTF-8 as
// UTF-8, and other bytes as Windows-1250): then it is written as UTF-8, so no character
// is ever lost; UTF-8 that starts with U+FEFF gets a byte-order mark in front, which
// opening drops again. Example: with Windows-1250 as the code page, "č" is written as
// "\xE8" and "€ ∑" as UTF-8.
[[nodiscard]] std::string encodeCodeFile(std::string_view utf8Text, const AnsiEncoder& ansi);

// The ANSI code page of this system: empty on Linux and macOS, the Windows ANSI code
// page on Windows.
[[nodiscard]] AnsiEncoder systemAnsiEncoder();

}  // namespace blikon
