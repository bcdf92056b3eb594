#pragma once

// The code pages' own tables as an encoder: what the tests put in for the system's
// conversion that code files are saved with, and compare the system's with.

#include "codepage.h"
#include "utf8.h"

#include <optional>
#include <string>
#include <string_view>

namespace blikon::testing {

// Well-formed UTF-8 to bytes in the code page, or nullopt when a character has no byte.
// Example: encodeWithTable(CodePage::Windows1250, "č") == "\xE8"; "∑" gives nullopt.
inline std::optional<std::string> encodeWithTable(CodePage page, std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (const std::optional<char32_t> c = nextCodePoint(utf8, pos)) {
        const std::optional<unsigned char> byte = encodeChar(page, *c);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

}  // namespace blikon::testing
