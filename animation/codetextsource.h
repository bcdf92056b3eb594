#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <string>

namespace blikon {

class CodeWindow;

// The code text of the window that the animation plays, as UTF-8 for the block
// scanner. Reading the editor's text costs a pass over all of it, so the text is read
// again only after the editor's document has reported a change.
class CodeTextSource : public QObject {
    Q_OBJECT
public:
    CodeTextSource(CodeWindow& window, QObject* parent);

    // The window's current code text. Throws when the window has been closed.
    [[nodiscard]] const std::string& text();

    // The window itself. Throws when it has been closed.
    [[nodiscard]] CodeWindow& window() const;

private:
    CodeWindow* window_;
    QPointer<QWidget> open_;  // null once the window has been closed
    std::string text_;
    bool stale_ = true;
};

}  // namespace blikon
