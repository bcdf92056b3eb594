#include "blockscanner.h"

#include "block.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace blikon {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

const std::string kI = "           ";  // eleven spaces
constexpr std::nullopt_t none = std::nullopt;

const int kRegs[] = {2, 3, 4, 5, 6};

// A block in the generated form: five "mov" lines for R2..R6 joined by CR LF.
std::string block(int a, int b, int c, int d, int e)
{
    return blockLine(2, a) + "\r\n" + blockLine(3, b) + "\r\n" + blockLine(4, c) + "\r\n" +
           blockLine(5, d) + "\r\n" + blockLine(6, e);
}

// The lamps of one group as text, bit 0 first: 'x' lit, '.' unlit.
std::string groupLamps(const LampStates& lamps, char letter)
{
    const int g = letter - 'A';
    std::string s;
    for (int bit = 0; bit < kGroups[g].ledCount; ++bit)
        s += lamps.isLit(Led{g, bit}) ? 'x' : '.';
    return s;
}

// The lamps that the group values show on the board: an LED is lit when its bit is 0.
LampStates lampsShowing(const std::vector<int>& values)
{
    LampStates lamps;
    for (int g = 0; g < kGroupCount; ++g)
        for (int bit = 0; bit < kGroups[g].ledCount; ++bit)
            lamps.set(Led{g, bit}, ((values[g] >> bit) & 1) == 0);
    return lamps;
}

LampStates allLit()
{
    LampStates lamps;
    for (const Led& led : allLeds())
        lamps.set(led, true);
    return lamps;
}

std::vector<std::int64_t> positions(const BlockScanner& scanner)
{
    std::vector<std::int64_t> p;
    for (int reg : kRegs)
        p.push_back(scanner.position(reg));
    return p;
}

std::vector<std::string> windows(const BlockScanner& scanner, std::string_view text)
{
    std::vector<std::string> w;
    for (int reg : kRegs)
        w.push_back(scanner.window(reg, text));
    return w;
}

// Strict UTF-8 check; counts the code points into `count`.
bool isValidUtf8(std::string_view s, int& count)
{
    count = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (b(i) < 0x80) {
            n = 1;
            cp = b(i);
        } else if ((b(i) & 0xE0) == 0xC0) {
            n = 2;
            cp = b(i) & 0x1F;
        } else if ((b(i) & 0xF0) == 0xE0) {
            n = 3;
            cp = b(i) & 0x0F;
        } else if ((b(i) & 0xF8) == 0xF0) {
            n = 4;
            cp = b(i) & 0x07;
        } else {
            return false;
        }
        if (i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k) {
            if ((b(i + k) & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b(i + k) & 0x3F);
        }
        const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
        ++count;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// decodeValue

// The canonical text of every value: "0", the value in upper-case hex without leading
// zeros, then "h" for one-digit values; two-digit values need no "h" in the window.
std::map<std::string, int> canonicalWindows()
{
    std::map<std::string, int> windows;
    for (int v = 0; v <= 255; ++v) {
        char text[8];
        std::snprintf(text, sizeof text, v < 16 ? "0%Xh" : "0%X", v);
        windows[text] = v;
    }
    return windows;
}

TEST(DecodeValue, ExactlyTheCanonicalTextsDecodeOverAllAsciiWindows)
{
    const std::map<std::string, int> canonical = canonicalWindows();
    ASSERT_EQ(canonical.size(), 256u);
    const int minimum[] = {0x00, 0x00, 0x00, 0x80, 0xC0};
    int decoded = 0;
    std::string window(3, ' ');
    for (int c0 = 0; c0 < 128; ++c0) {
        for (int c1 = 0; c1 < 128; ++c1) {
            for (int c2 = 0; c2 < 128; ++c2) {
                window[0] = static_cast<char>(c0);
                window[1] = static_cast<char>(c1);
                window[2] = static_cast<char>(c2);
                const auto it = canonical.find(window);
                for (int r = 0; r < 5; ++r) {
                    const std::optional<std::uint8_t> got = decodeValue(kRegs[r], window);
                    if (it != canonical.end() && it->second >= minimum[r]) {
                        ASSERT_THAT(got, Optional(it->second)) << "R" << kRegs[r] << " " << window;
                        ++decoded;
                    } else {
                        ASSERT_EQ(got, none) << "R" << kRegs[r] << " " << window;
                    }
                }
            }
        }
    }
    EXPECT_EQ(decoded, 256 * 3 + 128 + 64);
}

TEST(DecodeValue, NamedCases)
{
    EXPECT_THAT(decodeValue(2, "0FF"), Optional(0xFF));
    EXPECT_THAT(decodeValue(2, "00h"), Optional(0));
    EXPECT_THAT(decodeValue(2, "0Ah"), Optional(10));
    EXPECT_THAT(decodeValue(2, "010"), Optional(16));
    EXPECT_THAT(decodeValue(5, "080"), Optional(0x80));
    EXPECT_THAT(decodeValue(5, "0BF"), Optional(0xBF));
    EXPECT_THAT(decodeValue(6, "0C0"), Optional(0xC0));
    for (const char* w : {"0ff", "05H", "005", "FFh", " 0F", "255", "0F", "0", "", "0Fh "})
        EXPECT_EQ(decodeValue(2, w), none) << '"' << w << '"';
    EXPECT_EQ(decodeValue(5, "07F"), none);
    EXPECT_EQ(decodeValue(6, "0BF"), none);
    // Three bytes that are not three characters.
    EXPECT_EQ(decodeValue(2, "0\xC4\x8D"), none);
}

// ---------------------------------------------------------------------------------------
// applyValue

TEST(ApplyValue, WritesEveryLampOfTheGroupAndNoOther)
{
    for (int r = 0; r < 5; ++r) {
        const int g = r;
        for (int v = 0; v <= 255; ++v) {
            for (const bool startLit : {false, true}) {
                LampStates lamps = startLit ? allLit() : LampStates{};
                applyValue(kRegs[r], static_cast<std::uint8_t>(v), lamps);
                for (const Led& led : allLeds()) {
                    const bool expected = led.group == g ? ((v >> led.bit) & 1) == 0 : startLit;
                    ASSERT_EQ(lamps.isLit(led), expected)
                        << "R" << kRegs[r] << " value " << v << " lamp " << ledName(led);
                }
            }
        }
    }
}

TEST(ApplyValue, Examples)
{
    LampStates lamps = allLit();
    applyValue(2, 0x0A, lamps);
    EXPECT_EQ(groupLamps(lamps, 'A'), "x.x.xxxx");
    applyValue(5, 0xBF, lamps);
    EXPECT_EQ(groupLamps(lamps, 'D'), "......x");
    applyValue(6, 0xC0, lamps);
    EXPECT_EQ(groupLamps(lamps, 'E'), "xxxxxx");
    applyValue(2, 0xFF, lamps);
    EXPECT_EQ(groupLamps(lamps, 'A'), "........");
    applyValue(2, 0x00, lamps);
    EXPECT_EQ(groupLamps(lamps, 'A'), "xxxxxxxx");
    EXPECT_EQ(groupLamps(lamps, 'B'), "xxxxxxxx");
}

// ---------------------------------------------------------------------------------------
// BlockScanner

TEST(BlockScanner, EmptyTextFindsNothingAndChangesNoLamp)
{
    const LampStates before = lampsShowing({0x0A, 0x55, 0x00, 0x80, 0xC0});
    LampStates lamps = before;
    BlockScanner scanner;
    for (int n = 0; n < 3; ++n) {
        const StepValues values = scanner.step("", lamps);
        EXPECT_THAT(values, ElementsAre(none, none, none, none, none));
        EXPECT_THAT(positions(scanner), ElementsAre(0, 0, 0, 0, 0));
        EXPECT_THAT(windows(scanner, ""), ElementsAre("", "", "", "", ""));
        EXPECT_EQ(lamps, before);
    }
}

TEST(BlockScanner, OneBlockAlternatesWithAStepAtPositionZero)
{
    const std::string text = blockSuffix(block(0xFF, 0xFF, 0xFF, 0xFF, 0xFF));
    BlockScanner scanner;
    LampStates lamps = allLit();
    for (int cycle = 0; cycle < 2; ++cycle) {
        SCOPED_TRACE(cycle);
        EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0xFF, 0xFF, 0xFF, 0xFF, 0xFF));
        // CR LF, eleven spaces and "mov " stand before the first "R"; lines are 25 bytes apart.
        EXPECT_THAT(positions(scanner), ElementsAre(18, 43, 68, 93, 118));
        EXPECT_THAT(windows(scanner, text), ElementsAre("0FF", "0FF", "0FF", "0FF", "0FF"));
        EXPECT_EQ(lamps.litCount(), 0);

        lamps = allLit();
        EXPECT_THAT(scanner.step(text, lamps), ElementsAre(none, none, none, none, none));
        EXPECT_THAT(positions(scanner), ElementsAre(0, 0, 0, 0, 0));
        // Characters 4 to 6 of the text: spaces of the first line's indent.
        EXPECT_THAT(windows(scanner, text), ElementsAre("   ", "   ", "   ", "   ", "   "));
        EXPECT_EQ(lamps, allLit());
    }
}

TEST(BlockScanner, WindowIsTheThreeCharactersBehindTheMarker)
{
    struct Case {
        std::string text;
        std::string window;
        std::optional<std::uint8_t> value;
    };
    const std::vector<Case> cases = {
        {"mov R2,#0FFh ; comment", "0FF", 0xFF},
        {"mov R2,#0FF\r\nnext", "0FF", 0xFF},
        {"mov R2,#0FF", "0FF", 0xFF},
        {"mov R2,#0Ah", "0Ah", 0x0A},
        {"mov R2,#00h", "00h", 0x00},
        {"mov R2,#0F", "0F", none},
        {"mov R2,#", "", none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        BlockScanner scanner;
        LampStates lamps;
        EXPECT_EQ(scanner.step(c.text, lamps)[0], c.value);
        EXPECT_EQ(scanner.position(2), 5);
        EXPECT_EQ(scanner.window(2, c.text), c.window);
        EXPECT_EQ(lamps, lampsShowing({c.value.value_or(0xFF), 0xFF, 0xFF, 0xFF, 0xFF}));
    }
}

TEST(BlockScanner, NonCanonicalValueMovesThePositionButKeepsTheLamps)
{
    for (const std::string bad : {"0ffh", "05H", "005h", "FFh", " 0FFh", "255", "11111111b"}) {
        SCOPED_TRACE(bad);
        const std::string text = "mov R2,#" + bad + "\r\nmov R2,#00h";
        BlockScanner scanner;
        LampStates lamps;
        EXPECT_EQ(scanner.step(text, lamps)[0], none);
        EXPECT_EQ(scanner.position(2), 5);
        EXPECT_EQ(scanner.window(2, text), bad.substr(0, 3));
        EXPECT_EQ(groupLamps(lamps, 'A'), "........");

        EXPECT_THAT(scanner.step(text, lamps)[0], Optional(0x00));
        EXPECT_EQ(scanner.position(2), static_cast<std::int64_t>(bad.size()) + 15);
        EXPECT_EQ(groupLamps(lamps, 'A'), "xxxxxxxx");
    }
}

TEST(BlockScanner, MarkerIsExactAndCaseSensitive)
{
    // Block 1 loads R2 with a blank after the comma and in lower case; neither is a
    // marker, so the A group runs one block ahead of the others from the start.
    const std::string text = "\r\n" + kI + "mov R2, #0FFh\r\n" + kI + "mov r2,#0FFh\r\n" +
                             kI + "mov R3,#0FFh\r\n" + kI + "mov R4,#0FFh\r\n" + kI +
                             "mov R5,#0FFh\r\n" + kI + "mov R6,#0FFh\r\n" + kI + "Call Citac" +
                             blockSuffix(block(0x00, 0x00, 0x00, 0x80, 0xC0));
    BlockScanner scanner;
    LampStates lamps;
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0x00, 0xFF, 0xFF, 0xFF, 0xFF));
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(none, 0x00, 0x00, 0x80, 0xC0));
    EXPECT_EQ(lamps.litCount(), 37);
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0x00, none, none, none, none));
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(none, 0xFF, 0xFF, 0xFF, 0xFF));
    EXPECT_EQ(groupLamps(lamps, 'A'), "xxxxxxxx");
    EXPECT_EQ(groupLamps(lamps, 'B'), "........");
}

TEST(BlockScanner, ValuesBelowTheRangeOfR5AndR6KeepTheirLamps)
{
    const std::string text = blockSuffix(block(0x12, 0x34, 0x56, 0x7F, 0xBF));
    BlockScanner scanner;
    LampStates lamps = allLit();
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0x12, 0x34, 0x56, none, none));
    EXPECT_THAT(positions(scanner), ElementsAre(18, 43, 68, 93, 118));
    EXPECT_THAT(windows(scanner, text), ElementsAre("012", "034", "056", "07F", "0BF"));
    EXPECT_EQ(groupLamps(lamps, 'D'), "xxxxxxx");
    EXPECT_EQ(groupLamps(lamps, 'E'), "xxxxxx");
    EXPECT_EQ(groupLamps(lamps, 'A'), "x.xx.xxx");  // 0x12: bits 1 and 4 set, A1 and A4 unlit
}

TEST(BlockScanner, BlockWithoutR4LineLetsTheCGroupRunAhead)
{
    const std::string frame2 = blockLine(2, 0x12) + "\r\n" + blockLine(3, 0x22) + "\r\n" +
                               blockLine(5, 0x82) + "\r\n" + blockLine(6, 0xC2);
    std::string text = blockSuffix(block(0x11, 0x21, 0x31, 0x81, 0xC1));
    text += blockSuffix(frame2);
    text += blockSuffix(block(0x13, 0x23, 0x33, 0x83, 0xC3));

    BlockScanner scanner;
    LampStates lamps;
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0x11, 0x21, 0x31, 0x81, 0xC1));
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0x12, 0x22, 0x33, 0x82, 0xC2));
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0x13, 0x23, none, 0x83, 0xC3));
    EXPECT_EQ(lamps, lampsShowing({0x13, 0x23, 0x33, 0x83, 0xC3}));
    EXPECT_EQ(scanner.position(4), 0);
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(none, none, 0x31, none, none));
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0x11, 0x21, 0x33, 0x81, 0xC1));
}

TEST(BlockScanner, LineOrderWithinABlockDoesNotMatter)
{
    const std::vector<std::vector<int>> frames = {
        {0x00, 0x0A, 0xFF, 0xBF, 0xC0}, {0x5A, 0xA5, 0x10, 0x80, 0xFF}, {0xFF, 0x00, 0x7E, 0xC3, 0xDF}};
    std::string forward;
    std::string reversed;
    for (const auto& f : frames) {
        forward += blockSuffix(block(f[0], f[1], f[2], f[3], f[4]));
        reversed += blockSuffix(blockLine(6, f[4]) + "\r\n" + blockLine(5, f[3]) + "\r\n" +
                                             blockLine(4, f[2]) + "\r\n" + blockLine(3, f[1]) +
                                             "\r\n" + blockLine(2, f[0]));
    }
    BlockScanner a;
    BlockScanner b;
    LampStates lampsA;
    LampStates lampsB;
    for (int n = 0; n < 2 * static_cast<int>(frames.size() + 1); ++n) {
        SCOPED_TRACE(n);
        const StepValues va = a.step(forward, lampsA);
        EXPECT_EQ(b.step(reversed, lampsB), va);
        EXPECT_EQ(lampsB, lampsA);
        const std::size_t k = n % (frames.size() + 1);
        if (k < frames.size())
            EXPECT_EQ(lampsA, lampsShowing(frames[k]));
        else
            EXPECT_THAT(va, ElementsAre(none, none, none, none, none));
    }
}

TEST(BlockScanner, MarkerInACommentCounts)
{
    const std::string text = "; R2,#00h in a comment\r\n" + kI + "mov R2,#0FFh";
    BlockScanner scanner;
    LampStates lamps;
    EXPECT_THAT(scanner.step(text, lamps)[0], Optional(0x00));
    EXPECT_EQ(scanner.position(2), 3);
    EXPECT_THAT(scanner.step(text, lamps)[0], Optional(0xFF));
    EXPECT_EQ(scanner.position(2), 40);
}

TEST(BlockScanner, ResetStartsOverAtTheFirstBlock)
{
    std::string text = blockSuffix(block(0x01, 0x02, 0x03, 0x84, 0xC5));
    text += blockSuffix(block(0xF1, 0xF2, 0xF3, 0xF4, 0xF5));
    BlockScanner scanner;
    LampStates lamps;
    scanner.step(text, lamps);
    scanner.step(text, lamps);
    scanner.reset();
    EXPECT_THAT(positions(scanner), ElementsAre(0, 0, 0, 0, 0));
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0x01, 0x02, 0x03, 0x84, 0xC5));
}

TEST(BlockScanner, EditedTextIsSearchedFromTheOldPosition)
{
    BlockScanner scanner;
    LampStates lamps;
    EXPECT_THAT(scanner.step("xxxxR2,#00h", lamps)[0], Optional(0x00));
    EXPECT_EQ(scanner.position(2), 5);
    // The search goes on from character 6 of the new text, past the marker at 1.
    EXPECT_THAT(scanner.step("R2,#0R2,#02hR2,#03h", lamps)[0], Optional(0x02));
    EXPECT_EQ(scanner.position(2), 6);
    EXPECT_THAT(scanner.step("R2,#01hR2,#02hR2,#03h", lamps)[0], Optional(0x02));
    EXPECT_EQ(scanner.position(2), 8);
    // The old position lies beyond the end of the shortened text: nothing is found.
    EXPECT_EQ(scanner.step("R2,#04h", lamps)[0], none);
    EXPECT_EQ(scanner.position(2), 0);
    EXPECT_EQ(scanner.window(2, "R2,#04h"), "#04");
    EXPECT_THAT(scanner.step("R2,#04h", lamps)[0], Optional(0x04));
    EXPECT_EQ(scanner.position(2), 1);
}

// Every group keeps playing past character 32767, the E group included.
TEST(BlockScanner, LongTextPlaysEveryFrameInEveryGroup)
{
    // Values of 16 and above keep every frame 148 bytes long: CR LF, five lines of 23
    // bytes with four CR LF between them, CR LF and the 21-byte call line.
    const int frames = 400;
    auto frameValues = [](int k) {
        return std::vector<int>{0x10 + k % 0xF0, 0xFF - k % 0xF0, 0x10 + (7 * k) % 0xF0,
                                0x80 + k % 0x80, 0xC0 + (k * 5) % 0x40};
    };
    std::string text;
    for (int k = 0; k < frames; ++k) {
        const auto v = frameValues(k);
        text += blockSuffix(block(v[0], v[1], v[2], v[3], v[4]));
    }
    ASSERT_EQ(text.size(), 148u * frames);

    BlockScanner scanner;
    LampStates lamps;
    for (int k = 0; k < frames; ++k) {
        SCOPED_TRACE(k);
        const auto v = frameValues(k);
        const StepValues values = scanner.step(text, lamps);
        for (int r = 0; r < 5; ++r) {
            ASSERT_EQ(scanner.position(kRegs[r]), 148 * k + 18 + 25 * r) << "R" << kRegs[r];
            ASSERT_THAT(values[r], Optional(v[r])) << "R" << kRegs[r];
        }
        ASSERT_EQ(lamps, lampsShowing(v));
    }
    EXPECT_GT(scanner.position(6), 40000);
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(none, none, none, none, none));
    EXPECT_THAT(positions(scanner), ElementsAre(0, 0, 0, 0, 0));
}

TEST(BlockScanner, WindowsCountCharactersOfMultiByteText)
{
    BlockScanner scanner;
    LampStates lamps;

    const std::string czech = "mov R2,#\u010D\u0161\u017E\r\nmov R3,#0FFh";
    EXPECT_THAT(scanner.step(czech, lamps), ElementsAre(none, 0xFF, none, none, none));
    EXPECT_EQ(scanner.window(2, czech), "\u010D\u0161\u017E");
    EXPECT_EQ(scanner.window(3, czech), "0FF");

    // Positions are byte indexes: three two-byte letters stand before the "R".
    scanner.reset();
    const std::string after = "\u010D\u0161\u017ER2,#0Ah";
    EXPECT_THAT(scanner.step(after, lamps)[0], Optional(0x0A));
    EXPECT_EQ(scanner.position(2), 7);
}

TEST(BlockScanner, WindowAtPositionZeroIsCharactersFourToSix)
{
    BlockScanner scanner;
    EXPECT_EQ(scanner.window(2, "\u010D\u0161\u017E\u0159\u0165\u010F"), "\u0159\u0165\u010F");
    EXPECT_EQ(scanner.window(6, "abcde"), "de");
    EXPECT_EQ(scanner.window(6, "abc"), "");
    EXPECT_EQ(scanner.window(6, "ab"), "");

    // A text without markers whose fourth to sixth characters are a value shows it in
    // every group at every step.
    const std::string text = "\u010D\u0161\u017E0FFh";
    LampStates lamps = allLit();
    EXPECT_THAT(scanner.step(text, lamps), ElementsAre(0xFF, 0xFF, 0xFF, 0xFF, 0xFF));
    EXPECT_THAT(positions(scanner), ElementsAre(0, 0, 0, 0, 0));
    EXPECT_EQ(lamps.litCount(), 0);
}

TEST(BlockScanner, InvalidBytesShowAsReplacementCharacters)
{
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        std::string text;
        std::string window;
    };
    const std::vector<Case> cases = {
        {"R2,#\xFF\x80z", fffd + fffd + "z"},
        {"R2,#ab\xC4", "ab" + fffd},
        {"R2,#\xC4\x8Dxyz", "\xC4\x8Dxy"},
        {"R2,#\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80!"},
        {"\xFFR2,#0", "0"},
    };
    for (const Case& c : cases) {
        BlockScanner scanner;
        LampStates lamps;
        scanner.step(c.text, lamps);
        EXPECT_EQ(scanner.window(2, c.text), c.window) << c.text;
    }
    BlockScanner atZero;
    EXPECT_EQ(atZero.window(2, "\x80\x80\x80\x80\x80"), fffd + fffd);
}

// Whatever the bytes, a window is valid UTF-8 of at most three characters, a non-zero
// position points at its register's marker, and a step decodes what the window shows.
TEST(BlockScanner, WindowsAreValidUtf8AndHoldTheDecodedValue)
{
    std::mt19937 rng(20240501);
    const std::vector<std::string> pieces = {
        "R2,#", "R3,#", "R4,#", "R5,#", "R6,#", "0FFh", "0C", "0", "A", "h", "\u010D", "\u017E", "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80", "\xC4", "\xE2\x82", "\xF0\x9F", "\x80", "\xBF", "\xFF",
        "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a", " ", "\r\n"};
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    std::string previous;
    for (int n = 0; n < 500; ++n) {
        std::string text;
        for (int k = length(rng); k > 0; --k)
            text += pieces[pick(rng)];
        BlockScanner scanner;
        LampStates lamps;
        for (int s = 0; s < 12; ++s) {
            const StepValues values = scanner.step(text, lamps);
            for (int r = 0; r < 5; ++r) {
                ASSERT_EQ(values[r], decodeValue(kRegs[r], scanner.window(kRegs[r], text))) << text;
                const std::int64_t pos = scanner.position(kRegs[r]);
                if (pos != 0) {
                    ASSERT_EQ(text.substr(pos - 1, 4), kScanRegisters[r].marker);
                }
                for (const std::string* t : {&text, &previous}) {
                    const std::string w = scanner.window(kRegs[r], *t);
                    int chars = 0;
                    ASSERT_TRUE(isValidUtf8(w, chars)) << "window of " << *t;
                    ASSERT_LE(chars, 3);
                }
            }
        }
        previous = text;
    }
}

}  // namespace
}  // namespace blikon
