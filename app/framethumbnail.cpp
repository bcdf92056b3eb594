#include "framethumbnail.h"

#include "core/boardlayout.h"
#include "ui/commondialog.h"
#include "framelistmodel.h"
#include "core/playback.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>

#include <cmath>

namespace blikon {

namespace {

// The hexagon on a regular grid: neighbours in a row kAcross apart, rows kDown apart.
constexpr qreal kAcross = 9.0;
constexpr qreal kDown = kAcross * 0.8660254037844386;  // sqrt(3) / 2
constexpr qreal kDot = 7.0;
constexpr int kMargin = 3;
constexpr int kPadding = 4;  // around the picture and the number, within a row's cell

QPointF dotCentre(const BoardPlace& place)
{
    return {kMargin + kDot / 2 + gridHalfSteps(place) * kAcross / 2, kMargin + kDot / 2 + (place.row - 1) * kDown};
}

QPixmap drawThumbnail(const GroupValues& values, qreal devicePixelRatio)
{
    const QSize size = frameThumbnailSize();
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor lit = unpackColor(kDefaultLampColor);
    const QColor dark = unpackColor(kUnlitLampColor);
    for (const BoardPlace& place : boardLayout()) {
        const bool isLit = (values[place.led.group] & ledWeight(place.led)) == 0;
        painter.setBrush(isLit ? lit : dark);
        painter.drawEllipse(dotCentre(place), kDot / 2, kDot / 2);
    }
    return pixmap;
}

}  // namespace

QSize frameThumbnailSize()
{
    const int width = static_cast<int>(std::ceil(2 * kMargin + kDot + 12 * kAcross / 2));
    const int height = static_cast<int>(std::ceil(2 * kMargin + kDot + (kRowCount - 1) * kDown));
    return {width, height};
}

QPixmap frameThumbnail(const GroupValues& values, qreal devicePixelRatio)
{
    const QString key = QStringLiteral("blikon-snimek-%1-%2").arg(packValues(values), 10, 16, QLatin1Char('0')).arg(devicePixelRatio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = drawThumbnail(values, devicePixelRatio);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

void FrameThumbnailDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, item.widget);

    const QRect cell = option.rect;
    const QSize picture = frameThumbnailSize();
    const QPoint pictureAt(cell.left() + (cell.width() - picture.width()) / 2, cell.top() + kPadding);
    painter->drawPixmap(pictureAt, frameThumbnail(unpackValues(index.data(FrameListModel::ValuesRole).toULongLong()),
                                                  painter->device()->devicePixelRatioF()));

    const QRect numberRect(cell.left(), pictureAt.y() + picture.height(), cell.width(),
                           cell.bottom() - pictureAt.y() - picture.height() - kPadding / 2);
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(numberRect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    if (index.data(FrameListModel::BoardShownRole).toBool()) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(QColor(255, 140, 0), 3));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(cell).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
    }
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = cell.adjusted(2, 2, -2, -2);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, item.widget);
    }
}

QSize FrameThumbnailDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QSize picture = frameThumbnailSize();
    return {picture.width() + 2 * kPadding, kPadding + picture.height() + option.fontMetrics.height() + kPadding};
}

}  // namespace blikon
