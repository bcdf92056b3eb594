#include "codefiletext.h"
#include "codepage.h"
#include "tableencoder.h"
#include "utf8.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using namespace blikon;

namespace {

// Czech letters as Windows-1250 bytes and as UTF-8.
const std::string kCzech1250 = "\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xFA\xF9\x9D\xEF\xF2\xF3 "
                               "\xCC\x8A\xC8\xD8\x8E\xDD\xC1\xCD\xC9\xDA\xD9\x8D\xCF\xD2\xD3";
const std::string kCzechUtf8 = "ěščřžýáíéúůťďňó ĚŠČŘŽÝÁÍÉÚŮŤĎŇÓ";

// Windows-1250 through our own table, standing in for a Windows ANSI code page.
const AnsiEncoder kWindows1250Ansi = [](std::string_view utf8) { return blikon::testing::encodeWithTable(CodePage::Windows1250, utf8); };

std::string allBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

}  // namespace

TEST(Utf8, TellsWellFormedFromMalformed)
{
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("mov R2,#0FEh"));
    EXPECT_TRUE(isValidUtf8(kCzechUtf8));
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80 \xEF\xBF\xBF \xF4\x8F\xBF\xBF"));  // U+1F600, U+FFFF, U+10FFFF

    EXPECT_FALSE(isValidUtf8(kCzech1250));
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));          // overlong NUL
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));      // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xF0\x80\x80\xAF"));  // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate U+D800
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xF8\x88\x80\x80\x80"));
    EXPECT_FALSE(isValidUtf8("\x80"));              // lone continuation byte
    EXPECT_FALSE(isValidUtf8("ab\xC4"));            // cut off at the end
    EXPECT_FALSE(isValidUtf8("ab\xE2\x82"));
    // The eight-byte ASCII steps must not jump over a bad byte, wherever it stands.
    for (std::size_t at = 0; at < 20; ++at) {
        std::string text(20, 'a');
        text[at] = '\xE8';
        EXPECT_FALSE(isValidUtf8(text)) << at;
    }
}

TEST(Utf8, CodePointsRoundTripAndNonCharactersBecomeReplacement)
{
    std::string text;
    for (const char32_t c : {U'a', U'\u00E9', U'\u010D', U'\u20AC', U'\U0001F600', U'\U0010FFFF'})
        appendUtf8(text, c);
    std::size_t pos = 0;
    std::u32string back;
    while (const std::optional<char32_t> c = nextCodePoint(text, pos))
        back += *c;
    EXPECT_EQ(back, U"a\u00E9\u010D\u20AC\U0001F600\U0010FFFF");

    std::string bad;
    appendUtf8(bad, 0xD800);
    appendUtf8(bad, 0x110000);
    EXPECT_EQ(bad, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(CodePage, Windows1250HoldsTheCzechLetters)
{
    EXPECT_EQ(decodeToUtf8(CodePage::Windows1250, kCzech1250), kCzechUtf8);
    EXPECT_EQ(blikon::testing::encodeWithTable(CodePage::Windows1250, kCzechUtf8), kCzech1250);
    EXPECT_EQ(decodeByte(CodePage::Windows1250, 0x80), U'€');
    EXPECT_EQ(decodeByte(CodePage::Windows1250, 0xA0), U'\u00A0');
    EXPECT_EQ(decodeByte(CodePage::Windows1252, 0xE8), U'è');
    EXPECT_EQ(decodeByte(CodePage::Windows1252, 0x8A), U'Š');
    EXPECT_EQ(decodeByte(CodePage::Windows1252, 0x9F), U'Ÿ');
}

TEST(CodePage, EveryByteRoundTripsIncludingTheUndefinedOnes)
{
    for (const CodePage page : {CodePage::Windows1250, CodePage::Windows1252}) {
        const std::string text = decodeToUtf8(page, allBytes());
        EXPECT_TRUE(isValidUtf8(text));
        EXPECT_EQ(blikon::testing::encodeWithTable(page, text), allBytes());
    }
    EXPECT_EQ(decodeByte(CodePage::Windows1250, 0x81), U'\u0081');
    EXPECT_EQ(decodeByte(CodePage::Windows1252, 0x9D), U'\u009D');
}

TEST(CodePage, CharactersWithoutAByteAreRefused)
{
    EXPECT_EQ(encodeChar(CodePage::Windows1252, U'ł'), std::nullopt);
    EXPECT_EQ(encodeChar(CodePage::Windows1250, U'ł'), 0xB3);
    EXPECT_EQ(encodeChar(CodePage::Windows1250, U'ñ'), std::nullopt);
    EXPECT_EQ(blikon::testing::encodeWithTable(CodePage::Windows1250, "sum ∑"), std::nullopt);
    EXPECT_EQ(blikon::testing::encodeWithTable(CodePage::Windows1250, ""), "");
}

TEST(DecodeFileBytes, ReadsUtf8WhenWellFormedElseWindows1250)
{
    const DecodedFile plain = decodeFileBytes("; " + kCzechUtf8);
    EXPECT_EQ(plain.text, "; " + kCzechUtf8);
    EXPECT_EQ(plain.encoding, FileEncoding::Utf8);

    const DecodedFile withBom = decodeFileBytes("\xEF\xBB\xBF; " + kCzechUtf8);
    EXPECT_EQ(withBom.text, "; " + kCzechUtf8);
    EXPECT_EQ(withBom.encoding, FileEncoding::Utf8WithBom);

    const DecodedFile old = decodeFileBytes("; " + kCzech1250);
    EXPECT_EQ(old.text, "; " + kCzechUtf8);
    EXPECT_EQ(old.encoding, FileEncoding::Windows1250);

    // A byte-order mark before bytes that are not UTF-8 is no mark: all of it is 1250.
    const DecodedFile markThen1250 = decodeFileBytes("\xEF\xBB\xBF\xE8");
    EXPECT_EQ(markThen1250.text, "ď»żč");
    EXPECT_EQ(markThen1250.encoding, FileEncoding::Windows1250);

    EXPECT_EQ(decodeFileBytes("").text, "");
    EXPECT_EQ(decodeFileBytes("\xEF\xBB\xBF").text, "");
}

TEST(ToCrLfLineEnds, EveryKindOfLineEndBecomesCrLf)
{
    EXPECT_EQ(toCrLfLineEnds("a\r\nb"), "a\r\nb");
    EXPECT_EQ(toCrLfLineEnds("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(toCrLfLineEnds("a\rb\r"), "a\r\nb\r\n");
    EXPECT_EQ(toCrLfLineEnds("a\nb\rc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(toCrLfLineEnds("\r\r\n\n"), "\r\n\r\n\r\n");
    EXPECT_EQ(toCrLfLineEnds(""), "");
}

TEST(DecodeCodeFile, OldFileWithUnixLineEndsOpensAsCrLfLines)
{
    const DecodedFile file = decodeCodeFile("; \xE8" "erven\xE1\n           mov R2,#0FEh\rx");
    EXPECT_EQ(file.text, "; červená\r\n           mov R2,#0FEh\r\nx");
    EXPECT_EQ(file.encoding, FileEncoding::Windows1250);
}

TEST(EncodeCodeFile, WithoutAnsiCodePageWritesUtf8)
{
    EXPECT_EQ(encodeCodeFile(kCzechUtf8 + "\r\n", {}), kCzechUtf8 + "\r\n");
    EXPECT_EQ(encodeCodeFile("", {}), "");
}

TEST(EncodeCodeFile, WithAnsiCodePageWritesItUnlessACharacterWouldBeLost)
{
    EXPECT_EQ(encodeCodeFile(kCzechUtf8 + "\r\n", kWindows1250Ansi), kCzech1250 + "\r\n");
    EXPECT_EQ(encodeCodeFile("mov R2,#0FEh\r\n", kWindows1250Ansi), "mov R2,#0FEh\r\n");
    // Not in the code page: UTF-8.
    EXPECT_EQ(encodeCodeFile("€ ∑\r\n", kWindows1250Ansi), "€ ∑\r\n");
    // In the code page, but its bytes C3 A9 are well-formed UTF-8 and would open as "é".
    EXPECT_EQ(encodeCodeFile("Ă©", kWindows1250Ansi), "Ă©");
    // A code page that refuses everything.
    EXPECT_EQ(encodeCodeFile("abc", [](std::string_view) { return std::optional<std::string>(); }), "abc");
}

TEST(EncodeCodeFile, WhatIsWrittenOpensAsTheSameText)
{
    for (const std::string& text : {kCzechUtf8, std::string("Ă© and Â»"), std::string("x\u00A0y"),
                                   std::string("€ ∑ 😀"), std::string("\r\n"), std::string()}) {
        for (const AnsiEncoder& ansi : {AnsiEncoder(), kWindows1250Ansi}) {
            const std::string bytes = encodeCodeFile(text, ansi);
            EXPECT_EQ(decodeCodeFile(bytes).text, text) << text;
        }
    }
}
