#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>

namespace blikon {

// A named text label in its font and colour, as the splash and About windows show them;
// the text is shown as it is, never read as markup.
QLabel* addTextLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                     const QFont& font, const QColor& colour, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// A named label showing one of the program's pictures, drawn to fill `geometry`.
QLabel* addPictureLabel(QWidget* parent, const char* name, const char* picture, const QRect& geometry);

// The program's version as major.minor.revision ("1.0.8").
[[nodiscard]] QString versionNumber();

}  // namespace blikon
