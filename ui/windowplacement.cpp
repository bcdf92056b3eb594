#include "windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace blikon {

namespace {

constexpr int kGap = 8;       // between two windows side by side
constexpr int kCascade = 30;  // a title bar's height

// The part of the window's screen that windows may take.
QRect roomOf(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen->availableGeometry();
}

// The frame around `window` is not made before it is shown: as wide as the one of
// `shown`.
QSize frameSize(const QWidget& window, const QWidget& shown)
{
    return window.size() + shown.frameGeometry().size() - shown.size();
}

bool isFree(const QRect& place, const QRect& owner, const QList<QRect>& taken, const QRect& screen)
{
    if (!screen.contains(place) || place.intersects(owner))
        return false;
    return std::none_of(taken.begin(), taken.end(), [&place](const QRect& other) { return place.intersects(other); });
}

// The first free place in the column at `left`: at the owner's top, or below a window
// taken there.
std::optional<QPoint> freeInColumn(int left, const QRect& owner, const QSize& frame, const QList<QRect>& taken,
                                   const QRect& screen)
{
    QList<int> tops{std::max(owner.top(), screen.top())};
    for (const QRect& other : taken)
        tops.append(other.bottom() + 1 + kGap);
    std::sort(tops.begin(), tops.end());
    for (int top : tops)
        if (const QRect place(QPoint(left, top), frame); isFree(place, owner, taken, screen))
            return place.topLeft();
    return std::nullopt;
}

}  // namespace

QPoint placeBeside(const QRect& owner, const QSize& frame, const QList<QRect>& taken, const QRect& screen)
{
    const int right = owner.right() + 1 + kGap;
    const int left = owner.left() - kGap - frame.width();
    // Beside the owner, then beside the windows taken, nearest first.
    QList<int> columns{right, left};
    for (const QRect& other : taken)
        columns << other.right() + 1 + kGap << other.left() - kGap - frame.width();
    std::stable_sort(columns.begin() + 2, columns.end(), [&owner](int a, int b) {
        return std::abs(a - owner.left()) < std::abs(b - owner.left());
    });
    for (int column : columns)
        if (const std::optional<QPoint> place = freeInColumn(column, owner, frame, taken, screen))
            return *place;
    const int x = right + frame.width() <= screen.right() + 1 || left < screen.left() ? right : left;
    return {std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - frame.width())),
            std::clamp(owner.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - frame.height()))};
}

QPoint placeCascaded(const QRect& from, const QSize& frame, const QRect& screen)
{
    const QPoint place = from.topLeft() + QPoint(kCascade, kCascade);
    return screen.contains(QRect(place, frame)) ? place : screen.topLeft();
}

void moveBeside(QWidget& window, const QWidget& owner)
{
    QList<QRect> taken;
    for (const QWidget* other : owner.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (other != &window && other->isWindow() && other->isVisible())
            taken.append(other->frameGeometry());
    window.move(placeBeside(owner.frameGeometry(), frameSize(window, owner), taken, roomOf(owner)));
}

void moveCascaded(QWidget& window, const QWidget& from)
{
    window.move(placeCascaded(from.frameGeometry(), frameSize(window, from), roomOf(from)));
}

}  // namespace blikon
