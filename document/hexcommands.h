#pragma once

#include "boardprogram.h"
#include "dialogs.h"

#include <QString>

#include <optional>

class QWidget;

namespace blikon {

class DocumentWindow;
struct BoardSettings;

// The commands of the menu "&Deska" that assemble the code text. Errors of the assembly
// are shown in the window's error list (FChyby); a failure leaves the command as an
// exception, for the menu item's handler to report.

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

// The window's code text built for the chip chosen in the board settings, for the
// commands that put the program on the chip: as buildWindowProgram (errors in the error
// list, "Program je prázdný."), and a program larger than the chip is refused with the
// size message of "&Přeložit".
[[nodiscard]] std::optional<ProgramBuild> buildProgramForChip(DocumentWindow& window);

// The size message of "&Přeložit" over `parent`: programSizeMessage, with a word on the
// warnings when the assembly has any, in an information box when the program fits the
// chip and a stop box when it does not.
void showProgramSize(QWidget* parent, const ProgramBuild& build);

// The save dialog's choice for a file the program writes (Intel HEX, a picture), once
// the user has agreed to replace a file of that name; "Ne" goes back to the dialog,
// which then proposes that name. nullopt when cancelled.
[[nodiscard]] std::optional<QString> chooseFileToSave(QWidget* parent, FileDialogRequest::Content content,
                                                      const QString& proposedName);

// "Program má 1 093 bajtů; AT89C2051 pojme 2 048 bajtů." for a program that fits,
// "Program má 2 301 bajtů, AT89C2051 pojme jen 2 048 bajtů." for one that does not.
[[nodiscard]] QString programSizeMessage(qint64 programSize, const BoardSettings& board);

// The name proposed for a file made of the code: the code file's name with `extension`
// in place of its own, or `untitledName` for a text without a file.
// madeFileNameFor("/x/efekt.asm", ".gif", "animace.gif") gives "/x/efekt.gif",
// "/x/efekt" gives "/x/efekt.gif", and "" gives "animace.gif".
[[nodiscard]] QString madeFileNameFor(const QString& codeFileName, const QString& extension,
                                      const QString& untitledName);

// The code file's name with the extension .hex: "/x/efekt.asm" gives "/x/efekt.hex",
// "/x/efekt" gives "/x/efekt.hex"; a text without a file gives "program.hex".
[[nodiscard]] QString hexFileNameFor(const QString& codeFileName);

}  // namespace blikon
