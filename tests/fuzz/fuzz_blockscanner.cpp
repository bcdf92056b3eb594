// Plays arbitrary texts through the block scanner and checks its promises after every
// step: a position is 0 or the 1-based index of the first marker at or behind the old
// position; a group whose value did not decode keeps its lamps, a decoded one shows its
// value by the bit rule; a step decodes exactly what its window shows; every window and
// the status line are valid UTF-8, and a window holds at most three characters.
//
// Input: up to eight segments separated by NUL bytes (the last one takes the rest). A
// segment's first byte controls it: bit 0 resets the scanner first, bits 1 to 3 give
// the number of steps less one. The rest of the segment is the text of those steps, so
// the text changes between segments as an edited code text does.

#include "core/blockscanner.h"
#include "check.h"
#include "core/playback.h"

#include <cstddef>
#include <cstdint>

using namespace blikon;

namespace {

// The 1-based index of the first marker that starts at byte `from` or later, else 0.
FUZZ_UNTRACED std::int64_t nextMarker(std::string_view text, std::string_view marker, std::int64_t from)
{
    for (std::size_t i = static_cast<std::size_t>(from); i + 4 <= text.size(); ++i)
        if (text[i] == marker[0] && text[i + 1] == marker[1] && text[i + 2] == marker[2] && text[i + 3] == marker[3])
            return static_cast<std::int64_t>(i) + 1;
    return 0;
}

// In well-formed UTF-8 a character starts at every byte that is no continuation byte.
FUZZ_UNTRACED bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

// Moves `pos` over up to `count` characters of well-formed UTF-8.
FUZZ_UNTRACED void skipCharacters(std::string_view utf8, std::size_t& pos, int count)
{
    for (; count > 0 && pos < utf8.size(); --count)
        for (++pos; pos < utf8.size() && !startsCharacter(utf8[pos]); ++pos) {
        }
}

// The window of a well-formed text at a position: up to three characters from the
// fourth character of the text (position 0) or from the byte behind the marker.
FUZZ_UNTRACED std::string expectedWindow(std::string_view text, std::int64_t position)
{
    std::size_t pos = 0;
    if (position == 0)
        skipCharacters(text, pos, 3);
    else
        pos = static_cast<std::size_t>(position) + 3;
    if (pos > text.size())
        return {};
    const std::size_t start = pos;
    skipCharacters(text, pos, 3);
    return std::string(text.substr(start, pos - start));
}

FUZZ_UNTRACED std::size_t characterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char byte : utf8)
        count += startsCharacter(byte);
    return count;
}

FUZZ_UNTRACED void checkStep(BlockScanner& scanner, std::string_view text, bool validText, LampStates& lamps)
{
    std::array<std::int64_t, kGroupCount> before{};
    for (int r = 0; r < kGroupCount; ++r)
        before[r] = scanner.position(kScanRegisters[r].reg);
    const LampStates old = lamps;

    const StepValues values = scanner.step(text, lamps);

    for (int r = 0; r < kGroupCount; ++r) {
        const ScanRegister& scan = kScanRegisters[r];
        const std::int64_t position = scanner.position(scan.reg);
        FUZZ_CHECK(position == nextMarker(text, scan.marker, before[r]));

        const std::string window = scanner.window(scan.reg, text);
        FUZZ_CHECK(fuzz::wellFormedUtf8(window));
        FUZZ_CHECK(characterCount(window) <= 3);
        if (validText)
            FUZZ_CHECK(window == expectedWindow(text, position));

        const std::optional<int> expected = fuzz::canonicalValue(scan.reg, window);
        FUZZ_CHECK(values[r].has_value() == expected.has_value());
        for (int bit = 0; bit < kGroups[r].ledCount; ++bit) {
            const Led led{r, bit};
            const bool lit = expected ? ((*expected >> bit) & 1) == 0 : old.isLit(led);
            FUZZ_CHECK(lamps.isLit(led) == lit);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr int kMaxSegments = 8;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    BlockScanner scanner;
    LampStates lamps;
    for (int segments = 1; !input.empty(); ++segments) {
        const std::size_t end = segments == kMaxSegments ? input.size() : std::min(input.find('\0'), input.size());
        const std::string_view segment = input.substr(0, end);
        input.remove_prefix(std::min(end + 1, input.size()));
        if (segment.empty())
            continue;

        const auto control = static_cast<unsigned char>(segment[0]);
        const std::string_view text = segment.substr(1);
        if (control & 1) {
            scanner.reset();
            for (const ScanRegister& scan : kScanRegisters)
                FUZZ_CHECK(scanner.position(scan.reg) == 0);
        }
        const bool validText = fuzz::wellFormedUtf8(text);
        for (int steps = 1 + ((control >> 1) & 7); steps > 0; --steps)
            checkStep(scanner, text, validText, lamps);
        FUZZ_CHECK(fuzz::wellFormedUtf8(statusLine(scanner, text)));
    }
    return 0;
}
