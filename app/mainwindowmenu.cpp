#include "mainwindowmenu.h"

#include "fblikon.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <string>

namespace blikon {

namespace {

QMenu* named(QMenu* menu, const char* name)
{
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

}  // namespace

MainWindowMenu::MainWindowMenu(FBlikon& window, const char* name, const QString& caption)
    : QObject(&window)
    , window_(window)
    , menu_(named(window.menuBar()->addMenu(caption), name))
{
}

QMenu* MainWindowMenu::addSubmenu(QMenu* parent, const char* name, const QString& caption)
{
    return named(parent->addMenu(caption), name);
}

QAction* MainWindowMenu::addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                                 OnFailure policy, std::function<void()> steps)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, handler = std::string(name) + "_Click", policy, steps] {
        HandlerGuard::run(&window_, handler, policy, steps);
    });
    return action;
}

void MainWindowMenu::addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

}  // namespace blikon
