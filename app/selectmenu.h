#pragma once

#include "core/ledgroup.h"
#include "mainwindowmenu.h"

namespace blikon {

// The main window's menu "&Vybrat": ticks every LED's box or none, and in a submenu for
// each group one LED's box or the whole group's. Ticking only ever ticks: a ticked box
// stays ticked.
class SelectMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit SelectMenu(FBlikon& window);

private:
    void addGroupMenu(int group);

    void tickAll(bool ticked);
    void tickGroup(int group);
    void tickLed(Led led);
};

}  // namespace blikon
