#pragma once

#include "mainwindowmenu.h"

namespace blikon {

// The main window's menu "&Deska": assembling the code text, saving it as Intel HEX for
// the chip programmer, running it on the simulated board, and choosing the chip.
class BoardMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit BoardMenu(FBlikon& window);
};

}  // namespace blikon
