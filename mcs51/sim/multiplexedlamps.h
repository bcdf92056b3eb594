#pragma once

// The 37 lamps of the board as the eye sees them while the program multiplexes the five
// LED groups: P3 selects one group at a time and P1 holds its byte, and the eye merges
// the quickly changing pictures into one.

#include "cpu.h"
#include "lampstates.h"

#include <array>
#include <cstdint>

namespace blikon::mcs51 {

// The group that a P3 latch value selects: 0x47, 0x4B, 0x53, 0x63 and 0xC3 select the
// groups A to E (0 to 4); any other value selects none (-1), 0x43 among them.
[[nodiscard]] int selectedGroup(std::uint8_t p3);

// What the eye sees, defined over machine cycles:
// - While P3 selects a group, each LED of the group is lit for the cycles in which its
//   bit of P1 is 0 (LED bit n is bit n of P1).
// - A multiplexing cycle is complete when every group has been selected since the last
//   complete cycle and the selection then moves on (to another group or to none).
// - A lamp is shown lit when its bit was 0 for at least half of the cycles in which its
//   group was selected in the last complete cycle. So the few cycles after P3 has
//   selected the next group, before P1 follows with that group's byte, do not show the
//   previous group's byte.
// - A cycle that has lasted `eyeCycles` without completing ends anyway: the groups it
//   did not select are dark. A program that stops multiplexing (the board's button held
//   in a Blikon program, with P3 selecting no group) so goes dark, as on the board.
// - Until the first cycle ends every lamp is dark.
// Example: P3 = 47h with P1 = 0FEh for 190 cycles, then 4Bh, 53h, 63h and C3h with P1 =
// 0FFh for 190 cycles each, then P3 = 43h: from that write on, A0 alone is lit.
class MultiplexedLamps {
public:
    explicit MultiplexedLamps(std::uint64_t eyeCycles);

    // All dark, ports at their reset value 0FFh, at cycle 0.
    void reset();

    // A write of a port latch by the program; writes come in the order of their cycles.
    void write(const PortWrite& write);
    // Lets the time up to `cycle` pass with the ports as they are.
    void advanceTo(std::uint64_t cycle);

    [[nodiscard]] const LampStates& shown() const { return shown_; }
    // How often the shown lamps have changed since reset, and the cycle of the last
    // change and of the one before it.
    [[nodiscard]] std::uint64_t changes() const { return changes_; }
    [[nodiscard]] std::uint64_t lastChange() const { return lastChange_; }
    [[nodiscard]] std::uint64_t previousChange() const { return previousChange_; }
    // The cycle where the last multiplexing cycle ended (and the current one began); 0
    // before the first.
    [[nodiscard]] std::uint64_t lastCycleEnd() const { return cycleStart_; }

private:
    void endCycle(std::uint64_t cycle);

    std::uint64_t eyeCycles_;
    std::uint8_t p1_ = 0xFF;
    std::uint8_t p3_ = 0xFF;
    std::uint64_t now_ = 0;         // the time accounted for
    std::uint64_t cycleStart_ = 0;  // where the current multiplexing cycle began
    unsigned seen_ = 0;             // bit g: group g was selected in the current cycle
    std::array<std::uint64_t, kGroupCount> selected_{};        // cycles each group was selected
    std::array<std::array<std::uint64_t, 8>, kGroupCount> low_{};  // cycles each bit was 0 meanwhile
    LampStates shown_;
    std::uint64_t changes_ = 0;
    std::uint64_t lastChange_ = 0;
    std::uint64_t previousChange_ = 0;
};

}  // namespace blikon::mcs51
