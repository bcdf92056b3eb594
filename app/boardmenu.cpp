#include "boardmenu.h"

#include "fblikon.h"
#include "fdeska.h"
#include "fmikro.h"
#include "fprogramator.h"
#include "hexcommands.h"

#include <QKeySequence>

namespace blikon {

BoardMenu::BoardMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuDeska", QStringLiteral("&Deska"))
{
    addItem(menu(), "mnuPrelozit", QStringLiteral("&Přeložit"), QKeySequence(Qt::Key_F9),
            [&window] { assembleCode(window); });
    addItem(menu(), "mnuUlozitHex", QStringLiteral("Uložit &HEX..."), QKeySequence(Qt::CTRL | Qt::Key_H),
            [&window] { saveHexFile(window); });
    addItem(menu(), "mnuProgramovat", QStringLiteral("&Naprogramovat čip…"), QKeySequence(Qt::CTRL | Qt::Key_U),
            OnFailure::ShowError, [&window] { programChip(window); });
    addItem(menu(), "mnuSimulace", QStringLiteral("&Simulace"), QKeySequence(Qt::Key_F6),
            [&window] { simulateBoard(window); });
    addItem(menu(), "mnuSpustitHex", QStringLiteral("Spus&tit HEX…"), {}, [&window] { runHexFile(window); });
    addSeparator(menu(), "mnuMezera31");
    // An open board window takes the new chip and crystal at once.
    addItem(menu(), "mnuMikro", QStringLiteral("&Mikrokontrolér..."), {}, OnFailure::ShowError, [&window] {
        if (chooseBoard(&window))
            rerunBoard(window);
    });
}

}  // namespace blikon
