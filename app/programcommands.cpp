#include "programcommands.h"

#include "fblikon.h"
#include "handlerguard.h"

namespace blikon {

void installProgramCommands()
{
    FBlikon::Commands commands;
    commands.newWindow = [](FBlikon& window) {
        HandlerGuard::run(&window, "mnuNovy_Click", OnFailure::Silent, [] { (new FBlikon)->show(); });
    };
    FBlikon::setCommands(std::move(commands));
}

}  // namespace blikon
