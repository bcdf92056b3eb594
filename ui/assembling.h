#pragma once

#include "assembler.h"

#include <optional>

namespace blikon {

class CodeWindow;

// Assembles the window's code text, with generic jumps as the board settings choose. With
// errors it shows them in the window's error list (FChyby) and returns nothing; without,
// it closes that list and returns the assembly.
[[nodiscard]] std::optional<mcs51::Assembly> assembleWindowText(CodeWindow& window);

}  // namespace blikon
