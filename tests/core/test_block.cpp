#include "block.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace blikon {
namespace {

const std::string kSpaces11 = "           ";

BoardState boardWithLit(std::initializer_list<const char*> names)
{
    BoardState board;
    for (const char* name : names)
        board.change(*parseLedName(name), LedState::Lit);
    return board;
}

TEST(BlockLine, ExactTextOfTypicalValues)
{
    struct Case {
        int reg;
        int value;
        const char* text;
    };
    const Case cases[] = {
        {2, 0, "           mov R2,#00h"},
        {2, 5, "           mov R2,#05h"},
        {2, 10, "           mov R2,#0Ah"},
        {3, 15, "           mov R3,#0Fh"},
        {4, 16, "           mov R4,#010h"},
        {2, 0xFE, "           mov R2,#0FEh"},
        {2, 255, "           mov R2,#0FFh"},
        {5, 128, "           mov R5,#080h"},
        {6, 192, "           mov R6,#0C0h"},
        {6, 0xDF, "           mov R6,#0DFh"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blockLine(c.reg, c.value), c.text);
}

TEST(BlockLine, EveryValueInUpperCaseHexWithoutLeadingZeros)
{
    for (int reg = 2; reg <= 6; ++reg) {
        for (int v = 0; v <= 255; ++v) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%X", v);
            const std::string line = blockLine(reg, v);
            EXPECT_EQ(line, kSpaces11 + "mov R" + std::to_string(reg) + ",#0" + hex + "h");
            EXPECT_EQ(line.size(), v < 16 ? 22u : 23u) << v;
        }
    }
}

TEST(FormatBlock, StartStateIsFiveDarkLines)
{
    const std::string expected = "           mov R2,#0FFh\r\n"
                                 "           mov R3,#0FFh\r\n"
                                 "           mov R4,#0FFh\r\n"
                                 "           mov R5,#0FFh\r\n"
                                 "           mov R6,#0FFh";
    EXPECT_EQ(formatBlock(BoardState{}), expected);
    EXPECT_EQ(startBlock(), expected);
}

TEST(FormatBlock, CarriesEachGroupIntoItsRegister)
{
    EXPECT_EQ(formatBlock(boardWithLit({"A0"})),
              "           mov R2,#0FEh\r\n"
              "           mov R3,#0FFh\r\n"
              "           mov R4,#0FFh\r\n"
              "           mov R5,#0FFh\r\n"
              "           mov R6,#0FFh");
    // B0..B3 lit, C4 lit, D6 lit, E5 lit: B = 0xF0, C = 0xEF, D = 0xBF, E = 0xDF.
    EXPECT_EQ(formatBlock(boardWithLit({"B0", "B1", "B2", "B3", "C4", "D6", "E5"})),
              "           mov R2,#0FFh\r\n"
              "           mov R3,#0F0h\r\n"
              "           mov R4,#0EFh\r\n"
              "           mov R5,#0BFh\r\n"
              "           mov R6,#0DFh");
}

TEST(FormatBlock, AllLitBoard)
{
    BoardState board;
    for (const Led& led : allLeds())
        board.change(led, LedState::Lit);
    EXPECT_EQ(formatBlock(board),
              "           mov R2,#00h\r\n"
              "           mov R3,#00h\r\n"
              "           mov R4,#00h\r\n"
              "           mov R5,#080h\r\n"
              "           mov R6,#0C0h");
}

TEST(AppendBlock, EmptyTextGetsLeadingLineBreakBlockAndCall)
{
    const std::string block = formatBlock(boardWithLit({"A0"}));
    EXPECT_EQ(blockSuffix(block), "\r\n" + block + "\r\n           Call Citac");
    EXPECT_EQ(kCallLine, "           Call Citac");
}

TEST(AppendBlock, TwoFramesExactBytes)
{
    const std::string frame1 = formatBlock(boardWithLit({"A0"}));
    const std::string frame2 = formatBlock(boardWithLit({"E0", "E1"}));
    const std::string text = blockSuffix(frame1) + blockSuffix(frame2);
    EXPECT_EQ(text,
              "\r\n"
              "           mov R2,#0FEh\r\n"
              "           mov R3,#0FFh\r\n"
              "           mov R4,#0FFh\r\n"
              "           mov R5,#0FFh\r\n"
              "           mov R6,#0FFh\r\n"
              "           Call Citac\r\n"
              "           mov R2,#0FFh\r\n"
              "           mov R3,#0FFh\r\n"
              "           mov R4,#0FFh\r\n"
              "           mov R5,#0FFh\r\n"
              "           mov R6,#0FCh\r\n"
              "           Call Citac");
}

TEST(AppendBlock, KeepsTheTextAndAppendsTheGivenBlockVerbatim)
{
    // A text already ending with a line break gets an empty line before the block.
    EXPECT_EQ(std::string("x\r\n") + blockSuffix("B"), "x\r\n\r\nB\r\n           Call Citac");
    // The block text is not checked: whatever the label shows is appended, also twice.
    const std::string once = std::string("start") + blockSuffix("anything");
    EXPECT_EQ(once, "start\r\nanything\r\n           Call Citac");
    EXPECT_EQ(once + blockSuffix("anything"),
              "start\r\nanything\r\n           Call Citac\r\nanything\r\n           Call Citac");
    // Bytes beyond ASCII pass through unchanged.
    EXPECT_EQ(std::string("; \xC4\x8D\xC5\xA1") + blockSuffix(""), "; \xC4\x8D\xC5\xA1\r\n\r\n           Call Citac");
}

}  // namespace
}  // namespace blikon
