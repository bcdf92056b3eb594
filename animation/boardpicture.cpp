#include "boardpicture.h"

#include "boardlayout.h"
#include "lamp.h"
#include "lampstates.h"

#include <QHash>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace blikon {

namespace {

// The lamps span 360 to 5175 twips across and 120 to 4215 down in a lamp window; the
// picture adds the hexagon's left margin, 360 twips, on every side.
constexpr double kMarginTwips = 360;
constexpr double kLeftTwips = 360 - kMarginTwips;
constexpr double kTopTwips = 120 - kMarginTwips;
constexpr double kWidthTwips = 5175 + kMarginTwips - kLeftTwips;
constexpr double kHeightTwips = 4215 + kMarginTwips - kTopTwips;
constexpr double kPixelsPerTwip = BoardPicture::kWidth / kWidthTwips;

QRectF lampBounds(Led led)
{
    const BoardPlace& place = boardPlace(led);
    return {(place.lamp.left - kLeftTwips) * kPixelsPerTwip, (place.lamp.top - kTopTwips) * kPixelsPerTwip,
            kLampSize * kPixelsPerTwip, kLampSize * kPixelsPerTwip};
}

QImage drawBoard(int height, const QColor& lamp, const QColor& background)
{
    QImage image(BoardPicture::kWidth, height, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    for (Led led : allLeds())
        drawLamp(painter, lampBounds(led), lamp);
    return image;
}

int distance(QRgb a, QRgb b)
{
    const int red = qRed(a) - qRed(b), green = qGreen(a) - qGreen(b), blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

// The most frequent colours of `images`, at most `most`.
std::vector<QRgb> commonColors(const std::vector<const QImage*>& images, int most)
{
    QHash<QRgb, int> counts;
    for (const QImage* image : images)
        for (int y = 0; y < image->height(); ++y)
            for (int x = 0; x < image->width(); ++x)
                ++counts[image->pixel(x, y) | 0xFF000000u];
    std::vector<std::pair<int, QRgb>> byCount;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byCount.emplace_back(-it.value(), it.key());
    std::sort(byCount.begin(), byCount.end());
    std::vector<QRgb> colors;
    for (std::size_t k = 0; k < byCount.size() && int(k) < most; ++k)
        colors.push_back(byCount[k].second);
    return colors;
}

}  // namespace

BoardPicture::BoardPicture(const QColor& lit, const QColor& unlit, const QColor& background)
    : height_(int(std::lround(kHeightTwips * kPixelsPerTwip)))
{
    const QImage litImage = drawBoard(height_, lit, background);
    const QImage unlitImage = drawBoard(height_, unlit, background);
    palette_ = commonColors({&litImage, &unlitImage}, kMostColors);
    allLit_ = indexed(litImage);
    allUnlit_ = indexed(unlitImage);
    for (Led led : allLeds()) {
        const QRect pixels = lampBounds(led).toAlignedRect();
        patches_[ledIndex(led)] = {pixels.left(), pixels.top(), pixels.right() + 1, pixels.bottom() + 1};
    }
}

std::vector<std::uint8_t> BoardPicture::indexed(const QImage& image)
{
    QHash<QRgb, std::uint8_t> nearest;
    std::vector<std::uint8_t> indices;
    indices.reserve(std::size_t(image.width()) * std::size_t(image.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb color = image.pixel(x, y) | 0xFF000000u;
            auto found = nearest.constFind(color);
            if (found == nearest.cend()) {
                const auto best = std::min_element(palette_.begin(), palette_.end(), [color](QRgb a, QRgb b) {
                    return distance(a, color) < distance(b, color);
                });
                found = nearest.insert(color, std::uint8_t(best - palette_.begin()));
            }
            indices.push_back(*found);
        }
    return indices;
}

std::vector<std::uint8_t> BoardPicture::indices(const LampStates& lamps) const
{
    // Lamps do not overlap, so each one's patch comes whole from the picture of all lit
    // or of all unlit lamps; the background is the same in both.
    std::vector<std::uint8_t> result = allUnlit_;
    for (Led led : allLeds()) {
        if (!lamps.isLit(led))
            continue;
        const Patch& patch = patches_[ledIndex(led)];
        for (int y = patch.top; y < patch.bottom; ++y) {
            const std::size_t row = std::size_t(y) * kWidth;
            std::copy(allLit_.begin() + qsizetype(row + patch.left), allLit_.begin() + qsizetype(row + patch.right),
                      result.begin() + qsizetype(row + patch.left));
        }
    }
    return result;
}

QPoint BoardPicture::lampCentre(Led led) { return lampBounds(led).center().toPoint(); }

}  // namespace blikon
