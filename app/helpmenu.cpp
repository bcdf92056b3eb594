#include "helpmenu.h"

#include "core/buildinfo.h"
#include "fabout.h"
#include "fblikon.h"
#include "fhelp.h"
#include "platform/weblink.h"

#include <QKeySequence>

namespace blikon {

HelpMenu::HelpMenu(FBlikon& window)
    : MainWindowMenu(window, "mnuHelp", QStringLiteral("&Nápověda"))
{
    addItem(menu(), "mnuHelp2", QStringLiteral("&Nápověda"), QKeySequence(Qt::Key_F1), OnFailure::Silent,
            [&window] { FHelp(&window).exec(); });
    addSeparator(menu(), "mnuMezera15");
    addItem(menu(), "mnuAbout", QStringLiteral("O &Aplikaci"), {}, OnFailure::ShowError,
            [&window] { FAbout(&window).exec(); });
    addSeparator(menu(), "mnuMezera11");
    addItem(menu(), "mnuWeb", QLatin1Char('&') + QString::fromUtf8(buildinfo::kHomePage), {}, OnFailure::Silent,
            &openHomePage);
}

}  // namespace blikon
