#include "selectmenu.h"

#include "fblikon.h"

#include <QKeySequence>
#include <QMenu>

namespace blikon {

SelectMenu::SelectMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuSell", QStringLiteral("&Vybrat"))
{
    addItem(menu(), "mnuAll", QStringLiteral("&Všechny diody"), QKeySequence(Qt::CTRL | Qt::Key_D), OnFailure::Silent,
            [this] { tickAll(true); });
    addItem(menu(), "mnuNic", QStringLiteral("&Žádnou diodu"), QKeySequence(Qt::CTRL | Qt::Key_Y), OnFailure::Silent,
            [this] { tickAll(false); });
    addSeparator(menu(), "mnuMezera4");
    for (int group = 0; group < kGroupCount; ++group)
        addGroupMenu(group);
}

// "&A0 - A7" with the items "A&0" to "A&7", the separator "mnuMezera5" and "Všechny &A";
// the separators of the groups B to E count on from 6.
void SelectMenu::addGroupMenu(int group)
{
    const QString letter(QLatin1Char(kGroups[group].letter));
    const int last = kGroups[group].ledCount - 1;
    const QByteArray name = "mnu" + letter.toLatin1();
    QMenu* groupMenu = addSubmenu(menu(), name.constData(), QStringLiteral("&%1%2 - %1%3").arg(letter).arg(0).arg(last));
    for (int bit = 0; bit <= last; ++bit) {
        const Led led{group, bit};
        addItem(groupMenu, (name + QByteArray::number(bit)).constData(), QStringLiteral("%1&%2").arg(letter).arg(bit),
                {}, OnFailure::ShowError, [this, led] { tickLed(led); });
    }
    addSeparator(groupMenu, ("mnuMezera" + QByteArray::number(5 + group)).constData());
    addItem(groupMenu, ("mnuAll" + letter.toLatin1()).constData(), QStringLiteral("Všechny &%1").arg(letter), {},
            OnFailure::ShowError, [this, group] { tickGroup(group); });
}

void SelectMenu::tickAll(bool ticked)
{
    BoardState board;
    for (const Led led : allLeds())
        board.set(led, ticked);
    window().setBoard(board);
}

void SelectMenu::tickGroup(int group)
{
    BoardState board = window().board();
    for (int bit = 0; bit < kGroups[group].ledCount; ++bit)
        board.set(Led{group, bit}, true);
    window().setBoard(board);
}

void SelectMenu::tickLed(Led led)
{
    BoardState board = window().board();
    board.set(led, true);
    window().setBoard(board);
}

}  // namespace blikon
