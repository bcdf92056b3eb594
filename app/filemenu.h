#pragma once

#include "mainwindowmenu.h"

namespace blikon {

// The main window's menu "&Soubor": a new main window, opening, saving and printing the
// code text, playing it in the animation window, and closing the window.
class FileMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit FileMenu(FBlikon& window);

private:
    void openNewWindow();
    void playAnimation();
};

}  // namespace blikon
