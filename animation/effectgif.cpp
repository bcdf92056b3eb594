#include "effectgif.h"

#include "commondialog.h"
#include "lampwindow.h"
#include "playback.h"

#include <QGuiApplication>
#include <QPalette>

namespace blikon {

BoardColors BoardColors::ofLampWindows()
{
    return {unpackColor(LampWindow::storedLampColor()), unpackColor(kUnlitLampColor),
            QGuiApplication::palette().color(QPalette::Window)};
}

EffectGif::EffectGif(const BoardColors& colors, double machineCyclesPerSecond)
    : picture_(colors.lit, colors.unlit, colors.background)
    , encoder_(picture_.width(), picture_.height(), picture_.palette())
    , clock_(machineCyclesPerSecond)
{
}

void EffectGif::add(const mcs51::RecordedImage& image)
{
    const int hundredths = clock_.delayOf(image.cycles);
    if (hundredths > 0)
        encoder_.add(picture_.indices(image.lamps), hundredths);
}

QByteArray recordEffectGif(mcs51::EffectRecorder& recorder, const BoardColors& colors)
{
    recorder.recordAll();
    EffectGif gif(colors, recorder.machineCyclesPerSecond());
    for (const mcs51::RecordedImage& image : recorder.images())
        gif.add(image);
    return gif.finish();
}

}  // namespace blikon
