#pragma once

#include <QObject>
#include <QPointer>

#include <string>

namespace blikon {

class FBlikon;

// The code text of the main window that the animation plays, as UTF-8 for the block
// scanner. Reading the editor's text costs a pass over all of it, so the text is read
// again only after the editor's document has reported a change.
class CodeTextSource : public QObject {
    Q_OBJECT
public:
    CodeTextSource(FBlikon& window, QObject* parent);

    // The window's current code text. Throws when the window has been closed.
    [[nodiscard]] const std::string& text();

    // The window itself. Throws when it has been closed.
    [[nodiscard]] FBlikon& window() const;

private:
    QPointer<FBlikon> window_;
    std::string text_;
    bool stale_ = true;
};

}  // namespace blikon
