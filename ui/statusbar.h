#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace blikon {

class KeyboardLocks;
struct LockStates;

// A status bar of text panels laid side by side, as the program's windows use it:
// the main window's four (status line, NUM, CAPS, clock) and the animation window's three.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    // `widthsInTwips` gives each panel's width; the first one takes what is left over.
    StatusBar(const QList<int>& widthsInTwips, QWidget* parent = nullptr);

    [[nodiscard]] QString panelText(int panel) const;  // panels count from 1
    void setPanelText(int panel, const QString& text);
    [[nodiscard]] QLabel* panel(int panel) const;

private:
    QList<QLabel*> panels_;
};

// Keeps the NUM, CAPS and clock panels of a status bar up to date by itself. A lock
// whose state the platform does not tell is shown dimmed, and so are both locks until
// the first look, which waits until the window is up.
class LockAndClockPanels : public QObject {
    Q_OBJECT
public:
    LockAndClockPanels(StatusBar* bar, int numPanel, int capsPanel, int clockPanel, const KeyboardLocks& locks);
    void refresh();

private:
    void showLocks(const LockStates& states);
    void showClock();

    StatusBar* bar_;
    int numPanel_;
    int capsPanel_;
    int clockPanel_;
    const KeyboardLocks& locks_;
};

}  // namespace blikon
