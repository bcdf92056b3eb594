#pragma once

#include "ledgroup.h"

#include <QColor>
#include <QPoint>
#include <QRgb>

class QImage;

#include <array>
#include <cstdint>
#include <vector>

namespace blikon {

class LampStates;

// The board's 37 lamps as a small picture for sharing, drawn as the lamp windows draw
// them (lit, unlit, on their background), kWidth pixels wide with a margin around the
// hexagon and nothing else. The picture has one palette for all lamp states, at most
// kMostColors, and is given as palette indices, row by row.
// Example: BoardPicture picture(Qt::red, QColor(0, 128, 0), Qt::lightGray);
// picture.indices(lamps)[y * picture.width() + x] is the colour at (x, y).
class BoardPicture {
public:
    static constexpr int kWidth = 240;
    static constexpr int kMostColors = 255;  // a GIF's 256 less the transparent one

    BoardPicture(const QColor& lit, const QColor& unlit, const QColor& background);

    [[nodiscard]] int width() const { return kWidth; }
    [[nodiscard]] int height() const { return height_; }
    [[nodiscard]] const std::vector<QRgb>& palette() const { return palette_; }
    [[nodiscard]] std::vector<std::uint8_t> indices(const LampStates& lamps) const;

    // The pixel at the middle of a lamp.
    [[nodiscard]] static QPoint lampCentre(Led led);

private:
    struct Patch {
        int left = 0, top = 0, right = 0, bottom = 0;  // pixels, right and bottom excluded
    };

    std::vector<std::uint8_t> indexed(const QImage& image);

    int height_;
    std::vector<QRgb> palette_;
    std::vector<std::uint8_t> allLit_;    // indices with every lamp lit
    std::vector<std::uint8_t> allUnlit_;  // and with none
    std::array<Patch, kLedCount> patches_{};  // by ledIndex: the pixels each lamp covers
};

}  // namespace blikon
