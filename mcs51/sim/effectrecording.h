#pragma once

// What a program shows on the board, recorded as a row of still images with the time
// each stays, to be played back elsewhere (an animated picture of the effect).

#include "boardsimulation.h"
#include "firmware.h"
#include "lampstates.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace blikon::mcs51 {

// One still of a recording: the lamps the eye sees and for how many machine cycles.
struct RecordedImage {
    LampStates lamps;
    std::uint64_t cycles = 0;
    friend bool operator==(const RecordedImage&, const RecordedImage&) = default;
};

// Runs a program on the simulated board and records what its lamps show.
// - A Blikon program (`loopFrames` given: the frames of its loop) gives one image per
//   frame of one pass through the loop, in the loop's order, each lasting from its
//   arrival at Citac to the next one: what the chip shows once the loop runs.
// - Any other program gives the first kFreeSeconds of its lamps, one image per change,
//   the first one the dark lamps from reset on.
// A recording stops at kMostImages; cut() then says that there would have been more.
// The work comes in slices (recordSome), so that a window can show its progress.
// Example: a program of 3 frames at 1e6 cycles a second gives after recordAll() three
// images of 51,313, 51,313 and 51,320 cycles, their lamps the three frames.
class EffectRecorder {
public:
    static constexpr std::size_t kMostImages = 2000;
    static constexpr double kFreeSeconds = 10.0;
    // About the machine cycles one recordSome() runs.
    static constexpr std::uint64_t kSliceCycles = 1'000'000;

    EffectRecorder(const Firmware& firmware, int ramBytes, double machineCyclesPerSecond,
                   std::optional<std::size_t> loopFrames);

    // Records about kSliceCycles more of board time; true when the recording is complete.
    bool recordSome();
    void recordAll();

    [[nodiscard]] bool done() const { return done_; }
    // How far the recording has come, from 0 to 1.
    [[nodiscard]] double progress() const;
    [[nodiscard]] const std::vector<RecordedImage>& images() const { return images_; }
    [[nodiscard]] bool cut() const { return cut_; }
    [[nodiscard]] double machineCyclesPerSecond() const { return cyclesPerSecond_; }

private:
    void recordLoopFrames();
    void recordChanges();
    void add(const LampStates& lamps, std::uint64_t cycles);

    BoardSimulation board_;
    double cyclesPerSecond_;
    std::optional<std::size_t> loopFrames_;
    std::vector<RecordedImage> images_;
    bool done_ = false;
    bool cut_ = false;
    bool atFirstFrame_ = false;     // a Blikon program has come to its first frame
    std::uint64_t imageStart_ = 0;  // the cycle at which the lamps last changed
    LampStates shown_;              // what they have shown since
    double recorded_ = 0;           // board seconds run by the recording of changes
};

// The delays of a recording's images in hundredths of a second, as an animated picture
// counts them, with the rounding carried over from image to image: the first k delays
// add up to the first k images' time rounded to hundredths, so that the whole lasts what
// the chip takes.
// Example: at 1e6 cycles a second, four images of 51,313 cycles each get 5, 5, 5, 6.
class HundredthsClock {
public:
    explicit HundredthsClock(double machineCyclesPerSecond)
        : cyclesPerSecond_(machineCyclesPerSecond)
    {
    }

    // The delay of the next image, which lasts `cycles`.
    [[nodiscard]] int delayOf(std::uint64_t cycles);

private:
    double cyclesPerSecond_;
    std::uint64_t elapsed_ = 0;  // cycles of the images so far
    long long shown_ = 0;        // hundredths given to them
};

}  // namespace blikon::mcs51
