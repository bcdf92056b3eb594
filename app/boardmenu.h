#pragma once

#include <QObject>

namespace blikon {

class FBlikon;

// The main window's menu "&Deska": assembling the code text, saving it as Intel HEX for
// the chip programmer, running it on the simulated board, and choosing the chip.
class BoardMenu : public QObject {
    Q_OBJECT
public:
    explicit BoardMenu(FBlikon& window);
};

}  // namespace blikon
