#pragma once

#include "boardstate.h"
#include "mainwindowmenu.h"

namespace blikon {

// The menu "&Efekty" of a main window: reads the frame under the editor's cursor onto
// the tick boxes and writes the boxes back over it, turns, mirrors and inverts the
// boxes, and appends a whole turn of the boxes as six frames. Its handlers stay silent
// when they fail, like the selection menus.
class EffectsMenu : public MainWindowMenu {
    Q_OBJECT
public:
    explicit EffectsMenu(FBlikon& window);

private:
    void readFrame();
    void replaceFrame();
    void moveBoxes(BoardState (*move)(const BoardState&));
    void addTurn();
    void tellNoFrame();
};

}  // namespace blikon
