#pragma once

#include <QWidget>

namespace blikon {

// The splash window: the program's name, legal notice and version over its pictures.
// It has no title bar, no buttons and no handlers; the start routine shows and closes it.
class FUvod final : public QWidget {
    Q_OBJECT

public:
    explicit FUvod(QWidget* parent = nullptr);
};

}  // namespace blikon
