#include "lamp.h"

#include <QPainter>

namespace blikon {

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
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill_);
    // Half a pixel in, so that the one-pixel outline lies wholly inside the widget.
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace blikon
