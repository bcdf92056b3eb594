#include "core/rtfreader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace blikon;

namespace {

struct Sample {
    const char* name;
    std::string rtf;
    std::string text;
};

void expectSamples(const std::vector<Sample>& samples)
{
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        const RtfText read = readRtf(sample.rtf);
        EXPECT_EQ(read.text, sample.text);
        EXPECT_EQ(read.fault, RtfFault::None);
    }
}

// Reads hostile input and checks that it ends quickly with the expected text.
RtfText readWithinASecond(const std::string& rtf)
{
    const auto start = std::chrono::steady_clock::now();
    RtfText read = readRtf(rtf);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    return read;
}

}  // namespace

TEST(IsRtf, NeedsTheMarkAtTheVeryStart)
{
    EXPECT_TRUE(isRtf("{\\rtf1\\ansi x}"));
    EXPECT_TRUE(isRtf("{\\rtf"));
    EXPECT_FALSE(isRtf(" {\\rtf1 x}"));
    EXPECT_FALSE(isRtf("\xEF\xBB\xBF{\\rtf1 x}"));
    EXPECT_FALSE(isRtf("{\\RTF1 x}"));
    EXPECT_FALSE(isRtf("mov R2,#0FEh"));
}

TEST(ReadRtf, LineEndsTabsAndControlSymbols)
{
    expectSamples({
        {"plain", "{\\rtf1 Hello}", "Hello"},
        {"par and line", "{\\rtf1 a\\par b\\line c\\par}", "a\r\nb\r\nc\r\n"},
        {"raw line ends are not text", "{\\rtf1 a\r\nb\nc}", "abc"},
        {"backslash line end is a paragraph", "{\\rtf1 a\\\r\nb}", "a\r\nb"},
        {"tab", "{\\rtf1 mov\\tab R2}", "mov\tR2"},
        {"delimiting space belongs to the word", "{\\rtf1 \\b bold\\b0  x}", "bold x"},
        {"escaped characters", "{\\rtf1 \\\\ \\{ \\}}", "\\ { }"},
        {"special spaces and hyphens", "{\\rtf1 a\\~b\\-c\\_d}", "a\u00A0bc\u2011d"},
        {"named characters", "{\\rtf1 \\lquote x\\rquote \\emdash}", "\u2018x\u2019\u2014"},
        {"formatting groups keep their text", "{\\rtf1 a{\\b b{\\i c}}d}", "abcd"},
        {"text after the document is ignored", "{\\rtf1 a}b", "a"},
    });
}

TEST(ReadRtf, HexBytesFollowTheCodePage)
{
    expectSamples({
        {"ansicpg 1250", "{\\rtf1\\ansi\\ansicpg1250 \\'e8\\'f8\\'9e\\'ec}", "čřžě"},
        {"ansi default 1252", "{\\rtf1\\ansi \\'e8\\'9e}", "èž"},
        {"unknown code page read as 1252", "{\\rtf1\\ansi\\ansicpg1251 \\'e8}", "è"},
        {"raw high bytes", "{\\rtf1\\ansi\\ansicpg1250 \xE8}", "č"},
        {"font charset wins over ansicpg",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}{\\f1\\fcharset0 Times;}}"
         "\\f0 \\'e8\\f1 \\'e8}",
         "čè"},
        {"default font", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset238 Arial;}}\\'e8}", "č"},
        {"font back after a group", "{\\rtf1\\ansi{\\fonttbl\\f0\\fcharset0 A;\\f1\\fcharset238 B;}{\\f1 \\'e8}\\'e8}",
         "čè"},
    });
}

TEST(ReadRtf, UnicodeWithFallbackCharacters)
{
    expectSamples({
        {"uc1", "{\\rtf1\\uc1 \\u269?\\u345?}", "čř"},
        {"default uc is 1", "{\\rtf1 \\u269?x}", "čx"},
        {"uc2 skips two", "{\\rtf1\\uc2 \\u269??x}", "čx"},
        {"uc0 skips nothing", "{\\rtf1\\uc0 \\u269 x}", "čx"},
        {"hex fallback", "{\\rtf1\\ansi\\uc1 \\u269\\'e8x}", "čx"},
        {"negative number", "{\\rtf1 \\u-3913?}", "\uF0B7"},
        {"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", "\U0001F600"},
        {"lone high surrogate", "{\\rtf1 \\u-10179?x}", "\uFFFDx"},
        {"uc restored after the group", "{\\rtf1{\\uc2 \\u269ab}\\u345?c}", "čřc"},
        {"group end stops skipping", "{\\rtf1{\\uc3 \\u269}x}", "čx"},
    });
}

TEST(ReadRtf, DestinationsWithoutTextAreSkipped)
{
    expectSamples({
        {"tables and info",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{Normal;}}"
         "{\\info{\\title T}{\\author A}}text}",
         "text"},
        {"ignorable destination", "{\\rtf1{\\*\\generator Riched20 10.0;}{\\*\\unknown x{y}}text}", "text"},
        {"picture with binary data", "{\\rtf1 a{\\pict\\pngblip\\bin5 }{\\x}}b}", "ab"},
        {"binary data outside a picture", "{\\rtf1 a\\bin3 }}}b}", "ab"},
        {"header and footer", "{\\rtf1{\\header H}{\\footer F}{\\footnote N}body}", "body"},
        {"field shows its result", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}}", "shown"},
        {"object", "{\\rtf1{\\object\\objemb{\\*\\objdata 0102}{\\result seen}}}", ""},
    });
}

TEST(ReadRtf, WordPadFileOfACodeText)
{
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0\\nouicompat\\deflang1029{\\fonttbl{\\f0\\fnil\\fcharset238 Courier New;}}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang5            mov R2,#0FEh\\par\r\n"
        "; \\'e8erven\\'e1 \\'9elut\\'e1 \\u8364?\\par\r\n"
        "}\r\n";
    const RtfText read = readRtf(rtf);
    EXPECT_EQ(read.text, "           mov R2,#0FEh\r\n; červená žlutá €\r\n");
    EXPECT_EQ(read.fault, RtfFault::None);
}

TEST(ReadRtf, MalformedInputGivesTheTextReadAndTheFault)
{
    RtfText read = readRtf("{\\rtf1 abc{\\b def");
    EXPECT_EQ(read.text, "abcdef");
    EXPECT_EQ(read.fault, RtfFault::Unterminated);

    read = readRtf("{\\rtf1 a\\");
    EXPECT_EQ(read.text, "a");
    EXPECT_EQ(read.fault, RtfFault::Unterminated);

    read = readRtf("}{\\rtf1 a}");
    EXPECT_EQ(read.text, "a");
    EXPECT_EQ(read.fault, RtfFault::StrayBrace);

    read = readRtf("{\\rtf1 \\'zz\\'4}");
    EXPECT_EQ(read.text, "zz4");

    EXPECT_EQ(readRtf("").text, "");
    EXPECT_EQ(readRtf("no group").text, "");
}

TEST(ReadRtf, DeepNestingIsBoundedAndTheTextAroundItStays)
{
    const std::size_t million = 1'000'000;
    const RtfText deep = readWithinASecond("{\\rtf1 a" + std::string(million, '{') + "x" + std::string(million, '}') + "b}");
    EXPECT_EQ(deep.text, "ab");
    EXPECT_EQ(deep.fault, RtfFault::TooDeep);

    const RtfText unclosed = readWithinASecond("{\\rtf1 a" + std::string(million, '{') + "x");
    EXPECT_EQ(unclosed.text, "a");
    EXPECT_NE(unclosed.fault, RtfFault::None);

    // Nesting of a usual depth is read whole.
    const RtfText usual = readRtf("{\\rtf1 " + std::string(200, '{') + "x" + std::string(200, '}') + "}");
    EXPECT_EQ(usual.text, "x");
    EXPECT_EQ(usual.fault, RtfFault::None);
}

TEST(ReadRtf, HugeNumbersAndLongWordsAreHarmless)
{
    RtfText read = readWithinASecond("{\\rtf1 a\\bin2147483647 xyz}");
    EXPECT_EQ(read.text, "a");
    EXPECT_EQ(read.fault, RtfFault::Unterminated);

    read = readWithinASecond("{\\rtf1 a\\bin-5 b}");
    EXPECT_EQ(read.text, "ab");

    read = readWithinASecond("{\\rtf1\\uc2147483647 \\u269 " + std::string(100'000, 'x') + "}");
    EXPECT_EQ(read.text, "č");
    EXPECT_EQ(read.fault, RtfFault::None);

    read = readWithinASecond("{\\rtf1 \\u99999999999999999999?\\uc-4 \\u269 x}");
    EXPECT_EQ(read.text, "\uFFFDčx");

    read = readWithinASecond("{\\rtf1 \\" + std::string(1'000'000, 'a') + " x}");
    EXPECT_EQ(read.text, "x");

    // Longer than 32 letters it is no RTF word, even one that starts like \par.
    read = readRtf("{\\rtf1 a\\par" + std::string(40, 'z') + " b}");
    EXPECT_EQ(read.text, "ab");

    read = readWithinASecond("{\\rtf1 x\\b" + std::string(1'000'000, '9') + " y}");
    EXPECT_EQ(read.text, "xy");
}
