#pragma once

#include "assembler.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace blikon {

class CodeEditor;

// The errors and warnings of the last assembly of a main window's code text, in a small
// window of its own beside the main window, so that the user can mend the code while it
// is open. They stand in the order of their lines, a warning marked as such ("Řádek 58
// (upozornění): …", with a warning icon) so that it is not taken for an error. Choosing
// one (a click, a double click or Enter) puts the editor's cursor on its line; a double
// click or Enter also brings the editor to the front.
class FChyby : public QDialog {
    Q_OBJECT
public:
    FChyby(QWidget* owner, CodeEditor* editor);

    // Shows the assembly's errors and warnings; an earlier list is replaced.
    void showProblems(const mcs51::Assembly& assembly);

    // The window of this owner, made on first use.
    [[nodiscard]] static FChyby* of(QWidget* owner, CodeEditor* editor);
    // Closes the owner's window, if it has one.
    static void closeFor(QWidget* owner);

protected:
    bool event(QEvent* event) override;

private:
    void goToError(QListWidgetItem* item, bool focusEditor);

    CodeEditor* editor_;
    QLabel* summaryLabel_;
    QListWidget* errorList_;
};

// The count as the summary says what was found: "1 chybu", "3 chyby", "7 chyb".
[[nodiscard]] QString errorCount(qint64 count);

// "1 upozornění", "3 upozornění": the word stays the same.
[[nodiscard]] QString warningCount(qint64 count);

}  // namespace blikon
