#pragma once

#include <QObject>

class QTimer;

namespace blikon {

// A lamp window's timer Timer1, enabled while its lamps play. An interval of 0 means no
// ticks: a Qt timer of 0 would fire whenever the event loop is idle, so the Qt timer
// stands still then while playback still counts as running, and it starts again when
// the interval becomes positive.
class PlaybackTimer : public QObject {
    Q_OBJECT
public:
    // Enabled, with the given interval in milliseconds.
    PlaybackTimer(int interval, QObject* parent);

    [[nodiscard]] bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    [[nodiscard]] int interval() const;
    void setInterval(int milliseconds);

signals:
    void tick();

private:
    void startOrStop();

    QTimer* timer_;
    bool enabled_ = true;
};

}  // namespace blikon
