#pragma once

#include <string>
#include <string_view>

namespace blikon {

// True when the bytes are a rich-text file: they start with "{\rtf".
[[nodiscard]] bool isRtf(std::string_view bytes);

// What was wrong with a rich text that was read anyway.
enum class RtfFault {
    None,
    Unterminated,   // the input ended inside a group
    TooDeep,        // groups nested deeper than the reader follows; their text is left out
    StrayBrace,     // a "}" with no group open
};

struct RtfText {
    std::string text;  // UTF-8, CR LF line ends
    RtfFault fault = RtfFault::None;
};

// The plain text of a rich-text file, as a rich-text box shows it: \par and \line (and
// \sect, \page, \row) end lines with CR LF, \tab and \cell give a tab, \'hh is a byte in
// the code page of the font or of \ansicpg (1250 or 1252), \uN is a Unicode character
// followed by \ucN fallback characters that are skipped, \binN data is stepped over, and
// destinations that hold no text (\*, font and colour tables, style sheet, info,
// pictures, objects, headers, footers and the like) are left out. Text after the group
// that the file starts with is ignored.
//
// The reader works in one pass without recursion, and nothing it keeps grows with a
// number read from the input: malformed input yields the text read up to the fault.
// Example: "{\rtf1\ansi\ansicpg1250 mov R2,#0FEh\par \'e8\u345?}" gives
// "mov R2,#0FEh\r\nčř".
[[nodiscard]] RtfText readRtf(std::string_view rtf);

}  // namespace blikon
