#include "boardmenu.h"

#include "fblikon.h"
#include "animation/fdeska.h"
#include "ui/fmikro.h"
#include "fprogramator.h"
#include "gifcommand.h"
#include "document/hexcommands.h"

#include <QKeySequence>

namespace blikon {

BoardMenu::BoardMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuDeska", QStringLiteral("&Deska"))
{
    addItem(menu(), "mnuPrelozit", QStringLiteral("&Přeložit"), QKeySequence(Qt::Key_F9), OnFailure::ShowError,
            [&window] { assembleCode(window); });
    addItem(menu(), "mnuUlozitHex", QStringLiteral("Uložit &HEX..."), QKeySequence(Qt::CTRL | Qt::Key_H),
            OnFailure::ShowError, [&window] { saveHexFile(window); });
    addItem(menu(), "mnuProgramovat", QStringLiteral("&Naprogramovat čip…"), QKeySequence(Qt::CTRL | Qt::Key_U),
            OnFailure::ShowError, [&window] { programChip(window); });
    addItem(menu(), "mnuUlozitGif", QStringLiteral("Uložit animaci &GIF…"), QKeySequence(Qt::CTRL | Qt::Key_G),
            OnFailure::ShowError, [&window] { saveGifAnimation(window); });
    addItem(menu(), "mnuSimulace", QStringLiteral("&Simulace"), QKeySequence(Qt::Key_F6), OnFailure::ShowError,
            [&window] { simulateBoard(window); });
    addItem(menu(), "mnuSpustitHex", QStringLiteral("Spus&tit HEX…"), {}, OnFailure::ShowError,
            [&window] { runHexFile(window); });
    addSeparator(menu(), "mnuMezera31");
    // An open board window takes the new chip and crystal at once.
    addItem(menu(), "mnuMikro", QStringLiteral("&Mikrokontrolér..."), {}, OnFailure::ShowError, [&window] {
        if (chooseBoard(&window))
            rerunBoard(window);
    });
}

}  // namespace blikon
