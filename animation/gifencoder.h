#pragma once

#include <QByteArray>
#include <QRgb>

#include <cstdint>
#include <memory>
#include <vector>

struct GifFileType;

namespace blikon {

// An animated GIF written into memory by giflib, image after image, all of one size and
// one palette of at most kMostColors, playing in an endless loop (the NETSCAPE2.0
// extension). Each image after the first holds only the rectangle in which it differs
// from the one before, drawn over it, with the pixels that stay as they were
// transparent, so that an effect that changes a few lamps a frame makes a small file.
// Failures of the library throw std::runtime_error.
// Example: GifEncoder gif(240, 209, palette); gif.add(indices, 5); ...; gif.finish().
class GifEncoder {
public:
    // One more index stands for "as before".
    static constexpr int kMostColors = 255;

    GifEncoder(int width, int height, const std::vector<QRgb>& palette);
    ~GifEncoder();
    GifEncoder(const GifEncoder&) = delete;
    GifEncoder& operator=(const GifEncoder&) = delete;

    // An image of palette indices, row by row, shown for `hundredths` of a second.
    void add(const std::vector<std::uint8_t>& indices, int hundredths);
    [[nodiscard]] int imageCount() const { return images_; }

    // The file's bytes; nothing may be added after.
    [[nodiscard]] QByteArray finish();

private:
    struct Rectangle {
        int left = 0, top = 0, width = 1, height = 1;
    };
    [[nodiscard]] Rectangle changedRectangle(const std::vector<std::uint8_t>& indices) const;
    void putLoopExtension();
    void putControl(int hundredths);
    void putPixels(const std::vector<std::uint8_t>& indices, const Rectangle& rectangle);
    void check(int result) const;

    int width_;
    int height_;
    QByteArray bytes_;
    GifFileType* gif_ = nullptr;
    std::vector<std::uint8_t> previous_;
    int images_ = 0;
    std::uint8_t unchanged_;  // the transparent index
};

}  // namespace blikon
