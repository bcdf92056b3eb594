#include "core/codeline.h"

#include <gtest/gtest.h>

namespace blikon {
namespace {

TEST(CodeLines, SplitAtLfWithTheCrBeforeItInTheLineEnd)
{
    const std::string_view text = "ab\r\ncd\nef\r\n";
    EXPECT_EQ(lineStartAt(text, 3), 0u);  // the LF ends the first line
    EXPECT_EQ(lineStartAt(text, 4), 4u);
    EXPECT_EQ(lineStartAt(text, text.size()), text.size());  // the empty last line
    EXPECT_EQ(lineFrom(text, 0).end, 2u);
    EXPECT_EQ(lineFrom(text, 4).end, 6u);
    EXPECT_EQ(nextLineStart(text, 4), 7u);
    EXPECT_EQ(nextLineStart(text, text.size()), std::string_view::npos);
    EXPECT_EQ(previousLineStart(text, 7), 4u);
    EXPECT_EQ(lineStart(text, 3), text.size());
    EXPECT_EQ(lineStart(text, 4), std::string_view::npos);
    EXPECT_EQ(lineIndexAt(text, 7), 2u);
    EXPECT_EQ(lineEndAfter(text, 2), "\r\n");
    EXPECT_EQ(lineEndAfter(text, 6), "\n");
    EXPECT_EQ(lineEndAfter("ab", 2), "");
}

TEST(CodeLines, ReadStatementsAsTheAssemblerDoes)
{
    const Statement call = readStatement("f1:  Call Citac ; x");
    EXPECT_TRUE(call.valid);
    EXPECT_EQ(call.label, "f1");
    EXPECT_EQ(call.mnemonic, "Call");
    EXPECT_EQ(call.operands, "Citac");
    EXPECT_TRUE(readStatement("  ; komentář").valid);
    EXPECT_TRUE(readStatement("").mnemonic.empty());
    EXPECT_FALSE(readStatement("12 nop").valid);
    EXPECT_FALSE(readStatement("mov#1").valid);

    EXPECT_TRUE(callsCitac("           Call Citac", false));
    EXPECT_TRUE(callsCitac("lcall citac ; x", false));
    EXPECT_FALSE(callsCitac("; Call Citac", true));
    EXPECT_FALSE(callsCitac("f1: Call Citac", false));
    EXPECT_TRUE(callsCitac("f1: Call Citac", true));
    EXPECT_FALSE(callsCitac("jmp Citac", true));
}

}  // namespace
}  // namespace blikon
