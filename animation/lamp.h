#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

namespace blikon {

// A lamp as every lamp window draws it, filling `bounds`: a circle in `fill`, smoothed,
// with a one-pixel black outline lying wholly inside.
void drawLamp(QPainter& painter, const QRectF& bounds, const QColor& fill);

// One lamp of a lamp window: a circle filling the widget, painted opaque in its fill
// colour with a thin dark outline.
class Lamp : public QWidget {
    Q_OBJECT
public:
    Lamp(const QString& name, const QColor& fill, QWidget* parent);

    [[nodiscard]] QColor fillColor() const { return fill_; }

    // Repaints only when the colour changes: playback sets whole groups at every step,
    // and most lamps keep their colour from one frame to the next.
    void setFillColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
};

}  // namespace blikon
