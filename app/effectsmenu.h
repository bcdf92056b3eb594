#pragma once

#include "framecommands.h"
#include "mainwindowmenu.h"

#include <QPointer>

namespace blikon {

class FPrehled;

// The menu "&Efekty" of a main window: reads the frame under the editor's cursor onto
// the tick boxes and writes the boxes back over it; turns, mirrors and inverts the
// boxes; appends a whole turn of the boxes as six frames; inserts, deletes, moves and
// duplicates the frame at the cursor; and opens the window's frame overview. Its
// handlers stay silent when they fail, like the selection menus.
class EffectsMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit EffectsMenu(FBlikon& window);

private:
    void showOverview();

    FrameCommands commands_;
    QPointer<FPrehled> overview_;  // one a window, while it is open
};

}  // namespace blikon
