#pragma once

#include "assembler.h"

#include <optional>

class QWidget;

namespace blikon {

class CodeWindow;

// Assembles the window's code text, with generic jumps as the board settings choose. With
// errors it shows them, and any warnings, in the window's error list (FChyby) and returns
// nothing. Without errors it returns the assembly; the list then shows its warnings, or
// closes when there are none.
[[nodiscard]] std::optional<mcs51::Assembly> assembleWindowText(CodeWindow& window);

// As assembleWindowText, for the commands that need a program to save or to run: an
// assembly without a single byte of code (an empty text, or only comments and blank
// lines) is refused with the warning "Program je prázdný." and gives nothing.
[[nodiscard]] std::optional<mcs51::Assembly> assembleNonEmptyProgram(CodeWindow& window);

// True when the assembly puts no byte into code memory: "org 100h" alone is empty too.
[[nodiscard]] bool hasNoCode(const mcs51::Assembly& assembly);

// The message box "Program je prázdný." with a warning icon, over `parent`.
void tellProgramIsEmpty(QWidget* parent);

}  // namespace blikon
