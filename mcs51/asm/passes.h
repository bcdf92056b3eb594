#pragma once

// The passes over a parsed program: addresses, symbol values, generic jump forms and the
// bytes, repeated until nothing changes.

#include "assembler.h"
#include "program.h"

#include <cstdint>
#include <vector>

namespace blikon::mcs51 {

// Bytes that one ORG or DS stretch emitted: `stream[begin, end)` at `address`.
struct Run {
    std::uint32_t address = 0;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

// What the last pass produced.
struct PassResult {
    std::vector<std::uint8_t> stream;     // every emitted byte, in source order
    std::vector<Run> runs;
    std::vector<AssemblyError> errors;    // in line order, at most kMaxErrors + 1
    std::vector<std::int64_t> addresses;  // per statement, its address; -1 after END
    std::vector<std::uint32_t> streamAt;  // per statement, its first byte in `stream`, and the end
};

// Runs the passes over `program` until its addresses and values settle (at most a bounded
// number: generic jumps may change form freely at first, then only grow, and finally all
// become long). Errors of the settled pass only.
[[nodiscard]] PassResult runPasses(const Program& program, const AssemblerOptions& options);

}  // namespace blikon::mcs51
