#include "editmenu.h"

#include "codedocument.h"
#include "codeeditor.h"
#include "fblikon.h"
#include "fobnovit.h"
#include "recoverykeeper.h"
#include "recoverystore.h"

#include <QAction>
#include <QKeySequence>
#include <QTextDocument>

namespace blikon {

EditMenu::EditMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuUpravy", QStringLiteral("Ú&pravy"))
{
    // The two captions keep their given access key Z: Alt+Z goes from one to the other.
    CodeEditor* editor = window.editor();
    QAction* back = addItem(menu(), "mnuKrokZpet", QStringLiteral("&Zpět o krok"),
                            QKeySequence(Qt::ALT | Qt::Key_Backspace), OnFailure::Silent, [editor] { editor->undo(); });
    QAction* forward = addItem(menu(), "mnuZnovu", QStringLiteral("&Znovu"),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), OnFailure::Silent,
                               [editor] { editor->redo(); });
    back->setEnabled(editor->document()->isUndoAvailable());
    forward->setEnabled(editor->document()->isRedoAvailable());
    connect(editor, &QPlainTextEdit::undoAvailable, back, &QAction::setEnabled);
    connect(editor, &QPlainTextEdit::redoAvailable, forward, &QAction::setEnabled);
    addSeparator(menu(), "mnuMezera24");
    addItem(menu(), "mnuObnovit", QStringLiteral("&Obnovit zavřený kód…"), {}, OnFailure::Silent,
            [this] { restoreClosedCode(); });
}

void EditMenu::restoreClosedCode()
{
    RecoveryStore& store = RecoveryStore::shared();
    std::vector<KeptText> texts = store.list();
    // Only the texts of windows that are gone: the open ones still show theirs.
    std::erase_if(texts, [](const KeptText& kept) { return RecoveryKeeper::isOpen(kept.key); });
    FObnovit dialog(std::move(texts), &window());
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen())
        return;
    const KeptText& chosen = *dialog.chosen();
    FBlikon* target = &window();
    if (!window().editor()->document()->isEmpty()) {
        target = new FBlikon;
        target->show();
    }
    target->setCodeText(chosen.text);
    target->document()->showRecovered(chosen.fileName);
    store.drop(chosen.key);
}

}  // namespace blikon
