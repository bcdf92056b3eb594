#pragma once

// Splits one source line into tokens: names, numbers, strings and punctuation, up to a
// `;` comment.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace blikon::mcs51 {

enum class TokenKind : std::uint8_t {
    Name,    // a letter, `_` or `?`, then letters, digits, `_`, `?`
    Number,  // value in Token::number
    String,  // in '…' or "…", quotes included; a doubled quote stands for one
    Comma, Hash, At, Slash, Plus, Minus, Star, LeftParen, RightParen, Dot, Colon, Dollar,
};

struct Token {
    TokenKind kind = TokenKind::Name;
    std::uint32_t begin = 0;  // offsets into the line
    std::uint32_t end = 0;
    std::int64_t number = 0;
};

// The longest line the assembler reads.
inline constexpr int kMaxLineLength = 4096;

// The tokens of `line` into `tokens` (cleared first). Returns an empty string, or the
// error message when the line cannot be split: a bad number or character, an open string.
// Numbers: decimal, 0FFh, 1010b, 17o or 17q, 12d; up to 32 bits.
// tokenize("lab: mov A,#0FFh ; x", t) gives Name Colon Name Name Comma Hash Number.
[[nodiscard]] std::string tokenize(std::string_view line, std::vector<Token>& tokens);

// The characters of a String token without its quotes, doubled quotes made single:
// stringContent("'it''s'") == "it's".
[[nodiscard]] std::string stringContent(std::string_view quoted);

}  // namespace blikon::mcs51
