#pragma once

#include "core/blockline.h"

#include <QPixmap>
#include <QStyledItemDelegate>

namespace blikon {

// A frame as a small picture of the board: its 37 LEDs as dots on the hexagon, lit ones
// in the lamps' default red, dark ones dark green. Pictures of equal frames are drawn
// once and kept in the pixmap cache.
[[nodiscard]] QPixmap frameThumbnail(const GroupValues& values, qreal devicePixelRatio);

// The size of frameThumbnail's picture in device-independent pixels.
[[nodiscard]] QSize frameThumbnailSize();

// Paints a row of FrameListModel: the frame's picture with its number under it, on the
// selection's colour when selected, framed in orange when the board window shows it.
// Every row has the same size, so that a view lays out thousands of rows at once.
class FrameThumbnailDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace blikon
