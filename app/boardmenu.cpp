#include "boardmenu.h"

#include "fblikon.h"
#include "fdeska.h"
#include "fmikro.h"
#include "handlerguard.h"
#include "hexcommands.h"

#include <QMenu>

namespace blikon {

BoardMenu::BoardMenu(FBlikon& window)
    : QObject(&window)
{
    QMenu* menu = window.addMenu(nullptr, "mnuDeska", QStringLiteral("&Deska"));
    window.addItem(menu, "mnuPrelozit", QStringLiteral("&Přeložit"), QKeySequence(Qt::Key_F9),
                   [&window] { assembleCode(window); });
    window.addItem(menu, "mnuUlozitHex", QStringLiteral("Uložit &HEX..."), QKeySequence(Qt::CTRL | Qt::Key_H),
                   [&window] { saveHexFile(window); });
    window.addItem(menu, "mnuSimulace", QStringLiteral("&Simulace"), QKeySequence(Qt::Key_F6),
                   [&window] { simulateBoard(window); });
    window.addSeparator(menu, "mnuMezera31");
    window.addItem(menu, "mnuMikro", QStringLiteral("&Mikrokontrolér..."), {}, [&window] {
        HandlerGuard::run(&window, "mnuMikro_Click", OnFailure::ShowError, [&window] { chooseBoard(&window); });
    });
}

}  // namespace blikon
