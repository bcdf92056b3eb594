#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

namespace blikon::testing {

// The named child of a window; a test that asks for a child that is not there stops at
// once with the name, instead of crashing on a null pointer later.
template <typename T = QWidget>
T* child(const QObject* parent, const QString& name)
{
    T* found = parent->findChild<T*>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

}  // namespace blikon::testing
