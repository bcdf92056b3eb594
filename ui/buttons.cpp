#include "buttons.h"

#include "fonts.h"

#include <QPushButton>

namespace blikon {

QPushButton* addPushButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFont(tahomaFont());
    return button;
}

}  // namespace blikon
