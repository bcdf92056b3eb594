#pragma once

#include "boardstate.h"

#include <QObject>

#include <functional>

class QKeySequence;
class QMenu;

namespace blikon {

class FBlikon;

// The menu "&Efekty" of a main window: reads the frame under the editor's cursor onto
// the tick boxes and writes the boxes back over it, turns, mirrors and inverts the
// boxes, and appends a whole turn of the boxes as six frames. The window builds it into
// its menu bar; it lives as long as the window.
class EffectsMenu : public QObject {
public:
    explicit EffectsMenu(FBlikon& window);

private:
    // An item whose handler stays silent when it fails, like the selection menus.
    void addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                 std::function<void()> steps);

    void readFrame();
    void replaceFrame();
    void moveBoxes(BoardState (*move)(const BoardState&));
    void addTurn();
    void tellNoFrame();

    FBlikon& window_;
};

}  // namespace blikon
