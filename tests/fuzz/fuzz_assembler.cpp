// The assembler on arbitrary text, with and without long jumps: it ends, and what it
// gives holds together. At most kMaxErrors errors, in line order, each on a line of the
// text with a message of well-formed UTF-8, and so is the warning; segments inside the
// 64 KB memory; the Intel HEX reads back to the same image; the listing has a line for
// every source line; labels by address, and nearestLabel finds the right one. The fuzz
// build runs UBSan without recovery, so the 32-bit arithmetic must stay defined.

#include "mcs51/asm/assembler.h"
#include "check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace blikon;

namespace {

FUZZ_UNTRACED void checkAssembly(std::string_view source, const mcs51::Assembly& assembly)
{
    const auto sourceLines = static_cast<int>(std::count(source.begin(), source.end(), '\n')) +
                             (source.empty() || source.back() == '\n' ? 0 : 1);
    FUZZ_CHECK(assembly.errors.size() <= mcs51::kMaxErrors);
    FUZZ_CHECK(!assembly.moreErrors || assembly.errors.size() == mcs51::kMaxErrors);
    for (const auto* list : {&assembly.errors, &assembly.warnings}) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            const mcs51::AssemblyError& error = (*list)[i];
            FUZZ_CHECK(error.line >= 1 && error.line <= std::max(sourceLines, 1));
            FUZZ_CHECK(i == 0 || (*list)[i - 1].line <= error.line);
            FUZZ_CHECK(!error.message.empty() && error.message.back() == '.');
            FUZZ_CHECK(fuzz::wellFormedUtf8(error.message));
        }
    }
    FUZZ_CHECK(assembly.warnings.size() <= 1);

    for (const mcs51::Segment& segment : assembly.segments)
        FUZZ_CHECK(!segment.bytes.empty() && segment.address + segment.bytes.size() <= 0x10000);
    FUZZ_CHECK(assembly.size() <= 0x10000);
    const auto records = mcs51::parseIntelHex(assembly.hex());
    FUZZ_CHECK(records.has_value());
    std::vector<std::uint8_t> fromHex(0x10000, 0xFF);
    for (const mcs51::Segment& record : *records)
        std::copy(record.bytes.begin(), record.bytes.end(), fromHex.begin() + record.address);
    FUZZ_CHECK(fromHex == assembly.image());

    FUZZ_CHECK(std::count(assembly.listing.begin(), assembly.listing.end(), '\n') >= sourceLines);

    for (std::size_t i = 0; i < assembly.labels.size(); ++i) {
        const mcs51::Label& label = assembly.labels[i];
        FUZZ_CHECK(i == 0 || assembly.labels[i - 1].address <= label.address);
        const mcs51::Label* nearest = mcs51::nearestLabel(assembly, label.address);
        FUZZ_CHECK(nearest != nullptr && nearest->address == label.address && nearest->line <= label.line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    for (const bool longJumps : {false, true})
        checkAssembly(source, mcs51::assemble(source, {.longJumps = longJumps}));
    return 0;
}
