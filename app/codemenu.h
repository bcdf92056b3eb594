#pragma once

#include "mainwindowmenu.h"

namespace blikon {

// The main window's menu "&Kód": computing and adding the block as the buttons do, the
// program start and end around the code text, the one-level undo of these additions,
// and selecting the whole code text.
class CodeMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit CodeMenu(FBlikon& window);

private:
    void addStartTemplate();
    void addEndTemplate();
    void undo();
    void selectWholeCode();
};

}  // namespace blikon
