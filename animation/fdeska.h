#pragma once

#include "assembler.h"
#include "boardsettings.h"
#include "boardsimulation.h"
#include "lampstates.h"
#include "lampwindow.h"

#include <array>
#include <functional>
#include <memory>

class QPushButton;
class QRadioButton;

namespace blikon {

class CodeWindow;

// The board window: runs the assembled code text on the simulated board in real time at
// the chosen crystal and shows its lamps as the eye sees them. The board's button
// (Tlačítko, or the space bar held down) pulls P3.0 low; the program can be paused,
// stepped a frame at a time, reset and run at a tenth or ten times real time. The status
// bar shows the board time, the length of the last frame and the label where the
// program counter stands.
class FDeska : public LampWindow {
    Q_OBJECT
public:
    // Assembles the code text of `source`. With errors they are shown in its error list
    // (as "&Přeložit" shows them) and there is no window; else the window over `parent`,
    // for the crystal and chip of the board settings, ready to be shown modal.
    [[nodiscard]] static std::unique_ptr<FDeska> create(CodeWindow& source, QWidget* parent);

    FDeska(CodeWindow& source, const mcs51::Assembly& assembly, const BoardSettings& board, QWidget* parent);
    ~FDeska() override;

    // The real time the window runs the board by, in nanoseconds from any start; the
    // window takes the time between two ticks of Timer1. Tests give a clock they move.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void tick() override;  // runs the board for the real time since the last tick

private:
    void buildControls();
    void buildSpeedOptions();

    // Event handlers; each runs through HandlerGuard and fails silently.
    void onPauseOrRun();
    void onStep();
    void onReset();
    void onSpeed(double speed);

    bool handleSpaceKey(QKeyEvent* event);
    void setButtonHeld(bool byMouse, bool held);
    void setRunning(bool running);
    void showLamps();
    void showStatus();

    mcs51::Assembly assembly_;
    mcs51::BoardSimulation simulation_;
    Clock clock_;
    qint64 lastTick_ = 0;
    qint64 lastStatus_ = 0;
    double speed_ = 1.0;
    bool running_ = true;
    bool mouseHolds_ = false;
    bool spaceHolds_ = false;
    LampStates painted_;

    QPushButton* boardButton_ = nullptr;  // the board's button on P3.0
    QPushButton* pauseButton_ = nullptr;
    QPushButton* stepButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    std::array<QRadioButton*, 3> speedOptions_{};
};

// "&Simulace" of the menu "&Deska": the board window for `window`'s code text, modal.
void simulateBoard(CodeWindow& window);

}  // namespace blikon
