// Inputs built or found by fuzzing to break the readers and writers of code files,
// each kept once it has been fixed or shown to be harmless.

#include "codefiletext.h"
#include "codepage.h"
#include "rtfreader.h"
#include "tableencoder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace blikon;

namespace {

const AnsiEncoder kWindows1250 = [](std::string_view utf8) { return blikon::testing::encodeWithTable(CodePage::Windows1250, utf8); };

}  // namespace

// Opening drops a leading byte-order mark; a text whose first character is U+FEFF (from
// a file that had two marks) lost that character on every save and open.
TEST(CodeFileRoundTrip, LeadingByteOrderMarkCharacterSurvivesSavingAndOpening)
{
    const std::string found = "\xEF\xBB\xBF\xEF\xBB\xBF\xC2\x8F; ";  // the input that showed it
    const DecodedFile opened = decodeCodeFile(found);
    ASSERT_EQ(opened.text, "\xEF\xBB\xBF\xC2\x8F; ");
    for (const std::string& text : {opened.text, std::string("\xEF\xBB\xBF"), std::string("\xEF\xBB\xBF\xEF\xBB\xBFx\r\n")}) {
        for (const AnsiEncoder& ansi : {AnsiEncoder{}, kWindows1250}) {
            const std::string saved = encodeCodeFile(text, ansi);
            EXPECT_EQ(decodeCodeFile(saved).text, text) << (ansi ? "Windows-1250" : "no code page");
            EXPECT_EQ(saved, "\xEF\xBB\xBF" + text);
        }
    }
    // A mark anywhere else is an ordinary character and needs nothing in front.
    EXPECT_EQ(encodeCodeFile("x\xEF\xBB\xBF", {}), "x\xEF\xBB\xBF");
}

// A font table of thousands of entries is read in linear time; the fonts beyond those
// the reader remembers read in the code page of the default font.
TEST(ReadRtf, ThousandsOfFontTableEntries)
{
    std::string fonts;
    for (int i = 0; i < 5000; ++i)
        fonts += "{\\f" + std::to_string(i) + "\\fcharset" + (i % 2 ? "238" : "0") + " Font" + std::to_string(i) + ";}";
    const std::string rtf = "{\\rtf1\\ansi\\deff4999{\\fonttbl" + fonts + "}\\f101 \\'e8\\f100 \\'e8\\f4998 \\'e8 end}";

    const auto start = std::chrono::steady_clock::now();
    const RtfText read = readRtf(rtf);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(read.fault, RtfFault::None);
    // Font 101 is Windows-1250, font 100 Windows-1252; font 4998 (Windows-1252) is past
    // them and reads like the default font 4999, in Windows-1250.
    EXPECT_EQ(read.text, "\u010D\u00E8\u010D end");
}
