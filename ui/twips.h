#pragma once

#include <QRect>
#include <QtGlobal>

namespace blikon {

// Window layouts are given in twips, 1/1440 inch; at the usual 96 dpi a pixel is 15 twips.
// Qt scales the pixels on high-density screens.
inline constexpr double kTwipsPerPixel = 15.0;

[[nodiscard]] inline int twipsToPixels(int twips) { return qRound(twips / kTwipsPerPixel); }

[[nodiscard]] inline QRect twipRect(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

}  // namespace blikon
