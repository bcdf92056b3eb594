#pragma once

class QWidget;

namespace blikon {

class CodeEditor;
class CommonDialog;

// A window that holds a program's code text in a code editor, as the code that works
// on it from outside sees it: the animation plays its text and takes its title, icon
// and colour dialog; the print command prints its text. The main window is one. The
// window itself is widget(): dialogs and messages show over it, and code that keeps a
// CodeWindow sees it closed through a QPointer to it.
class CodeWindow {
public:
    [[nodiscard]] virtual QWidget* widget() = 0;
    [[nodiscard]] virtual CodeEditor* editor() const = 0;
    [[nodiscard]] virtual CommonDialog* commonDialog() const = 0;

protected:
    ~CodeWindow() = default;
};

}  // namespace blikon
