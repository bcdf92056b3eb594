#pragma once

#include "mainwindowmenu.h"

namespace blikon {

// The main window's menu "&Nápověda": the help window, the About window and the
// program's home page.
class HelpMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit HelpMenu(FBlikon& window);
};

}  // namespace blikon
