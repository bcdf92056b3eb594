#pragma once

// The board running a program: the 8051 in board time, its lamps as the eye sees them,
// the frames of the effect and the board's button on P3.0.

#include "cpu.h"
#include "firmware.h"
#include "multiplexedlamps.h"

#include <cstdint>
#include <optional>

namespace blikon::mcs51 {

// Where frames start: at each arrival of the program counter at the label "Citac" (any
// letter case), which a Blikon program calls once a frame; in a program without that
// label, at each change of the lamps the eye sees.
// Example: frameStartLabel({{"CITAC", 0x40, 9}})->address == 0x40.
[[nodiscard]] const Label* frameStartLabel(const std::vector<Label>& labels);

// Where a Blikon program starts its effect: the label "start0" (any letter case), at
// address 0, to which the board's button sends it back. Null when there is none.
// Example: loopStartLabel({{"Start0", 0, 1}})->address == 0.
[[nodiscard]] const Label* loopStartLabel(const std::vector<Label>& labels);

class BoardSimulation {
public:
    // How long the eye waits for a multiplexing cycle to complete (see MultiplexedLamps).
    static constexpr double kEyeSeconds = 0.02;
    // The longest board time that one runToNextFrame() runs.
    static constexpr double kLongestStepSeconds = 5.0;

    // The program on a chip with `ramBytes` of internal RAM, at
    // `machineCyclesPerSecond` (a 12 MHz crystal makes 1,000,000), just out of reset.
    // This allocates the chip; nothing allocates while it runs.
    // Example: BoardSimulation board(assembly.firmware(), 128, 1e6); board.advance(0.5); then
    // board.seconds() is 0.5 (to the instruction) and board.lamps() what the board shows.
    BoardSimulation(const Firmware& firmware, int ramBytes, double machineCyclesPerSecond);

    // The reset pin: the program starts again at address 0 in board time 0, the lamps
    // dark until the first multiplexing cycle, no frame yet. The button stays as it is.
    void reset();

    // The board's button pulls P3.0 low while pressed.
    void setButton(bool pressed);

    // Lets `seconds` of board time pass. The instructions never stop in the middle, so a
    // call may run a little beyond; the next one runs that much less, so that many short
    // calls add up to the same board time as one long call.
    void advance(double seconds);
    // Lets board time pass until `seconds` after reset, in the same way; nothing when
    // the board has got there already. advance(0.3) then advanceTo(0.2) runs nothing more.
    void advanceTo(double seconds);

    // Runs until the next frame starts (see frameStartLabel), at most
    // kLongestStepSeconds; false when no frame started in that time.
    bool runToNextFrame();
    // Whether the lamps show the frame that started last: a multiplexing cycle has ended
    // since its start. At its start, the eye still sees the frame before. True before
    // the first frame and where frames start as the lamps change.
    [[nodiscard]] bool showsLatestFrame() const;
    // Runs on until showsLatestFrame(), at most kEyeSeconds: after runToNextFrame(), the
    // lamps show the frame it ran to.
    void runUntilLatestFrameShows();

    [[nodiscard]] const LampStates& lamps() const { return lamps_.shown(); }
    // The machine cycle at which lamps() last changed; 0 before the first change.
    [[nodiscard]] std::uint64_t lastLampChangeCycle() const { return lamps_.lastChange(); }
    [[nodiscard]] std::uint64_t cycles() const { return cpu_.cycles(); }
    [[nodiscard]] double seconds() const { return double(cpu_.cycles()) / cyclesPerSecond_; }
    [[nodiscard]] std::uint16_t pc() const { return cpu_.pc(); }

    // Frames started since reset, and the length of the last complete one: the machine
    // cycles between the two latest frame starts; nothing before the second start.
    [[nodiscard]] std::uint64_t frameCount() const;
    [[nodiscard]] std::optional<std::uint64_t> lastFrameCycles() const;
    [[nodiscard]] std::optional<double> lastFrameSeconds() const;
    [[nodiscard]] bool framesStartAtLabel() const { return frameAddress_ >= 0; }

    // Arrivals at "Citac" since the program last came to its start (loopStartLabel), or
    // since reset: 1 while a Blikon program shows its first frame, 61 while it shows the
    // first frame a second time round a loop of 60. The button sends the program through
    // its start again, so the count starts over there.
    [[nodiscard]] std::uint64_t framesSinceStart() const { return labelFrames_ - framesAtStart_; }

private:
    void runUntil(std::uint64_t endCycle, bool stopAtFrame);
    void runInstruction();  // one instruction, counting the frame and loop starts
    void readPortWrites();

    Cpu cpu_;
    MultiplexedLamps lamps_;
    double cyclesPerSecond_;
    double target_ = 0;      // the board time that advance() has reached, in cycles
    int frameAddress_ = -1;  // of "Citac", -1 without it
    int startAddress_ = -1;  // of "start0", -1 without it
    std::uint64_t framesAtStart_ = 0;  // labelFrames_ at the last arrival there
    std::uint64_t labelFrames_ = 0;
    std::uint64_t lastFrameStart_ = 0;
    std::uint64_t previousFrameStart_ = 0;
};

}  // namespace blikon::mcs51
