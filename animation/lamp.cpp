#include "lamp.h"

#include <QPainter>
#include <QPixmapCache>

namespace blikon {

void drawLamp(QPainter& painter, const QRectF& bounds, const QColor& fill)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    // Half a pixel in, so that the one-pixel outline lies wholly inside.
    painter.drawEllipse(bounds.adjusted(0.5, 0.5, -0.5, -0.5));
}

Lamp::Lamp(const QString& name, const QColor& fill, QWidget* parent)
    : QWidget(parent)
    , fill_(fill)
{
    setObjectName(name);
    setAccessibleName(name);
    setFocusPolicy(Qt::NoFocus);
}

void Lamp::setFillColor(const QColor& color)
{
    if (color == fill_)
        return;
    fill_ = color;
    update();
}

void Lamp::paintEvent(QPaintEvent*)
{
    // Playback repaints many lamps at every step in only two colours, so each drawn
    // circle is kept and copied instead of being drawn again.
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("blikon-lamp-%1-%2x%3-%4")
                            .arg(fill_.rgba())
                            .arg(width())
                            .arg(height())
                            .arg(ratio);
    QPixmap circle;
    if (!QPixmapCache::find(key, &circle)) {
        circle = QPixmap(size() * ratio);
        circle.setDevicePixelRatio(ratio);
        circle.fill(Qt::transparent);
        QPainter painter(&circle);
        drawLamp(painter, rect(), fill_);
        painter.end();
        QPixmapCache::insert(key, circle);
    }
    QPainter(this).drawPixmap(0, 0, circle);
}

}  // namespace blikon
