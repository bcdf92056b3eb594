#pragma once

#include <string>
#include <string_view>

namespace blikon {

// The program start: ten lines up to "fce1a:  mov R1,#50", no line end after it.
[[nodiscard]] std::string_view startTemplate();

// The program end: 42 lines, beginning with the CR LF that ends the code text's last
// line and closing with "           End", no line end after it.
[[nodiscard]] std::string_view endTemplate();

// The start template directly followed by the code text. addStart("") is the start
// template alone; a text not starting with a line break joins its "mov R1,#50" line.
[[nodiscard]] std::string addStart(std::string_view codeText);

// The code text directly followed by the end template.
[[nodiscard]] std::string addEnd(std::string_view codeText);

}  // namespace blikon
