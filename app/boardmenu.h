#pragma once

#include "mainwindowmenu.h"

namespace blikon {

// The main window's menu "&Deska": assembling the code text, saving it as Intel HEX for
// the chip programmer or writing it into the chip through one, running it (or an Intel HEX file from elsewhere) on the simulated
// board beside the window, and choosing the chip and its crystal.
class BoardMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit BoardMenu(FBlikon& window);
};

}  // namespace blikon
