#pragma once

// The MCS-51 assembler: source text in, code image, Intel HEX, listing, labels and errors
// out. It never throws and never stops on an error: every error is reported with its line,
// with what to write instead where a common slip is recognised.

#include "firmware.h"
#include "intelhex.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace blikon::mcs51 {

struct AssemblerOptions {
    // Generic CALL and JMP always become LCALL and LJMP instead of the shortest form.
    bool longJumps = false;
};

struct AssemblyError {
    int line = 0;  // 1-based
    std::string message;

    bool operator==(const AssemblyError&) const = default;
};

// An error stops the program from being assembled; a warning (code after END) does not.
// The most errors one assembly reports.
inline constexpr std::size_t kMaxErrors = 100;

struct Assembly {
    std::vector<Segment> segments;     // in source order, a new one at every ORG and DS
    std::vector<AssemblyError> errors;  // by line, at most kMaxErrors
    bool moreErrors = false;           // more errors were found than reported
    std::vector<AssemblyError> warnings;  // by line; they leave ok() true
    std::string listing;               // per line: address, bytes, source; errors below their line
    std::vector<Label> labels;         // by address, then by line

    [[nodiscard]] bool ok() const { return errors.empty(); }

    // Highest used code address + 1: what must fit into the chip. 0 for no code.
    [[nodiscard]] std::uint32_t size() const;

    // The 64 KB code memory with the program in it; bytes no segment fills are 0FFh, as
    // in an erased chip. Where segments overlap (an error), the later one wins.
    [[nodiscard]] std::vector<std::uint8_t> image() const;

    // The segments as Intel HEX, as formatIntelHex writes them.
    [[nodiscard]] std::string hex() const { return formatIntelHex(segments); }

    // The code memory and the labels, for the simulator.
    [[nodiscard]] Firmware firmware() const { return {image(), labels}; }
};

// Assembles a source text. Generic CALL and JMP take the shortest form that reaches
// (ACALL or LCALL; SJMP, AJMP or LJMP) unless options.longJumps is set; the passes repeat
// until the addresses settle, a bounded number of times.
// assemble("start: mov A,#1\n sjmp start\nEnd").segments == {{0, {0x74, 0x01, 0x80, 0xFC}}}.
[[nodiscard]] Assembly assemble(std::string_view source, const AssemblerOptions& options = {});

// nearestLabel (firmware.h) over the assembly's labels.
[[nodiscard]] inline const Label* nearestLabel(const Assembly& assembly, std::uint16_t address)
{
    return nearestLabel(assembly.labels, address);
}

}  // namespace blikon::mcs51
