#pragma once

#include <QString>

namespace blikon {

class DocumentWindow;
struct BoardSettings;

// The commands of the menu "&Deska" that assemble the code text. Errors of the assembly
// are shown in the window's error list (FChyby).

// "&Přeložit": assembles the code text and says how big the program is and how much the
// chosen chip holds, or that it does not fit; when the assembly has warnings (they stand
// in the error list), the message says so too. An empty program is refused as such.
void assembleCode(DocumentWindow& window);

// "Uložit &HEX...": assembles the code text and, when it has no errors, holds code and fits
// the chip, asks for a name and writes the program as Intel HEX, atomically like the code
// files. The dialog proposes the name of the file in the window title with .hex; a file
// that exists already is replaced only when the user agrees. A file that cannot be
// written is reported like a failed save.
void saveHexFile(DocumentWindow& window);

// "Program má 1 093 bajtů; AT89C2051 pojme 2 048 bajtů." for a program that fits,
// "Program má 2 301 bajtů, AT89C2051 pojme jen 2 048 bajtů." for one that does not.
[[nodiscard]] QString programSizeMessage(qint64 programSize, const BoardSettings& board);

// The code file's name with the extension .hex: "/x/efekt.asm" gives "/x/efekt.hex",
// "/x/efekt" gives "/x/efekt.hex"; a text without a file gives "program.hex".
[[nodiscard]] QString hexFileNameFor(const QString& codeFileName);

}  // namespace blikon
