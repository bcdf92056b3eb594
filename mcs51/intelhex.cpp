#include "intelhex.h"

#include "czechwording.h"
#include "hexdigit.h"

#include <algorithm>

namespace blikon::mcs51 {

namespace {

constexpr std::size_t kRecordBytes = 16;
constexpr char kDigits[] = "0123456789ABCDEF";

constexpr std::uint64_t kCodeMemory = 0x10000;  // the 8051's 64 KB of code

enum RecordType : std::uint8_t {
    kData = 0x00,
    kEnd = 0x01,
    kSegmentAddress = 0x02,
    kSegmentStart = 0x03,
    kLinearAddress = 0x04,
    kLinearStart = 0x05,
};

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

// A number of bytes in Czech: "1 bajt", "3 bajty", "16 bajtů".
std::string bytesText(std::size_t count)
{
    return std::to_string(count) + ' ' + std::string(czech::plural(std::int64_t(count), "bajt", "bajty", "bajtů"));
}

// Two upper-case hex digits: "5A".
std::string hexByteText(std::uint8_t byte) { return {kDigits[byte >> 4], kDigits[byte & 0x0F]}; }

// An address as the assembler writes it: "10000h", "0FFFFh".
std::string addressText(std::uint64_t address)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[address & 0x0F]);
        address >>= 4;
    } while (address != 0);
    return (digits.front() > '9' ? "0" : "") + digits + "h";
}

// The character at a line's place for a message: "„G“", or its code when it is no
// printable ASCII.
std::string characterText(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte > ' ' && byte < 0x7F)
        return std::string("znak „") + c + "“";
    return "znak s kódem " + hexByteText(byte) + "h";
}

// A record: its byte count, 16-bit address, type and data, checked for everything one
// line can tell.
struct Record {
    std::uint16_t address = 0;
    std::uint8_t type = 0;
    std::vector<std::uint8_t> data;
};

Expected<Record, std::string> readRecord(std::string_view line)
{
    if (line.front() != ':')
        return std::string("řádek není záznam Intel HEX: nezačíná dvojtečkou.");
    for (std::size_t at = 1; at < line.size(); ++at)
        if (hexDigitValue(line[at]) < 0)
            return characterText(line[at]) + " na " + std::to_string(at + 1) + ". místě není šestnáctková číslice.";
    const std::size_t digits = line.size() - 1;
    if (digits % 2 != 0)
        return "záznam má lichý počet číslic (" + std::to_string(digits) + ").";
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 1; at < line.size(); at += 2)
        bytes.push_back(static_cast<std::uint8_t>(hexDigitValue(line[at]) << 4 | hexDigitValue(line[at + 1])));
    constexpr std::size_t kFrame = 5;  // count, address, type, checksum
    if (bytes.size() < kFrame)
        return "záznam je příliš krátký: i prázdný má 5 bajtů (délka, adresa, typ, kontrolní součet), tento " +
               bytesText(bytes.size()) + ".";
    if (bytes.size() != bytes[0] + kFrame)
        return "délka nesouhlasí: záznam hlásí " + bytesText(bytes[0]) + " dat, nese " +
               bytesText(bytes.size() - kFrame) + ".";
    std::uint8_t sum = 0;
    for (std::size_t k = 0; k + 1 < bytes.size(); ++k)
        sum = static_cast<std::uint8_t>(sum + bytes[k]);
    const auto expected = static_cast<std::uint8_t>(-sum);
    if (bytes.back() != expected)
        return "kontrolní součet je " + hexByteText(bytes.back()) + ", má být " + hexByteText(expected) + ".";
    return Record{static_cast<std::uint16_t>(bytes[1] << 8 | bytes[2]), bytes[3], {bytes.begin() + 4, bytes.end() - 1}};
}

// The problem with a record of a known type and the wrong number of data bytes, or empty.
std::string lengthProblem(const Record& record)
{
    std::size_t wanted = 0;
    switch (record.type) {
    case kData: return {};
    case kEnd:
        return record.data.empty() ? std::string() : "koncový záznam nesmí nést data.";
    case kSegmentAddress: case kLinearAddress: wanted = 2; break;
    case kSegmentStart: case kLinearStart: wanted = 4; break;
    default: return "neznámý typ záznamu " + hexByteText(record.type) + ".";
    }
    if (record.data.size() == wanted)
        return {};
    return "záznam typu " + hexByteText(record.type) + " má nést " + bytesText(wanted) + ", nese " +
           bytesText(record.data.size()) + ".";
}

// The first two data bytes as one big-endian number: the value of an address record.
std::uint64_t wordOf(const std::vector<std::uint8_t>& data) { return std::uint64_t{data[0]} << 8 | data[1]; }

// The next line of `text` from `at` on, moving `at` behind its line end (LF, CR LF or
// CR); blanks at its end are dropped.
std::string_view nextLine(std::string_view text, std::size_t& at)
{
    const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

}  // namespace

std::string formatIntelHex(std::span<const Segment> segments)
{
    std::string out;
    for (const Segment& segment : segments) {
        const std::span<const std::uint8_t> bytes(segment.bytes);
        for (std::size_t offset = 0; offset < bytes.size(); offset += kRecordBytes) {
            const std::size_t count = std::min(kRecordBytes, bytes.size() - offset);
            appendRecord(out, kData, static_cast<std::uint16_t>(segment.address + offset), bytes.subspan(offset, count));
        }
    }
    appendRecord(out, kEnd, 0, {});
    return out;
}

Expected<std::vector<Segment>> parseIntelHex(std::string_view text)
{
    std::vector<Segment> segments;
    std::uint64_t base = 0;
    std::size_t lastRecordLine = 0;
    std::size_t endLine = 0;
    std::size_t lineNumber = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view line = nextLine(text, at);
        ++lineNumber;
        if (line.empty())
            continue;
        if (endLine != 0)
            return LineProblem{lineNumber, "za koncovým záznamem (řádek " + std::to_string(endLine) +
                                               ") už nic být nemá."};
        Expected<Record, std::string> record = readRecord(line);
        if (!record)
            return LineProblem{lineNumber, record.error()};
        if (std::string problem = lengthProblem(*record); !problem.empty())
            return LineProblem{lineNumber, problem};
        lastRecordLine = lineNumber;
        const std::vector<std::uint8_t>& data = record->data;
        switch (record->type) {
        case kData:
            if (!data.empty()) {
                const std::uint64_t address = base + record->address;
                if (address + data.size() > kCodeMemory)
                    return LineProblem{lineNumber, "data na adrese " + addressText(std::max(address, kCodeMemory)) +
                                                       " leží za koncem kódové paměti 8051 (0FFFFh)."};
                segments.push_back({static_cast<std::uint32_t>(address), data});
            }
            break;
        case kEnd: endLine = lineNumber; break;
        case kSegmentAddress: base = wordOf(data) << 4; break;
        case kLinearAddress: base = wordOf(data) << 16; break;
        default: break;  // a start address: the 8051 starts at 0
        }
    }
    if (lastRecordLine == 0)
        return LineProblem{1, "soubor je prázdný: nemá jediný záznam Intel HEX."};
    if (endLine == 0)
        return LineProblem{lastRecordLine, "soubor tady končí bez koncového záznamu :00000001FF."};
    return segments;
}

}  // namespace blikon::mcs51
