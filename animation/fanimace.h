#pragma once

#include "core/blockscanner.h"
#include "lampwindow.h"

#include <string>

class QPushButton;
class QSlider;

namespace blikon {

class CodeTextSource;
class CodeWindow;

// The animation window: plays a code window's code text on the lamps, one frame per
// tick of Timer1, with buttons to halt and resume, play single steps, go back to the
// start and choose the colour of lit lamps, and a slider for the speed (register R1).
// Colour and speed come from the settings store when it opens; the speed goes back
// there when it closes, whatever closes it.
class FAnimace : public LampWindow {
    Q_OBJECT
public:
    // Plays the code text of `source` and takes its title, icon and colour dialog.
    // `parent` is the window whose command opened it.
    explicit FAnimace(CodeWindow& source, QWidget* parent = nullptr);
    ~FAnimace() override;

    // Every way of closing ends here: stores the speed, then closes.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void tick() override;  // one step

private:
    void buildControls();
    void setTabOrder();

    // Event handlers; each runs through HandlerGuard and fails silently.
    void load();
    void onPauseOrRun();
    void onSingleStep();
    void onReset();
    void onChooseColor();
    void onSpeedChanged();

    // Steps the handlers share.
    void playStep();
    void resetPlayback();
    void applySpeed();
    void showRunState(const QString& text);
    void showStatusLine(const std::string& codeText);
    void turnAllLampsUnlit();

    CodeTextSource* source_;
    BlockScanner scanner_;
    LampStates lampStates_;

    QPushButton* closeButton_ = nullptr;
    QPushButton* pauseButton_ = nullptr;  // "Pauze" while playing, "Run" while halted
    QPushButton* stepButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    QPushButton* colorButton_ = nullptr;
    QSlider* speedSlider_ = nullptr;
};

}  // namespace blikon
