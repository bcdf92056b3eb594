#pragma once

// A program as the chip holds it, whichever way it came: assembled here or read from an
// Intel HEX file. The simulator runs it; the labels only name places for the user.

#include <cstdint>
#include <string>
#include <vector>

namespace blikon::mcs51 {

struct Label {
    std::string name;  // as written where it is defined
    std::uint16_t address = 0;
    int line = 0;
};

struct Firmware {
    std::vector<std::uint8_t> code;  // the 64 KB code memory, 0FFh where nothing is
    std::vector<Label> labels;       // by address, then by line; none for a HEX file
};

// The label at or nearest below `address`, for showing where the program counter is; the
// first defined when several share an address; nullptr when none is at or below it.
// Labels {start 0, loop 5}: nearestLabel(labels, 4)->name == "start".
[[nodiscard]] const Label* nearestLabel(const std::vector<Label>& labels, std::uint16_t address);

}  // namespace blikon::mcs51
