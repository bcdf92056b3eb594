#pragma once

#include "boardprogram.h"
#include "boardsettings.h"
#include "boardsimulation.h"
#include "boardtimeline.h"
#include "lampstates.h"
#include "lampwindow.h"

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;

namespace blikon {

class CodeFollower;
class CodeWindow;

// The board window: runs a program on the simulated board in real time at the chosen
// crystal and shows its lamps as the eye sees them. It stands beside its code window,
// which stays usable, and follows its code text: half a second after the text last
// changed the program is assembled again and restarts, at the same speed and paused or
// not as before; while the text cannot run, the last good program runs on and the
// status line says why. It can instead run an Intel HEX file, and then leaves the text
// alone until F6 brings it back. A line under the buttons says what runs, another
// whether the program fits the chip.
//
// The board's button (Tlačítko, or the space bar held down) pulls P3.0 low, each press
// at the moment it happened however short it was; the program can be paused, stepped a
// frame at a time, reset and run at a tenth or ten times real time. The status bar shows
// the frame (of the loop, for a Blikon program), the board time and the label where the
// program counter stands, or its address when there is no label.
class FDeska : public LampWindow {
    Q_OBJECT
public:
    // The board window of `source`, or nullptr while it has none. It is a child of
    // `source`'s window, so that closing the code window closes it.
    [[nodiscard]] static FDeska* of(CodeWindow& source);

    // Runs `program` (a program of the code text follows the text, one of a HEX file
    // does not) in the board window of `source`, opened beside it when it has none, and
    // brings that window to the front.
    static FDeska* showProgram(CodeWindow& source, BoardProgram program, const BoardSettings& board);

    FDeska(CodeWindow& source, BoardProgram program, const BoardSettings& board);
    ~FDeska() override;

    // The real time the window runs the board by, in nanoseconds of a monotonic clock;
    // button presses are stamped with it. Tests give a clock they move.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);

    // Runs `program` on `board` from reset unless the board runs the same one already;
    // speed, pause and the button stay as they are.
    void run(BoardProgram program, const BoardSettings& board);
    // Runs the program again from reset with the board settings as stored now (the code
    // text assembled again with them, while the window follows it).
    void restart();
    // Follows the code text again and takes it as it is now.
    void followCodeText();
    void bringToFront();

    [[nodiscard]] const BoardProgram& program() const { return program_; }

signals:
    // The frame of a Blikon program's loop that the board now shows, from 0; -1 when
    // that is not known (no frame yet since the start, or not a Blikon program).
    void frameShown(int frameIndex);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void tick() override;  // runs the board for the real time since the last tick

private:
    void buildControls();
    void buildSpeedOptions();
    void buildLines();
    void setTabOrder();
    void placeBeside(const QWidget& source);

    // Event handlers; each runs through HandlerGuard and fails silently.
    void onPauseOrRun();
    void onStep();
    void onReset();
    void onSpeed(double speed);
    void onCodeTextBuilt(const ProgramBuild& build);

    void startProgram();
    bool handleSpaceKey(QKeyEvent* event);
    void setButtonHeld(bool byMouse, bool held);
    void setRunning(bool running);
    [[nodiscard]] int loopFrameIndex() const;
    void showLamps();
    void showStatus();
    void showLines();
    void showTitle();
    bool showFrameIndex();  // true when the frame changed

    CodeWindow& source_;
    CodeFollower* follower_;
    BoardProgram program_;
    BoardSettings board_;
    std::unique_ptr<mcs51::BoardSimulation> simulation_;
    BoardTimeline timeline_;
    Clock clock_;
    QString problem_;  // why the code text cannot run, or empty
    qint64 lastStatus_ = 0;
    double speed_ = 1.0;
    bool running_ = true;
    bool mouseHolds_ = false;
    bool spaceHolds_ = false;
    int shownFrame_ = -1;
    LampStates painted_;

    QPushButton* closeButton_ = nullptr;
    QPushButton* pauseButton_ = nullptr;  // "Pauze" while running, "Run" while paused
    QPushButton* stepButton_ = nullptr;
    QPushButton* boardButton_ = nullptr;  // the board's button on P3.0
    QPushButton* resetButton_ = nullptr;
    std::array<QRadioButton*, 3> speedOptions_{};
    QLabel* sourceLine_ = nullptr;  // what runs
    QLabel* chipLine_ = nullptr;    // whether it fits the chip
};

// "&Simulace" (F6) of the menu "&Deska": assembles `window`'s code text and runs it in
// its board window, opened beside it when it has none; a running HEX file gives way to
// the text. Errors go to the error list and a text without code is said to be empty;
// neither opens a board window, and an open one keeps its program.
void simulateBoard(CodeWindow& window);

// "Spustit HEX…" of the menu "&Deska": runs an Intel HEX file chosen in the open dialog
// in the board window, with the chosen chip and crystal; a file that cannot be read or
// is no good Intel HEX is refused with its line and the reason.
void runHexFile(CodeWindow& window);

// The board window of `window`, if open, runs its program again with the board settings
// as stored now: after the chip or the crystal changed.
void rerunBoard(CodeWindow& window);

}  // namespace blikon
