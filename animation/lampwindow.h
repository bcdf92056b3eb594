#pragma once

#include "ledgroup.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <tuple>

class QLabel;
class QPushButton;

namespace blikon {

class Lamp;
class LampStates;
class PlaybackTimer;
class StatusBar;

// The skeleton of the windows that show the board's 37 lamps, the animation window and
// the board window: a fixed client area of 5490 x 5475 twips, the lamps laid out like
// the board and named after their LEDs, a row of five push buttons Command1 to Command5
// under them, room for lines of the window's own under the buttons if it asks for it, a
// status bar StatusBar1 of three panels along the bottom edge, and the timer Timer1
// whose ticks drive the lamps. Lit lamps take the colour stored in the
// settings, unlit ones are dark green; every lamp starts unlit.
class LampWindow : public QDialog {
    Q_OBJECT
public:
    ~LampWindow() override;

    // The colour of lit lamps, packed; red when none is stored or the stored one is no colour.
    [[nodiscard]] static int storedLampColor();

protected:
    // `statusPanels` gives the widths in twips of the status bar's three panels. Timer1
    // runs from the start, every `tickMilliseconds`. `linesHeight` twips between the
    // button row and the status bar make the window that much taller, from top
    // kLinesTop on.
    LampWindow(const char* name, const QList<int>& statusPanels, int tickMilliseconds, QWidget* parent,
               int linesHeight = 0);

    static constexpr int kLinesTop = 5220;

    // What a tick of Timer1 does; it runs as the handler "Timer1_Timer" and fails silently.
    virtual void tick() = 0;

    // The button at `place` (0 to 4 from the left) of the row under the lamps, named
    // "Command1" to "Command5". The second button, at place 1, is the window's default
    // button: Enter presses it.
    QPushButton* addRowButton(int place, const QString& caption, int widthTwips = 975);
    // The first three buttons of the row, which both windows have: Konec (closes the
    // window as the handler "Command1_Click", failing silently), the pause button
    // (captioned kPause, 960 twips wide) and Krokovat; as close, pause, step.
    std::tuple<QPushButton*, QPushButton*, QPushButton*> addPlaybackButtons();
    // The pause button's captions: what a press does next.
    static inline const QString kPause = QStringLiteral("Pauze");
    static inline const QString kRun = QStringLiteral("Run");
    // The caption Label1 of the speed control over the button row.
    QLabel* addSpeedLabel(const QString& caption, const QRect& geometry);

    // The title of the window whose code the lamps show, followed by `suffix`, and its icon.
    void showSourceTitle(const QWidget& source, const QString& suffix);

    [[nodiscard]] PlaybackTimer& timer() const { return *timer_; }
    [[nodiscard]] StatusBar& statusBar() const { return *statusBar_; }

    // The lamp windows' settings, all in one section of the store. Saving throws when the
    // store could not be written.
    [[nodiscard]] static QString readSetting(const QString& key, const QString& fallback);
    static void saveSetting(const QString& key, const QString& text);
    static void storeLampColor(int packed);

    // The colour of lit lamps from the next painting on.
    void setLitColor(int packed);
    void paintGroup(const LampStates& states, int group);
    void paintAllLamps(const LampStates& states);

private:
    std::array<Lamp*, kLedCount> lamps_{};  // by ledIndex
    StatusBar* statusBar_;
    PlaybackTimer* timer_;
    QColor lit_;
    QColor unlit_;
};

}  // namespace blikon
