#pragma once

#include "handlerguard.h"

#include <QObject>

#include <functional>

class QAction;
class QKeySequence;
class QMenu;

namespace blikon {

class FBlikon;

// What every menu of the main window is made of: the class of one menu builds it at the
// end of the window's menu bar, names each of its items and separators, and holds the
// handlers that its items call. It is a child of the window and lives as long as it.
class MainWindowMenu : public QObject {
    Q_OBJECT
protected:
    MainWindowMenu(FBlikon& window, const char* name, const QString& caption);

    [[nodiscard]] FBlikon& window() const { return window_; }
    [[nodiscard]] QMenu* menu() const { return menu_; }

    // A submenu at the end of `parent`; the submenu and its item both carry `name`.
    QMenu* addSubmenu(QMenu* parent, const char* name, const QString& caption);

    // An item whose steps run as the event handler "<name>_Click" with `policy`, the one
    // place that says what a failure of the item tells the user.
    QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                     OnFailure policy, std::function<void()> steps);

    void addSeparator(QMenu* menu, const char* name);

private:
    FBlikon& window_;
    QMenu* menu_;
};

}  // namespace blikon
