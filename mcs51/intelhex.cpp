#include "intelhex.h"

#include <algorithm>

namespace blikon::mcs51 {

namespace {

constexpr std::size_t kRecordBytes = 16;
constexpr char kDigits[] = "0123456789ABCDEF";

void appendByte(std::string& out, std::uint8_t byte, std::uint8_t& sum)
{
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
    sum = static_cast<std::uint8_t>(sum + byte);
}

void appendRecord(std::string& out, std::uint8_t type, std::uint16_t address, std::span<const std::uint8_t> data)
{
    std::uint8_t sum = 0;
    out += ':';
    appendByte(out, static_cast<std::uint8_t>(data.size()), sum);
    appendByte(out, static_cast<std::uint8_t>(address >> 8), sum);
    appendByte(out, static_cast<std::uint8_t>(address & 0xFF), sum);
    appendByte(out, type, sum);
    for (std::uint8_t byte : data)
        appendByte(out, byte, sum);
    std::uint8_t ignored = 0;
    appendByte(out, static_cast<std::uint8_t>(-sum), ignored);
    out += '\n';
}

std::optional<std::uint8_t> hexByte(std::string_view text, std::size_t at)
{
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    if (at + 2 > text.size())
        return std::nullopt;
    const int high = digit(text[at]);
    const int low = digit(text[at + 1]);
    if (high < 0 || low < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(high << 4 | low);
}

}  // namespace

std::string formatIntelHex(std::span<const Segment> segments)
{
    std::string out;
    for (const Segment& segment : segments) {
        const std::span<const std::uint8_t> bytes(segment.bytes);
        for (std::size_t offset = 0; offset < bytes.size(); offset += kRecordBytes) {
            const std::size_t count = std::min(kRecordBytes, bytes.size() - offset);
            appendRecord(out, 0x00, static_cast<std::uint16_t>(segment.address + offset), bytes.subspan(offset, count));
        }
    }
    appendRecord(out, 0x01, 0, {});
    return out;
}

std::optional<std::vector<Segment>> parseIntelHex(std::string_view text)
{
    std::vector<Segment> segments;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line[0] != ':' || line.size() < 11 || line.size() % 2 == 0)
            return std::nullopt;
        std::vector<std::uint8_t> record;
        for (std::size_t at = 1; at < line.size(); at += 2) {
            const auto byte = hexByte(line, at);
            if (!byte)
                return std::nullopt;
            record.push_back(*byte);
        }
        std::uint8_t sum = 0;
        for (std::uint8_t byte : record)
            sum = static_cast<std::uint8_t>(sum + byte);
        if (sum != 0 || record[0] + 5u != record.size())
            return std::nullopt;
        const std::uint8_t type = record[3];
        if (type == 0x01)
            return segments;
        if (type == 0x00)
            segments.push_back({static_cast<std::uint32_t>(record[1] << 8 | record[2]),
                                {record.begin() + 4, record.end() - 1}});
    }
    return std::nullopt;
}

}  // namespace blikon::mcs51
