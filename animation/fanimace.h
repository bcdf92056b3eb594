#pragma once

#include "blockscanner.h"

#include <QDialog>

#include <array>
#include <string>

class QPushButton;
class QSlider;

namespace blikon {

class CodeTextSource;
class CodeWindow;
class Lamp;
class PlaybackTimer;
class StatusBar;

// The animation window: plays a code window's code text on 37 lamps laid out like the
// board, one frame per tick of Timer1, with buttons to halt and resume, play single
// steps, go back to the start and choose the colour of lit lamps, and a slider for the
// speed (register R1). Colour and speed come from the settings store when it opens; the
// speed goes back there when it closes, whatever closes it.
class FAnimace : public QDialog {
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

private:
    void buildControls();
    void setTabOrder();

    // Event handlers; each runs through HandlerGuard and fails silently.
    void load();
    void onTick();
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
    void paintGroup(int group);
    void turnAllLampsUnlit();

    CodeTextSource* source_;
    BlockScanner scanner_;
    LampStates lampStates_;
    int lampColor_;  // packed

    std::array<Lamp*, kLedCount> lamps_{};  // by ledIndex
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QPushButton* command5_ = nullptr;
    QSlider* slider1_ = nullptr;
    StatusBar* statusBar1_ = nullptr;
    PlaybackTimer* timer1_ = nullptr;
};

}  // namespace blikon
