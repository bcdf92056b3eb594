#include "templates.h"

#include "block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace blikon {
namespace {

const std::string kI = "           ";  // eleven spaces

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

const std::vector<std::string> kStartLines = {
    "start0: mov A,#0",
    "start1: inc A",
    "start2: djnz R0, start2",
    "start3: jnb P3.0,start3",
    "start4: djnz R0, start4",
    "",
    "fce1:   cjne A,#1,fce1n",
    kI + "sjmp fce1a",
    "fce1n:  ljmp fce2",
    "fce1a:  mov R1,#50",
};

const std::vector<std::string> kEndLines = {
    "",
    kI + "jmp fce1",
    "",
    "",
    "fce2:   ljmp start0",
    "",
    "Citac:  mov B, R1",
    kI + "mov R7, B",
    "Hop2: mov P3,#01000111b",
    kI + "mov P1, R2",
    kI + "Call P10MS",
    kI + "mov P3,#01001011b",
    kI + "mov P1, R3",
    kI + "Call P10MS",
    kI + "mov P3,#01010011b",
    kI + "mov P1, R4",
    kI + "Call P10MS",
    kI + "mov P3,#01100011b",
    kI + "mov P1, R5",
    kI + "Call P10MS",
    kI + "mov P3,#11000011b",
    kI + "mov P1, R6",
    kI + "Call P10MS",
    kI + "mov P3,#01000011b",
    kI + "jnb P3.0,Hop3",
    kI + "djnz R7, Hop2",
    kI + "ret",
    "Hop3: ljmp start1",
    "",
    "",
    "P10MS:  mov TMOD,#00000010b",
    kI + "mov TL0,#71",
    kI + "mov TH0,#0",
    kI + "mov R0,#1",
    kI + "setb TR0",
    "Hop:   clr TF0",
    "Sem:   jnb TF0, Sem",
    kI + "djnz R0, Hop",
    kI + "clr TR0",
    kI + "ret",
    "",
    kI + "End",
};

TEST(Templates, StartTemplateExactText)
{
    ASSERT_EQ(kStartLines.size(), 10u);
    EXPECT_EQ(startTemplate(), joinLines(kStartLines));
}

TEST(Templates, EndTemplateExactText)
{
    ASSERT_EQ(kEndLines.size(), 42u);
    EXPECT_EQ(endTemplate(), joinLines(kEndLines));
    EXPECT_EQ(endTemplate().substr(0, 2), "\r\n");
}

TEST(Templates, AddStartOnEmptyTextIsTheTemplateAlone)
{
    EXPECT_EQ(addStart(""), joinLines(kStartLines));
}

TEST(Templates, AddEndOnEmptyTextBeginsWithAnEmptyLine)
{
    EXPECT_EQ(addEnd(""), joinLines(kEndLines));
}

TEST(Templates, StartJoinsTheFirstLineOfTheCode)
{
    // Generated code starts with a line break, so its first block gets a line of its own.
    EXPECT_EQ(addStart("\r\n" + kI + "Call Citac"), joinLines(kStartLines) + "\r\n" + kI + "Call Citac");
    // Anything else continues the "mov R1,#50" line.
    EXPECT_EQ(addStart("; x"), joinLines(kStartLines) + "; x");
}

TEST(Templates, WholeProgramFromOneFrame)
{
    const std::string block = formatBlock(BoardState{});
    const std::string program = addEnd(addStart(blockSuffix(block)));

    std::vector<std::string> lines = kStartLines;
    lines.insert(lines.end(), {
                                  kI + "mov R2,#0FFh",
                                  kI + "mov R3,#0FFh",
                                  kI + "mov R4,#0FFh",
                                  kI + "mov R5,#0FFh",
                                  kI + "mov R6,#0FFh",
                                  kI + "Call Citac",
                              });
    // The end template's leading empty line is the remainder of the "Call Citac" line.
    lines.insert(lines.end(), kEndLines.begin() + 1, kEndLines.end());
    EXPECT_EQ(program, joinLines(lines));
}

TEST(Templates, RepeatedCommandsInsertTheTemplateAgain)
{
    const std::string start = joinLines(kStartLines);
    const std::string end = joinLines(kEndLines);
    EXPECT_EQ(addStart(addStart("X")), start + start + "X");
    EXPECT_EQ(addEnd(addEnd("X")), "X" + end + end);
}

}  // namespace
}  // namespace blikon
