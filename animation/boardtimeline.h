#pragma once

#include <QtGlobal>

#include <vector>

namespace blikon {

namespace mcs51 {
class BoardSimulation;
}

// The board's time against real time, for a window that runs the board on a timer.
// Each run lets the board go on as far as real time has gone since the run before,
// times the speed; a run covers at most kLongestRun of real time, so that a window that
// stalled does not make the board race. The presses and releases of the board's button
// are stamped with their real time and reach the board at that moment in board time,
// however many of them fall between two runs; a press lasts at least kShortestPress of
// board time, long enough for a program that polls the pin. Real times are nanoseconds
// of a monotonic clock.
class BoardTimeline {
public:
    static constexpr qint64 kLongestRun = 100'000'000;
    static constexpr double kShortestPressSeconds = 0.010;

    // From real time `now` on, board time flows on from `boardSeconds`: at the start, after
    // a reset or a new program (0), and when a pause ends (where the board stands).
    // Changes of the button not run yet are dropped; the board keeps the button as it is.
    void start(qint64 now, double boardSeconds);

    // Board seconds per real second from the next run on.
    void setSpeed(double speed) { speed_ = speed; }

    // The button was pressed or released at real time `at`.
    void stamp(bool pressed, qint64 at) { changes_.push_back({pressed, at}); }

    // Runs `board` up to real time `now`, with the button changes stamped since.
    void runTo(mcs51::BoardSimulation& board, qint64 now);

private:
    struct Change {
        bool pressed = false;
        qint64 at = 0;
    };

    std::vector<Change> changes_;
    qint64 lastRun_ = 0;       // real time
    double boardSeconds_ = 0;  // board time at lastRun_
    double pressedAt_ = 0;     // board time of the last press
    double speed_ = 1.0;
};

}  // namespace blikon
