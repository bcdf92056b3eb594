#pragma once

#include "boardprogram.h"

#include <optional>

class QWidget;

namespace blikon {

class CodeWindow;

// The window's code text built for `board` (buildProgram), with the window's error list
// following it: the list opens with the errors and any warnings, and closes when there
// are none. A text without a byte of code is refused with the warning "Program je
// prázdný.". Gives the build only when it holds a program to save, run or burn.
[[nodiscard]] std::optional<ProgramBuild> buildWindowProgram(CodeWindow& window, const BoardSettings& board);

// The message box "Program je prázdný." with a warning icon, over `parent`.
void tellProgramIsEmpty(QWidget* parent);

}  // namespace blikon
