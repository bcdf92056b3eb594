#pragma once

#include "ui/codewindow.h"

namespace blikon {

class CodeDocument;

// A code window with a document: the current file name and saved flag that the file
// commands read and change. The main window is one.
class DocumentWindow : public CodeWindow {
public:
    [[nodiscard]] virtual CodeDocument* document() const = 0;

protected:
    ~DocumentWindow() = default;
};

}  // namespace blikon
