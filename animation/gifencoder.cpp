#include "gifencoder.h"

#include <gif_lib.h>

#include <stdexcept>
#include <string>

namespace blikon {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

[[noreturn]] void fail(int error)
{
    const char* text = GifErrorString(error);
    throw std::runtime_error(std::string("giflib: ") + (text ? text : "unknown error"));
}

// A colour map of the palette and the transparent index after it, padded to a power of
// two as GIF wants it.
ColorMapObject* colorMap(const std::vector<QRgb>& palette)
{
    int size = 2;
    while (size < int(palette.size()) + 1)
        size *= 2;
    std::vector<GifColorType> colors(std::size_t(size), GifColorType{0, 0, 0});
    for (std::size_t k = 0; k < palette.size(); ++k)
        colors[k] = {GifByteType(qRed(palette[k])), GifByteType(qGreen(palette[k])), GifByteType(qBlue(palette[k]))};
    return GifMakeMapObject(size, colors.data());
}

}  // namespace

GifEncoder::GifEncoder(int width, int height, const std::vector<QRgb>& palette)
    : width_(width)
    , height_(height)
    , unchanged_(std::uint8_t(palette.size()))
{
    if (palette.size() > std::size_t(kMostColors))
        throw std::invalid_argument("too many colours for a GIF");
    int error = 0;
    gif_ = EGifOpen(&bytes_, appendBytes, &error);
    if (!gif_)
        fail(error);
    EGifSetGifVersion(gif_, true);
    ColorMapObject* map = colorMap(palette);
    const int result = EGifPutScreenDesc(gif_, width, height, 8, 0, map);
    GifFreeMapObject(map);
    check(result);
    putLoopExtension();
}

GifEncoder::~GifEncoder()
{
    if (gif_)
        EGifCloseFile(gif_, nullptr);
}

void GifEncoder::check(int result) const
{
    if (result == GIF_ERROR)
        fail(gif_->Error);
}

void GifEncoder::putLoopExtension()
{
    static const GifByteType kName[] = "NETSCAPE2.0";
    static const GifByteType kForever[] = {1, 0, 0};  // sub-block 1: loop count 0
    check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE));
    check(EGifPutExtensionBlock(gif_, 11, kName));
    check(EGifPutExtensionBlock(gif_, 3, kForever));
    check(EGifPutExtensionTrailer(gif_));
}

void GifEncoder::putControl(int hundredths)
{
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;  // the next image draws over this one
    control.DelayTime = hundredths;
    control.TransparentColor = previous_.empty() ? NO_TRANSPARENT_COLOR : unchanged_;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, int(length), extension));
}

GifEncoder::Rectangle GifEncoder::changedRectangle(const std::vector<std::uint8_t>& indices) const
{
    if (previous_.empty())
        return {0, 0, width_, height_};
    int left = width_, top = height_, right = -1, bottom = -1;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const std::size_t at = std::size_t(y) * std::size_t(width_) + std::size_t(x);
            if (indices[at] == previous_[at])
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    if (right < 0)
        return {};  // the same image again: one pixel that stays as it is
    return {left, top, right - left + 1, bottom - top + 1};
}

void GifEncoder::putPixels(const std::vector<std::uint8_t>& indices, const Rectangle& rectangle)
{
    check(EGifPutImageDesc(gif_, rectangle.left, rectangle.top, rectangle.width, rectangle.height, false, nullptr));
    std::vector<GifPixelType> line(std::size_t(rectangle.width));
    for (int y = rectangle.top; y < rectangle.top + rectangle.height; ++y) {
        const std::size_t row = std::size_t(y) * std::size_t(width_) + std::size_t(rectangle.left);
        for (std::size_t x = 0; x < line.size(); ++x) {
            const bool same = !previous_.empty() && previous_[row + x] == indices[row + x];
            line[x] = same ? unchanged_ : indices[row + x];
        }
        check(EGifPutLine(gif_, line.data(), rectangle.width));
    }
}

void GifEncoder::add(const std::vector<std::uint8_t>& indices, int hundredths)
{
    if (indices.size() != std::size_t(width_) * std::size_t(height_))
        throw std::invalid_argument("an image of another size");
    putControl(hundredths);
    putPixels(indices, changedRectangle(indices));
    previous_ = indices;
    ++images_;
}

QByteArray GifEncoder::finish()
{
    int error = 0;
    GifFileType* gif = gif_;
    gif_ = nullptr;
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        fail(error);
    return bytes_;
}

}  // namespace blikon
