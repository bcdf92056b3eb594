#pragma once

#include "ledgroup.h"

#include <QColor>
#include <QWidget>

#include <array>

namespace blikon {

// One lamp of the animation window: a circle filling the widget, painted opaque in its
// fill colour with a thin dark outline.
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

// The 37 lamps of a window laid out like the board, named after their LEDs ("A0" to
// "E5"), unlit; by ledIndex.
[[nodiscard]] std::array<Lamp*, kLedCount> boardLamps(QWidget* parent);

}  // namespace blikon
