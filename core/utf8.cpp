#include "utf8.h"

#include <cstdint>
#include <cstring>

namespace blikon {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t utf8SequenceLength(std::string_view bytes, std::size_t pos)
{
    if (pos >= bytes.size())
        return 0;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[pos + i]); };
    const std::size_t left = bytes.size() - pos;
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return left >= 2 && isContinuation(at(1)) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !isContinuation(at(1)) || !isContinuation(at(2)))
            return 0;
        if (lead == 0xE0 && at(1) < 0xA0)  // overlong
            return 0;
        if (lead == 0xED && at(1) >= 0xA0)  // surrogate
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !isContinuation(at(1)) || !isContinuation(at(2)) || !isContinuation(at(3)))
            return 0;
        if (lead == 0xF0 && at(1) < 0x90)  // overlong
            return 0;
        if (lead == 0xF4 && at(1) >= 0x90)  // above U+10FFFF
            return 0;
        return 4;
    }
    return 0;
}

char* writeUtf8(char* out, char32_t c)
{
    const auto put = [&out](char32_t bits) { *out++ = static_cast<char>(bits); };
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = kReplacement;
    if (c < 0x80) {
        put(c);
        return out;
    }
    if (c < 0x800) {
        put(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
    }
    put(0x80 | (c & 0x3F));
    return out;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {  // decoding appends every byte of a file one by one
        out += static_cast<char>(c);
        return;
    }
    char bytes[kMaxUtf8Bytes];
    out.append(bytes, writeUtf8(bytes, c));
}

bool isValidUtf8(std::string_view bytes)
{
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // Code files are mostly ASCII: step over eight plain bytes at a time.
        if (bytes.size() - pos >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + pos, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                pos += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t length = utf8SequenceLength(bytes, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

std::optional<char32_t> nextCodePoint(std::string_view utf8, std::size_t& pos)
{
    if (pos >= utf8.size())
        return std::nullopt;
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    const std::size_t length = utf8SequenceLength(utf8, pos);
    if (length == 0) {
        ++pos;
        return kReplacement;
    }
    char32_t c = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i)
        c = (c << 6) | (static_cast<unsigned char>(utf8[pos + i]) & 0x3F);
    pos += length;
    return c;
}

}  // namespace blikon
