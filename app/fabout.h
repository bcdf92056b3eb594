#pragma once

#include "core/floatingicon.h"

#include <QDialog>
#include <QPixmap>

class QLabel;
class QTimer;

namespace blikon {

// The message the System Info button gives when the tool cannot be started.
inline constexpr char kSysInfoUnavailable[] = "System Information Is Unavailable At This Time";

// The System Info button's command: starts the System Information tool (startSysInfoTool).
// When that gives no started tool, or any step fails, the message box
// kSysInfoUnavailable (OK, no icon, titled "Blikon") shows over `owner`.
void StartSysInfo(QWidget* owner);

// The About window: the program's name and version over a background picture, a
// floating icon that Timer2 moves across the window, OK (the default button) and a
// button that starts the System Information tool. Built afresh at every opening, so
// the icon starts at the left edge each time.
class FAbout final : public QDialog {
    Q_OBJECT
public:
    explicit FAbout(QWidget* parent = nullptr);

    // Timer2's ticks since the program started; closing the window keeps the count.
    [[nodiscard]] static long long tickCount();

    // Timer2's tick: counts it and moves the floating icon Image3 one step.
    void moveFloatingIcon();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void placeFloatingIcon();

    QPixmap background_;
    IconPlace iconPlace_ = kIconStart;
    QLabel* floatingIcon_ = nullptr;
    QTimer* iconTimer_ = nullptr;
};

}  // namespace blikon
