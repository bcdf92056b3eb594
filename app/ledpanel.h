#pragma once

#include "boardstate.h"

#include <QObject>
#include <array>

class QCheckBox;
class QWidget;

namespace blikon {

// The 37 tick boxes of a main window, laid out like the board and named after their
// LEDs. A box that the user ticks or unticks reports that change once; what the window
// shows with `show` reports nothing.
class LedPanel : public QObject {
    Q_OBJECT
public:
    // Creates the boxes as children of `parent` at their panel positions, in tab order.
    explicit LedPanel(QWidget* parent);

    [[nodiscard]] QCheckBox* box(Led led) const { return boxes_[ledIndex(led)]; }

    // The boxes row by row from the top, left to right: the tab order of the panel.
    [[nodiscard]] std::array<QCheckBox*, kLedCount> boxesInTabOrder() const;

    // Ticks the boxes of the lit LEDs and unticks the others, silently.
    void show(const BoardState& board);

signals:
    void ledChanged(blikon::Led led, blikon::LedState newState);

private:
    std::array<QCheckBox*, kLedCount> boxes_{};
};

}  // namespace blikon
