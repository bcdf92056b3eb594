#pragma once

namespace blikon {

class DocumentWindow;

// The file commands of the main window's menu "&Soubor". Cancelling a dialog ends a
// command without a message and changes nothing. A failure leaves the command as an
// exception, for the menu item's handler that runs it to report as it says.

// "&Otevřít": the open dialog, then the file's text replaces the code text. The current
// file name and the title change only once the file has been read; a file that cannot
// be read is reported like a failed save and changes nothing.
void openCodeFile(DocumentWindow& window);

// "&Uložit": writes the code text and one CR LF to the current file name, asking for a
// name first while the window has not been saved; then the title names the file.
void saveCodeFile(DocumentWindow& window);

// "Uložit j&ako...": always asks for a name, then writes; the saved flag and the title
// stay as they were.
void saveCodeFileAs(DocumentWindow& window);

}  // namespace blikon
