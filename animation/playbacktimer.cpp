#include "playbacktimer.h"

#include <QTimer>

namespace blikon {

PlaybackTimer::PlaybackTimer(int interval, QObject* parent)
    : QObject(parent)
    , timer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(interval);
    connect(timer_, &QTimer::timeout, this, &PlaybackTimer::tick);
    startOrStop();
}

void PlaybackTimer::setEnabled(bool enabled)
{
    enabled_ = enabled;
    startOrStop();
}

int PlaybackTimer::interval() const { return timer_->interval(); }

void PlaybackTimer::setInterval(int milliseconds)
{
    timer_->setInterval(milliseconds);
    startOrStop();
}

void PlaybackTimer::startOrStop()
{
    if (enabled_ && timer_->interval() > 0) {
        if (!timer_->isActive())
            timer_->start();
    } else {
        timer_->stop();
    }
}

}  // namespace blikon
