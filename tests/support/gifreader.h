#pragma once

// An animated GIF read back with giflib for the tests: each image composed over the
// ones before it, as a viewer shows it, with its delay, and whether it loops forever.

#include <gif_lib.h>

#include <QByteArray>
#include <QImage>

#include <cstring>
#include <vector>

namespace blikon::testing {

struct ReadGif {
    bool ok = false;
    std::vector<QImage> images;  // as shown, whole
    std::vector<int> delays;     // hundredths
    bool loopsForever = false;
};

inline ReadGif readGif(QByteArray bytes)
{
    struct Source {
        QByteArray bytes;
        qsizetype at = 0;
    } source{std::move(bytes)};
    const auto read = [](GifFileType* gif, GifByteType* into, int length) {
        auto* from = static_cast<Source*>(gif->UserData);
        const int n = int(std::min<qsizetype>(length, from->bytes.size() - from->at));
        std::memcpy(into, from->bytes.constData() + from->at, std::size_t(n));
        from->at += n;
        return n;
    };
    ReadGif result;
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK || !gif->SColorMap) {
        DGifCloseFile(gif, &error);
        return result;
    }
    QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    for (int k = 0; k < gif->ImageCount; ++k) {
        const SavedImage& image = gif->SavedImages[k];
        const GifImageDesc& at = image.ImageDesc;
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, k, &control);
        result.delays.push_back(control.DelayTime);
        for (int y = 0; y < at.Height; ++y)
            for (int x = 0; x < at.Width; ++x) {
                const int index = image.RasterBits[y * at.Width + x];
                if (index == control.TransparentColor)
                    continue;
                const GifColorType c = gif->SColorMap->Colors[index];
                canvas.setPixel(at.Left + x, at.Top + y, qRgb(c.Red, c.Green, c.Blue));
            }
        result.images.push_back(canvas.copy());
        for (int e = 0; e + 1 < image.ExtensionBlockCount; ++e) {
            const ExtensionBlock& name = image.ExtensionBlocks[e];
            const ExtensionBlock& loops = image.ExtensionBlocks[e + 1];
            if (name.Function == APPLICATION_EXT_FUNC_CODE && name.ByteCount == 11 &&
                std::memcmp(name.Bytes, "NETSCAPE2.0", 11) == 0 && loops.ByteCount == 3 && loops.Bytes[0] == 1)
                result.loopsForever = loops.Bytes[1] == 0 && loops.Bytes[2] == 0;
        }
    }
    result.ok = true;
    DGifCloseFile(gif, &error);
    return result;
}

}  // namespace blikon::testing
