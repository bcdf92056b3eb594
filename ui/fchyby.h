#pragma once

#include "assembler.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace blikon {

class CodeEditor;

// The errors of the last assembly of a main window's code text, in a small window of its
// own beside the main window, so that the user can mend the code while it is open.
// Choosing an error (a click, a double click or Enter) puts the editor's cursor on the
// error's line; a double click or Enter also brings the editor to the front.
class FChyby : public QDialog {
    Q_OBJECT
public:
    FChyby(QWidget* owner, CodeEditor* editor);

    // Shows these errors; an earlier list is replaced.
    void showErrors(const mcs51::Assembly& assembly);

    // The window of this owner, made on first use.
    [[nodiscard]] static FChyby* of(QWidget* owner, CodeEditor* editor);
    // Closes the owner's window, if it has one.
    static void closeFor(QWidget* owner);

private:
    void goToError(QListWidgetItem* item, bool focusEditor);

    CodeEditor* editor_;
    QLabel* summaryLabel_;
    QListWidget* errorList_;
};

// "1 chyba", "3 chyby", "7 chyb".
[[nodiscard]] QString errorCount(qint64 count);

}  // namespace blikon
