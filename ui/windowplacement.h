#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace blikon {

// Where a window with a frame of `frame` goes beside the window whose frame is `owner`,
// so that it covers neither that window nor any of `taken` (the frames of the other
// windows beside it), as far as `screen` allows: right of the owner at its top, else
// below the windows taken there, else left of it the same way, else beside the windows
// taken, the nearest to the owner first. Where no place is free:
// right of the owner (left when that leaves the screen), kept on the screen.
// With an owner at (0, 0, 400 x 300) on a screen of 1280 x 1024 and nothing taken, a
// window goes to (408, 0); with (408, 0, 300 x 200) taken, to (408, 208).
[[nodiscard]] QPoint placeBeside(const QRect& owner, const QSize& frame, const QList<QRect>& taken,
                                 const QRect& screen);

// Where a new window with a frame of `frame` goes when opened from the window whose
// frame is `from`: down and right of it by a title bar's height, so that both are seen;
// at the screen's top left when that would leave the screen.
// From (100, 50) with a screen of 1280 x 1024 it is (130, 80).
[[nodiscard]] QPoint placeCascaded(const QRect& from, const QSize& frame, const QRect& screen);

// Moves `window`, not yet shown, beside `owner` (see placeBeside), clear of the other
// windows of `owner` that are open.
void moveBeside(QWidget& window, const QWidget& owner);
// Moves `window`, not yet shown, down and right of `from` (see placeCascaded).
void moveCascaded(QWidget& window, const QWidget& from);

}  // namespace blikon
