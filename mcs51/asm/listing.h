#pragma once

// The listing: every source line with its address and the bytes it produced.

#include "passes.h"
#include "program.h"

#include <span>
#include <string>

namespace blikon::mcs51 {

// One listing line per source line: the address in four hex digits, up to four bytes,
// then the source line; more bytes continue on lines of their own; each error follows its
// line as "*** message", each warning as "*** Upozornění: message". Lines after END have
// no address. `errors` and `warnings` in line order.
// "0000  74 01        start: mov A,#1"
[[nodiscard]] std::string makeListing(const Program& program, const PassResult& pass,
                                      std::span<const AssemblyError> errors, std::span<const AssemblyError> warnings);

}  // namespace blikon::mcs51
