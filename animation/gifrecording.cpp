#include "gifrecording.h"

#include "handlerguard.h"

#include <QProgressDialog>
#include <QTimer>

namespace blikon {

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kShowProgressAfterMilliseconds = 500;

}  // namespace

GifRecording::GifRecording(std::unique_ptr<mcs51::EffectRecorder> recorder, const BoardColors& colors,
                           QWidget* window)
    : QObject(window)
    , window_(window)
    , recorder_(std::move(recorder))
    , gif_(colors, recorder_->machineCyclesPerSecond())
    , timer_(new QTimer(this))
    , progress_(new QProgressDialog(QStringLiteral("Nahrávám animaci…"), QStringLiteral("Zrušit"), 0,
                                    kProgressSteps, window))
{
    progress_->setObjectName(QStringLiteral("prgUlozitGif"));
    progress_->setWindowTitle(QStringLiteral("Blikon"));
    progress_->setWindowModality(Qt::NonModal);
    progress_->setMinimumDuration(kShowProgressAfterMilliseconds);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    connect(progress_, &QProgressDialog::canceled, this, [this] {
        timer_->stop();
        emit cancelled();
        end();
    });
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, &GifRecording::workSlice);
}

GifRecording::~GifRecording() { delete progress_; }

void GifRecording::start()
{
    progress_->setValue(0);
    timer_->start();
}

void GifRecording::workSlice()
{
    if (progress_->wasCanceled()) {  // cancel() called from elsewhere, without the signal
        emit cancelled();
        end();
        return;
    }
    bool ended = false;
    HandlerGuard::run(window_, "gifTimer_Timer", OnFailure::ShowError, [this, &ended] {
        ended = true;  // unless this slice goes through
        const bool done = recorder_->recordSome();
        const std::vector<mcs51::RecordedImage>& images = recorder_->images();
        for (; added_ < images.size(); ++added_)
            gif_.add(images[added_]);
        if (done) {
            timer_->stop();
            emit finished(gif_.finish(), recorder_->cut());
            return;
        }
        progress_->setValue(int(recorder_->progress() * kProgressSteps));
        ended = false;
    });
    if (ended)
        end();
}

void GifRecording::end()
{
    timer_->stop();
    if (progress_)
        progress_->hide();
    deleteLater();
}

}  // namespace blikon
