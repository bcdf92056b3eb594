#pragma once

// What the fuzz targets share: a check that stops the run with the broken promise, a
// UTF-8 check of its own, and the value rule built from the other side, as the
// canonical text of each value.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

namespace blikon::fuzz {

#define FUZZ_CHECK(condition)                                                               \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                   \
        }                                                                                   \
    } while (false)

// The checks themselves take no part in the coverage that guides the fuzzer, and their
// comparisons cost no tracing: it is the program's own branches that count.
#if defined(__clang__)
#define FUZZ_UNTRACED __attribute__((no_sanitize("coverage")))
#else
#define FUZZ_UNTRACED
#endif

// Well-formed UTF-8 by decoding, apart from the program's own check: every sequence
// decodes to a code point of its length's range (no overlong form), no surrogate,
// nothing above U+10FFFF, and no sequence is cut off.
FUZZ_UNTRACED inline bool wellFormedUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        constexpr char32_t kLowest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kLowest[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

// The value a window stands for: v when the window is exactly the canonical text of v
// ("0", v in upper-case hex without leading zeros, and "h" after a single digit; a
// two-digit value needs no "h" because the window ends after three characters) and v is
// in the register's range. 0x0A is "0Ah", 0xFF is "0FF".
FUZZ_UNTRACED inline std::optional<int> canonicalValue(int reg, std::string_view window)
{
    // Every canonical text is three ASCII characters: a text is looked up as the number
    // its three bytes make, in the table sorted by that number.
    using Entry = std::pair<std::uint32_t, int>;
    const auto key = [](std::string_view text) {
        return (std::uint32_t(std::uint8_t(text[0])) << 16) | (std::uint32_t(std::uint8_t(text[1])) << 8) |
               std::uint8_t(text[2]);
    };
    static const std::array<Entry, 256> table = [&key] {
        std::array<Entry, 256> all;
        for (int v = 0; v < 256; ++v) {
            char text[8];
            std::snprintf(text, sizeof text, v < 16 ? "0%Xh" : "0%X", v);
            all[v] = {key(text), v};
        }
        std::sort(all.begin(), all.end());
        return all;
    }();
    if (window.size() != 3)
        return std::nullopt;
    const std::uint32_t wanted = key(window);
    std::size_t low = 0, high = table.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (table[middle].first < wanted)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == table.size() || table[low].first != wanted)
        return std::nullopt;
    const int value = table[low].second;
    const int lowest = reg == 5 ? 0x80 : reg == 6 ? 0xC0 : 0x00;
    return value >= lowest ? std::optional<int>(value) : std::nullopt;
}

}  // namespace blikon::fuzz
