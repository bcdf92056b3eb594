#pragma once

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

namespace blikon {

// A named push button of the program's windows, in their Tahoma font, at `geometry`:
// addPushButton(window, "Command1", "Konec", twipRect(360, 4800, 975, 375)).
QPushButton* addPushButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);

}  // namespace blikon
