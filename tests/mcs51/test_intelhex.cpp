#include "intelhex.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace blikon::mcs51 {
namespace {

// Every byte of the segments with its address, in order.
std::vector<std::pair<std::uint32_t, std::uint8_t>> bytesOf(const std::vector<Segment>& segments)
{
    std::vector<std::pair<std::uint32_t, std::uint8_t>> bytes;
    for (const Segment& segment : segments)
        for (std::size_t k = 0; k < segment.bytes.size(); ++k)
            bytes.emplace_back(segment.address + static_cast<std::uint32_t>(k), segment.bytes[k]);
    return bytes;
}

// A record line with its checksum: record(0x00, 0x1234, {1, 2}) is ":021234000102B5".
std::string record(std::uint8_t type, std::uint16_t address, const std::vector<std::uint8_t>& data)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(address >> 8),
                                    static_cast<std::uint8_t>(address), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    std::uint8_t sum = 0;
    for (std::uint8_t b : bytes)
        sum = static_cast<std::uint8_t>(sum + b);
    bytes.push_back(static_cast<std::uint8_t>(-sum));
    std::string line = ":";
    for (std::uint8_t b : bytes) {
        line += kDigits[b >> 4];
        line += kDigits[b & 0xF];
    }
    return line;
}

const std::string kEnd = ":00000001FF";

TEST(IntelHex, ReadsBackWhatItWrites)
{
    std::mt19937 rng(9);
    for (int round = 0; round < 500; ++round) {
        std::vector<Segment> segments;
        for (int n = static_cast<int>(rng() % 5); n > 0; --n) {
            const std::size_t size = 1 + rng() % 70;
            // Now and then a segment that ends on the last byte of code memory.
            const std::uint32_t address =
                rng() % 8 == 0 ? static_cast<std::uint32_t>(0x10000 - size) : static_cast<std::uint32_t>(rng() % (0x10000 - size));
            Segment segment{address, {}};
            for (std::size_t k = 0; k < size; ++k)
                segment.bytes.push_back(static_cast<std::uint8_t>(rng()));
            segments.push_back(segment);
        }
        const std::string hex = formatIntelHex(segments);
        const Expected<std::vector<Segment>> read = parseIntelHex(hex);
        ASSERT_TRUE(read) << read.error().message() << "\n" << hex;
        EXPECT_EQ(bytesOf(*read), bytesOf(segments));
        for (const Segment& segment : *read)
            EXPECT_LE(segment.bytes.size(), 16u);

        // Windows line ends and blank lines read alike.
        std::string crlf;
        for (char c : hex)
            crlf += c == '\n' ? std::string("\r\n\r\n") : std::string(1, c);
        const Expected<std::vector<Segment>> fromCrlf = parseIntelHex(crlf);
        ASSERT_TRUE(fromCrlf) << fromCrlf.error().message();
        EXPECT_EQ(*fromCrlf, *read);
    }
    EXPECT_EQ(formatIntelHex(std::vector<Segment>{{0x0000, {0x74, 0x01}}}), ":02000000740189\n:00000001FF\n");
}

TEST(IntelHex, RefusesWhatTheChipCannotTakeWithLineAndReason)
{
    struct Case {
        std::string text;
        std::size_t line;
        std::string reason;
    };
    const std::string data = record(0x00, 0x0000, {0x74, 0x01});  // :02000000740189
    const Case cases[] = {
        {"", 1, "soubor je prázdný: nemá jediný záznam Intel HEX."},
        {"\r\n\n  \r\n", 1, "soubor je prázdný: nemá jediný záznam Intel HEX."},
        {data + "\n" + data, 2, "soubor tady končí bez koncového záznamu :00000001FF."},
        {data + "\n\n", 1, "soubor tady končí bez koncového záznamu :00000001FF."},
        {"02000000740189\n" + kEnd, 1, "řádek není záznam Intel HEX: nezačíná dvojtečkou."},
        {" " + data + "\n" + kEnd, 1, "řádek není záznam Intel HEX: nezačíná dvojtečkou."},
        {data + "\n:0200000074G189\n" + kEnd, 2, "znak „G“ na 12. místě není šestnáctková číslice."},
        {":02000000 740189\n" + kEnd, 1, "znak s kódem 20h na 10. místě není šestnáctková číslice."},
        {":0200000074018\n" + kEnd, 1, "záznam má lichý počet číslic (13)."},
        {":00000001\n", 1, "záznam je příliš krátký: i prázdný má 5 bajtů (délka, adresa, typ, kontrolní součet), tento 4 bajty."},
        {":0300000074018A\n" + kEnd, 1, "délka nesouhlasí: záznam hlásí 3 bajty dat, nese 2 bajty."},
        {":01000000740189\n" + kEnd, 1, "délka nesouhlasí: záznam hlásí 1 bajt dat, nese 2 bajty."},
        {":0200000074018A\n" + kEnd, 1, "kontrolní součet je 8A, má být 89."},
        {data + "\n:00000001FE", 2, "kontrolní součet je FE, má být FF."},
        {":02000000740100\n:00000001FF\n", 1, "kontrolní součet je 00, má být 89."},
        {record(0x06, 0, {1}) + "\n" + kEnd, 1, "neznámý typ záznamu 06."},
        {data + "\n" + record(0x01, 0, {0}), 2, "koncový záznam nesmí nést data."},
        {record(0x04, 0, {0}) + "\n" + kEnd, 1, "záznam typu 04 má nést 2 bajty, nese 1 bajt."},
        {record(0x02, 0, {0, 0, 0}) + "\n" + kEnd, 1, "záznam typu 02 má nést 2 bajty, nese 3 bajty."},
        {record(0x03, 0, {0, 0, 0}) + "\n" + kEnd, 1, "záznam typu 03 má nést 4 bajty, nese 3 bajty."},
        {record(0x05, 0, {0, 0}) + "\n" + kEnd, 1, "záznam typu 05 má nést 4 bajty, nese 2 bajty."},
        {kEnd + "\n\n" + data, 3, "za koncovým záznamem (řádek 1) už nic být nemá."},
        // The 64 KB of code memory, each way a byte can lie beyond it.
        {record(0x00, 0xFFFF, {1, 2}) + "\n" + kEnd, 1, "data na adrese 10000h leží za koncem kódové paměti 8051 (0FFFFh)."},
        {record(0x00, 0xFFF8, std::vector<std::uint8_t>(16)) + "\n" + kEnd, 1,
         "data na adrese 10000h leží za koncem kódové paměti 8051 (0FFFFh)."},
        {":020000040001F9\n:0100000055AA\n:00000001FF", 2,
         "data na adrese 10000h leží za koncem kódové paměti 8051 (0FFFFh)."},
        {record(0x04, 0, {0x12, 0x34}) + "\n" + record(0x00, 0x5678, {0x55}) + "\n" + kEnd, 2,
         "data na adrese 12345678h leží za koncem kódové paměti 8051 (0FFFFh)."},
        {record(0x02, 0, {0x0F, 0xFF}) + "\n" + record(0x00, 0x0010, {0x55}) + "\n" + kEnd, 2,
         "data na adrese 10000h leží za koncem kódové paměti 8051 (0FFFFh)."},
        {record(0x02, 0, {0x0F, 0xFF}) + "\n" + record(0x00, 0x0008, std::vector<std::uint8_t>(9)) + "\n" + kEnd, 2,
         "data na adrese 10000h leží za koncem kódové paměti 8051 (0FFFFh)."},
    };
    for (const Case& c : cases) {
        const Expected<std::vector<Segment>> read = parseIntelHex(c.text);
        ASSERT_FALSE(read) << c.text;
        EXPECT_EQ(read.error(), (LineProblem{c.line, c.reason})) << c.text;
    }
}

TEST(IntelHex, ReadsExtendedAddressesUpToTheLastByte)
{
    const auto read = [](const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        const Expected<std::vector<Segment>> segments = parseIntelHex(text + kEnd);
        EXPECT_TRUE(segments) << segments.error().message();
        return segments ? *segments : std::vector<Segment>{};
    };
    using Segments = std::vector<Segment>;
    EXPECT_EQ(read({record(0x00, 0xFFFF, {0xAA})}), (Segments{{0xFFFF, {0xAA}}}));
    EXPECT_EQ(read({record(0x00, 0xFFF0, std::vector<std::uint8_t>(16, 7))}),
              (Segments{{0xFFF0, std::vector<std::uint8_t>(16, 7)}}));
    EXPECT_EQ(read({record(0x04, 0, {0, 0}), record(0x00, 0x1234, {1})}), (Segments{{0x1234, {1}}}));
    EXPECT_EQ(read({record(0x02, 0, {0x0F, 0xFF}), record(0x00, 0x000F, {2})}), (Segments{{0xFFFF, {2}}}));
    EXPECT_EQ(read({record(0x02, 0, {0x01, 0x00}), record(0x00, 0x0010, {3}), record(0x02, 0, {0, 0}),
                    record(0x00, 0x0010, {4})}),
              (Segments{{0x1010, {3}}, {0x0010, {4}}}));
    // Start addresses are skipped, as are empty data records; blanks end a line, and so
    // does a lone CR.
    EXPECT_EQ(read({record(0x03, 0, {0, 0, 0, 0}), record(0x05, 0, {0, 0, 1, 0}), record(0x00, 0x10, {}),
                    record(0x00, 0x20, {5}) + " \t"}),
              (Segments{{0x20, {5}}}));
    const Expected<std::vector<Segment>> oldMac = parseIntelHex(record(0x00, 0x30, {6}) + "\r" + kEnd + "\r");
    ASSERT_TRUE(oldMac);
    EXPECT_EQ(*oldMac, (Segments{{0x30, {6}}}));
}

}  // namespace
}  // namespace blikon::mcs51
