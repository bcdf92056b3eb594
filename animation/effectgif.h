#pragma once

#include "boardpicture.h"
#include "effectrecording.h"
#include "gifencoder.h"

#include <QByteArray>
#include <QColor>

namespace blikon {

// The colours of the board's picture: lit lamps as the lamp windows paint them (the
// stored lamp colour), unlit ones dark green, on the lamp windows' background.
struct BoardColors {
    QColor lit;
    QColor unlit;
    QColor background;

    [[nodiscard]] static BoardColors ofLampWindows();
};

// A recording of the board made into an animated GIF of the board's picture, image after
// image as they are recorded, each shown for its own time with the rounding carried over
// (HundredthsClock). An image that comes to no hundredth at all is left out, as a viewer
// would show it far too long; the rest still add up to the whole time.
// Example: EffectGif gif(colors, 1e6); for each image gif.add(image); gif.finish().
class EffectGif {
public:
    EffectGif(const BoardColors& colors, double machineCyclesPerSecond);

    void add(const mcs51::RecordedImage& image);
    [[nodiscard]] int imageCount() const { return encoder_.imageCount(); }
    [[nodiscard]] QByteArray finish() { return encoder_.finish(); }

private:
    BoardPicture picture_;
    GifEncoder encoder_;
    mcs51::HundredthsClock clock_;
};

// The GIF of the whole of `recorder`'s recording, recorded here at once.
[[nodiscard]] QByteArray recordEffectGif(mcs51::EffectRecorder& recorder, const BoardColors& colors);

}  // namespace blikon
