#pragma once

#include "mainwindowmenu.h"

namespace blikon {

// The main window's menu "Ú&pravy": one step back and forward through the history of
// the code text, which every change of it joins (typing, the menus' commands, opening a
// file, "Kód &Zpět"), each item disabled while there is no step to take; and bringing
// back the code text of a window that closed unsaved, from the recovery store.
class EditMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit EditMenu(FBlikon& window);

private:
    // The chosen text into this window while its code text is empty, else into a new
    // one; the text leaves the store.
    void restoreClosedCode();
};

}  // namespace blikon
