#pragma once

#include "boardprogram.h"

#include <QObject>

#include <functional>

class QTimer;

namespace blikon {

class CodeWindow;

// Follows a code window's text for the board window: every change of the text starts
// one single-shot timer again, and when the text has rested for kDelayMilliseconds it is
// built for the board the board window runs (buildProgram) and the build handed on, the
// program or why there is none. Typing therefore costs nothing but the restart of a timer
// until the user pauses.
class CodeFollower : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMilliseconds = 500;

    using Handler = std::function<void(const ProgramBuild&)>;
    using Board = std::function<BoardSettings()>;
    CodeFollower(CodeWindow& window, Board board, Handler handler, QObject* parent);

    // While off, changes of the text are not followed and a waiting assembly is dropped.
    void setFollowing(bool following);
    [[nodiscard]] bool isFollowing() const { return following_; }

    // The text as it is now, built as the timer builds it.
    [[nodiscard]] ProgramBuild buildText() const;

private:
    void assemble();

    CodeWindow& window_;
    Board board_;
    Handler handler_;
    QTimer* delay_;
    bool following_ = true;
};

}  // namespace blikon
