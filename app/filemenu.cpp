#include "filemenu.h"

#include "fanimace.h"
#include "fblikon.h"
#include "filecommands.h"
#include "printing.h"
#include "windowplacement.h"

#include <QKeySequence>
#include <QMenu>
#include <QPointer>

namespace blikon {

FileMenu::FileMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuFce", QStringLiteral("&Soubor"))
{
    addItem(menu(), "mnuNovy", QStringLiteral("&Nový"), QKeySequence(Qt::CTRL | Qt::Key_N), OnFailure::Silent,
            [this] { openNewWindow(); });
    addSeparator(menu(), "mnuMezera16");
    addItem(menu(), "mnuOpen", QStringLiteral("&Otevřít"), QKeySequence(Qt::CTRL | Qt::Key_O), OnFailure::Silent,
            [&window] { openCodeFile(window); });
    addSeparator(menu(), "mnuMezera14");
    addItem(menu(), "mnuSave", QStringLiteral("&Uložit"), QKeySequence(Qt::CTRL | Qt::Key_S), OnFailure::ShowFileError,
            [&window] { saveCodeFile(window); });
    addItem(menu(), "mnuSaveAs", QStringLiteral("Uložit j&ako..."), QKeySequence(Qt::Key_F12),
            OnFailure::ShowFileError, [&window] { saveCodeFileAs(window); });
    addSeparator(menu(), "mnuMezera13");
    addItem(menu(), "mnuAnimace", QStringLiteral("Ani&mace"), QKeySequence(Qt::Key_F5), OnFailure::Silent,
            [this] { playAnimation(); });
    addSeparator(menu(), "mnuMezera2");
    addItem(menu(), "mnuTisk", QStringLiteral("&Tisk"), QKeySequence(Qt::CTRL | Qt::Key_P), OnFailure::Silent,
            [&window] { printCodeText(window); });
    addSeparator(menu(), "mnuMezera3");
    addItem(menu(), "mnuEnd", QStringLiteral("&Konec"), {}, OnFailure::ShowError, [&window] { window.close(); });
}

void FileMenu::openNewWindow()
{
    auto* opened = new FBlikon;
    moveCascaded(*opened, window());
    opened->show();
}

void FileMenu::playAnimation()
{
    // The animation plays the first main window; once that is closed, the one that asked.
    FBlikon* first = FBlikon::first();
    QPointer<FAnimace> animation = new FAnimace(first ? *first : window(), &window());
    animation->exec();
    delete animation;  // unless it went with its parent while it was open
}

}  // namespace blikon
