#pragma once

// The ground of the main window's tests: the fixture, the window, and its parts by name.

#include "codeeditor.h"
#include "fblikon.h"
#include "findchild.h"
#include "windowtest.h"

#include <QAction>
#include <QLabel>
#include <QObject>
#include <QPointer>

#include <optional>
#include <string>

namespace blikon::testing {

// A test class of the main window derives from this; its init() makes `fx_` and
// `window_` (openWindow), and its cleanup() resets `fx_`, which deletes the window.
class MainWindowTest : public QObject {
protected:
    // A fresh fixture and main window, as init() mostly begins.
    void openWindow()
    {
        fx_.emplace();
        window_ = new FBlikon;
    }

    [[nodiscard]] FBlikon& window() const { return *window_; }
    [[nodiscard]] CodeEditor* editor() const { return child<CodeEditor>(window_, QStringLiteral("Text1")); }
    [[nodiscard]] QAction* action(const QString& name) const { return child<QAction>(window_, name); }
    void trigger(const QString& item) const { action(item)->trigger(); }
    [[nodiscard]] QString label() const { return child<QLabel>(window_, QStringLiteral("Label1"))->text(); }
    [[nodiscard]] std::string code() const { return window().codeText().toStdString(); }

    std::optional<WindowTestFixture> fx_;
    QPointer<FBlikon> window_;
};

}  // namespace blikon::testing
