#include "codemenu.h"

#include "codeeditor.h"
#include "fblikon.h"
#include "templates.h"

#include <QKeySequence>
#include <QMenu>

namespace blikon {

CodeMenu::CodeMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuKod", QStringLiteral("&Kód"))
{
    // These two run the buttons' handlers, which report their own failures.
    addItem(menu(), "mnuCallculate", QStringLiteral("P&očítat"), {}, OnFailure::ShowError,
            [&window] { window.compute(); });
    addSeparator(menu(), "mnuMezera");
    addItem(menu(), "mnuAdd", QStringLiteral("&Přidat"), QKeySequence(Qt::SHIFT | Qt::Key_Insert),
            OnFailure::ShowError, [&window] { window.add(); });
    addItem(menu(), "mnuAddStart", QStringLiteral("Přidat &začátek"), QKeySequence(Qt::CTRL | Qt::Key_B),
            OnFailure::Silent, [this] { addStartTemplate(); });
    addItem(menu(), "mnuAddEnd", QStringLiteral("Přidat ko&nec"), QKeySequence(Qt::CTRL | Qt::Key_E),
            OnFailure::Silent, [this] { addEndTemplate(); });
    addSeparator(menu(), "mnuMezera12");
    addItem(menu(), "mnuZpet", QStringLiteral("Kód &Zpět"), QKeySequence(Qt::CTRL | Qt::Key_Z), OnFailure::Silent,
            [this] { undo(); });
    addItem(menu(), "mnuSellAll", QStringLiteral("Vybrat vše"), QKeySequence(Qt::CTRL | Qt::Key_A), OnFailure::Silent,
            [this] { selectWholeCode(); });
}

void CodeMenu::addStartTemplate()
{
    window().editAfterSaving([this] { window().editor()->prependCodeText(QString::fromUtf8(startTemplate())); });
}

void CodeMenu::addEndTemplate()
{
    window().editAfterSaving([this] { window().editor()->appendCodeText(QString::fromUtf8(endTemplate())); });
}

void CodeMenu::undo() { window().setCodeText(window().savedText()); }

void CodeMenu::selectWholeCode()
{
    CodeEditor& editor = *window().editor();
    editor.setFocus(Qt::ShortcutFocusReason);
    editor.selectWholeText();
}

}  // namespace blikon
