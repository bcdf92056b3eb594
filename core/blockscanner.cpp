#include "blockscanner.h"

#include "utf8.h"

namespace blikon {

namespace {

constexpr std::size_t kWindowChars = 3;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

const ScanRegister& scanRegister(int reg) { return kScanRegisters[reg - 2]; }

// Takes up to `count` characters from the front of `text`, appending them to `out`
// (when given); returns the number of bytes consumed.
std::size_t takeCharacters(std::string_view text, std::size_t count, std::string* out)
{
    std::size_t offset = 0;
    for (std::size_t taken = 0; taken < count && offset < text.size(); ++taken) {
        const std::size_t length = utf8SequenceLength(text, offset);
        if (out)
            *out += length ? text.substr(offset, length) : kReplacement;
        offset += length ? length : 1;
    }
    return offset;
}

// The code text from the first byte of the value window of a scan position on: right
// behind the marker (four ASCII characters), or behind the first three characters of the
// text at position 0. Empty when that lies beyond the end.
std::string_view windowText(std::string_view codeText, std::int64_t position)
{
    const std::uint64_t start = position == 0 ? takeCharacters(codeText, 3, nullptr)
                                              : static_cast<std::uint64_t>(position) + 3;
    return start < codeText.size() ? codeText.substr(start) : std::string_view{};
}

}  // namespace

void applyValue(int reg, std::uint8_t value, LampStates& lamps)
{
    const int group = scanRegister(reg).group;
    for (int bit = 0; bit < kGroups[group].ledCount; ++bit)
        lamps.set(Led{group, bit}, ((value >> bit) & 1) == 0);
}

std::string valueWindow(std::string_view codeText, std::int64_t position)
{
    std::string window;
    takeCharacters(windowText(codeText, position), kWindowChars, &window);
    return window;
}

StepValues BlockScanner::step(std::string_view codeText, LampStates& lamps)
{
    StepValues values;
    for (std::size_t r = 0; r < kScanRegisters.size(); ++r) {
        const ScanRegister& scan = kScanRegisters[r];
        std::int64_t& position = positions_[r];
        const auto from = static_cast<std::uint64_t>(position);
        const std::size_t found =
            from > codeText.size() ? std::string_view::npos : codeText.find(scan.marker, from);
        position = found == std::string_view::npos ? 0 : static_cast<std::int64_t>(found) + 1;

        // Only windows of three ASCII characters decode, and those are the window's
        // first three bytes, so the bytes decode without building the window.
        values[r] = decodeValue(scan.reg, windowText(codeText, position).substr(0, kWindowChars));
        if (values[r])
            applyValue(scan.reg, *values[r], lamps);
    }
    return values;
}

std::string BlockScanner::window(int reg, std::string_view codeText) const
{
    return valueWindow(codeText, position(reg));
}

}  // namespace blikon
