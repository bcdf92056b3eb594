#include "programcommands.h"

#include "fanimace.h"
#include "fabout.h"
#include "fblikon.h"
#include "fhelp.h"
#include "filecommands.h"
#include "handlerguard.h"
#include "printing.h"
#include "weblink.h"

#include <QPointer>

namespace blikon {

void installProgramCommands()
{
    FBlikon::Commands commands;
    commands.newWindow = [](FBlikon& window) {
        HandlerGuard::run(&window, "mnuNovy_Click", OnFailure::Silent, [] { (new FBlikon)->show(); });
    };
    commands.open = openCodeFile;
    commands.save = saveCodeFile;
    commands.saveAs = saveCodeFileAs;
    commands.print = printCodeText;
    commands.animation = [](FBlikon& window) {
        HandlerGuard::run(&window, "mnuAnimace_Click", OnFailure::Silent, [&window] {
            // The animation plays the first main window; once that is closed, the one that asked.
            FBlikon* first = FBlikon::first();
            QPointer<FAnimace> animation = new FAnimace(first ? *first : window, &window);
            animation->exec();
            delete animation;  // unless it went with its parent while it was open
        });
    };
    commands.help = [](FBlikon& window) {
        HandlerGuard::run(&window, "mnuHelp2_Click", OnFailure::Silent, [&window] { FHelp(&window).exec(); });
    };
    commands.about = [](FBlikon& window) {
        HandlerGuard::run(&window, "mnuAbout_Click", OnFailure::ShowError, [&window] { FAbout(&window).exec(); });
    };
    commands.web = [](FBlikon& window) {
        HandlerGuard::run(&window, "mnuWeb_Click", OnFailure::Silent, [] { openHomePage(); });
    };
    FBlikon::setCommands(std::move(commands));
}

}  // namespace blikon
