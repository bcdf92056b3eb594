#include "effectrecording.h"

#include <algorithm>
#include <cmath>

namespace blikon::mcs51 {

namespace {

// How finely the recording of changes looks at the lamps: a change is stamped with its
// own cycle, and several within one look leave only the last.
constexpr double kLookSeconds = 0.001;

}  // namespace

EffectRecorder::EffectRecorder(const Firmware& firmware, int ramBytes, double machineCyclesPerSecond,
                               std::optional<std::size_t> loopFrames)
    : board_(firmware, ramBytes, machineCyclesPerSecond)
    , cyclesPerSecond_(machineCyclesPerSecond)
    , loopFrames_(loopFrames)
{
}

bool EffectRecorder::recordSome()
{
    if (!done_) {
        if (loopFrames_)
            recordLoopFrames();
        else
            recordChanges();
    }
    return done_;
}

void EffectRecorder::recordAll()
{
    while (!recordSome()) {
    }
}

double EffectRecorder::progress() const
{
    if (done_)
        return 1.0;
    if (loopFrames_)
        return double(images_.size()) / double(std::min(*loopFrames_, kMostImages));
    return recorded_ / kFreeSeconds;
}

void EffectRecorder::add(const LampStates& lamps, std::uint64_t cycles)
{
    if (images_.size() == kMostImages) {
        cut_ = true;
        done_ = true;
        return;
    }
    images_.push_back({lamps, cycles});
}

void EffectRecorder::recordLoopFrames()
{
    const std::uint64_t sliceEnd = board_.cycles() + kSliceCycles;
    if (!atFirstFrame_) {
        atFirstFrame_ = board_.runToNextFrame();
        if (!atFirstFrame_) {
            done_ = true;
            return;
        }
    }
    // At each frame's start the lamps still show the frame before it.
    while (!done_ && board_.cycles() < sliceEnd) {
        if (images_.size() == *loopFrames_ || !board_.runToNextFrame()) {
            done_ = true;
            return;
        }
        add(board_.lamps(), board_.lastFrameCycles().value_or(0));
    }
}

void EffectRecorder::recordChanges()
{
    const std::uint64_t end = std::uint64_t(std::llround(kFreeSeconds * cyclesPerSecond_));
    const std::uint64_t sliceEnd = board_.cycles() + kSliceCycles;
    while (!done_ && board_.cycles() < sliceEnd) {
        recorded_ = std::min(recorded_ + kLookSeconds, kFreeSeconds);
        board_.advanceTo(recorded_);
        if (board_.lamps() != shown_) {
            const std::uint64_t change = std::min(board_.lastLampChangeCycle(), end);
            add(shown_, change - imageStart_);
            imageStart_ = change;
            shown_ = board_.lamps();
        }
        if (!done_ && recorded_ >= kFreeSeconds) {
            add(shown_, end - imageStart_);
            done_ = true;
        }
    }
}

int HundredthsClock::delayOf(std::uint64_t cycles)
{
    elapsed_ += cycles;
    const long long until = std::llround(double(elapsed_) * 100.0 / cyclesPerSecond_);
    const long long delay = until - shown_;
    shown_ = until;
    return int(delay);
}

}  // namespace blikon::mcs51
