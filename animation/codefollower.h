#pragma once

#include "boardprogram.h"

#include <QObject>

#include <functional>

class QTimer;

namespace blikon {

class CodeWindow;

// Follows a code window's text for the board window: every change of the text starts
// one single-shot timer again, and when the text has rested for kDelayMilliseconds it is
// assembled (with generic jumps as the board settings choose) and the result handed on,
// the program or why there is none. Typing therefore costs nothing but the restart of a
// timer until the user pauses.
class CodeFollower : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMilliseconds = 500;

    using Handler = std::function<void(const Expected<BoardProgram, QString>&)>;
    CodeFollower(CodeWindow& window, Handler handler, QObject* parent);

    // While off, changes of the text are not followed and a waiting assembly is dropped.
    void setFollowing(bool following);
    [[nodiscard]] bool isFollowing() const { return following_; }

    // The text as it is now, assembled as the timer assembles it.
    [[nodiscard]] Expected<BoardProgram, QString> assembleText() const;

private:
    void assemble();

    CodeWindow& window_;
    Handler handler_;
    QTimer* delay_;
    bool following_ = true;
};

}  // namespace blikon
