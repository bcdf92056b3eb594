#include "boardtimeline.h"

#include "mcs51/sim/boardsimulation.h"

#include <algorithm>

namespace blikon {

void BoardTimeline::start(qint64 now, double boardSeconds)
{
    changes_.clear();
    lastRun_ = now;
    boardSeconds_ = pressedAt_ = boardSeconds;
}

void BoardTimeline::runTo(mcs51::BoardSimulation& board, qint64 now)
{
    const qint64 elapsed = std::clamp<qint64>(now - lastRun_, 0, kLongestRun);
    const auto boardTimeAt = [this, elapsed](qint64 at) {
        return boardSeconds_ + double(std::clamp<qint64>(at - lastRun_, 0, elapsed)) * 1e-9 * speed_;
    };
    for (const Change& change : changes_) {
        double at = boardTimeAt(change.at);
        if (change.pressed)
            pressedAt_ = at;
        else
            at = std::max(at, pressedAt_ + kShortestPressSeconds);
        board.advanceTo(at);
        board.setButton(change.pressed);
    }
    changes_.clear();
    // A stretched press may have taken the board beyond this; then it waits for real
    // time to catch up.
    boardSeconds_ += double(elapsed) * 1e-9 * speed_;
    lastRun_ = now;
    board.advanceTo(boardSeconds_);
}

}  // namespace blikon
