#pragma once

namespace blikon {

// Connects the main window's menu commands to the windows and documents they open:
// new window, files, printing, animation, help, About and the home page.
void installProgramCommands();

}  // namespace blikon
