#pragma once

#include <cstddef>
#include <string_view>

namespace blikon {

// The lines of a code text. A line ends at LF; a CR right before the LF belongs to the
// line end, so "a\r\nb" and "a\nb" both hold the lines "a" and "b", and "a\r\n" holds
// "a" and an empty last line. Offsets are byte offsets into the text.
struct LineSpan {
    std::size_t begin = 0;  // the line's first byte
    std::size_t end = 0;    // behind its last byte, before its CR LF or LF
};

// The start of the line that holds the byte `offset`; the LF that ends a line belongs to
// it, and an offset at the end of the text stands on the last line.
// lineStartAt("ab\r\ncd", 3) == 0 (the LF), lineStartAt("ab\r\ncd", 4) == 4.
[[nodiscard]] std::size_t lineStartAt(std::string_view text, std::size_t offset);

// The line that starts at `begin`: lineFrom("ab\r\ncd", 0) is {0, 2}.
[[nodiscard]] LineSpan lineFrom(std::string_view text, std::size_t begin);

// The start of the line after the one that starts at `begin`, or npos on the last line.
// nextLineStart("ab\r\ncd", 0) == 4, nextLineStart("ab\r\ncd", 4) == npos.
[[nodiscard]] std::size_t nextLineStart(std::string_view text, std::size_t begin);

// The start of the line before the one that starts at `begin`; `begin` must not be 0.
// previousLineStart("ab\r\ncd", 4) == 0.
[[nodiscard]] std::size_t previousLineStart(std::string_view text, std::size_t begin);

// The start of the line with the 0-based index `line`, or npos when the text has fewer
// lines. lineStart("a\nb", 1) == 2, lineStart("a\nb", 2) == npos.
[[nodiscard]] std::size_t lineStart(std::string_view text, std::size_t line);

// The 0-based index of the line that holds the byte `offset`: the LFs before it.
// lineIndexAt("a\r\nb", 3) == 1.
[[nodiscard]] std::size_t lineIndexAt(std::string_view text, std::size_t offset);

// The line end that follows the line ending at `end`: "\r\n", "\n", or empty on the
// last line. lineEndAfter("a\r\nb", 1) == "\r\n".
[[nodiscard]] std::string_view lineEndAfter(std::string_view text, std::size_t end);

// One line read as the assembler reads a statement: an optional label ("Citac:"), the
// mnemonic and its operands up to a comment (";"), without the blanks around them.
// "f1:  Call Citac ; x" gives label "f1", mnemonic "Call", operands "Citac". `valid` is
// false when the line starts with anything else (a digit, a stray character); a line of
// blanks or a comment alone is valid with everything empty. Quotes are not known, so an
// operand "';'" is cut at its semicolon; the lines read here hold none.
struct Statement {
    bool valid = false;
    std::string_view label;
    std::string_view mnemonic;
    std::string_view operands;
};
[[nodiscard]] Statement readStatement(std::string_view line);

// True when the two words are equal in any letter case: sameWord("CALL", "call").
[[nodiscard]] bool sameWord(std::string_view a, std::string_view b);

// True for a space or a tab.
[[nodiscard]] constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The text without the blanks at either end: trimBlanks(" \tmov ") == "mov".
[[nodiscard]] std::string_view trimBlanks(std::string_view text);

// True when the line calls the routine Citac ("call", "lcall" or "acall", any letter
// case, as the assembler's names are), with nothing but blanks and a comment around it:
// "           Call Citac" and "lcall citac ; x" do; "; Call Citac" does not; a labelled
// "f1: Call Citac" does only when labels are allowed.
[[nodiscard]] bool callsCitac(std::string_view line, bool labelAllowed);

// As above for a statement already read, labelled or not.
[[nodiscard]] bool callsCitac(const Statement& statement);

}  // namespace blikon
