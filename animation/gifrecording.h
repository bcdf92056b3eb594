#pragma once

#include "effectgif.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <memory>

class QProgressDialog;
class QTimer;
class QWidget;

namespace blikon {

// Makes the animated GIF of a recording while the windows stay usable: the work runs in
// slices on a timer, and the progress dialog "Nahrávám animaci…" appears once it takes
// longer than half a second; its "Zrušit" stops the recording. The object belongs to
// `window` and deletes itself after it has said finished() or cancelled(); a failure
// of its steps shows "Chyba!" and ends it without either.
// Example: auto* gif = new GifRecording(std::move(recorder), BoardColors::ofLampWindows(), window);
// connect(gif, &GifRecording::finished, ...); gif->start();
class GifRecording : public QObject {
    Q_OBJECT
public:
    GifRecording(std::unique_ptr<mcs51::EffectRecorder> recorder, const BoardColors& colors, QWidget* window);
    ~GifRecording() override;

    void start();

signals:
    // `cut`: the recording stopped at EffectRecorder::kMostImages.
    void finished(const QByteArray& gif, bool cut);
    void cancelled();

private:
    void workSlice();
    void end();

    QWidget* window_;
    std::unique_ptr<mcs51::EffectRecorder> recorder_;
    EffectGif gif_;
    std::size_t added_ = 0;  // recorded images given to the GIF
    QTimer* timer_;
    QPointer<QProgressDialog> progress_;
};

}  // namespace blikon
