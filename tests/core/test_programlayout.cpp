#include "programlayout.h"

#include "block.h"
#include "templates.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace blikon {
namespace {

using ::testing::Optional;

std::string frames(int count)
{
    std::string text;
    for (int k = 0; k < count; ++k)
        text += blockSuffix(formatBlock(BoardState{}));
    return text;
}

// Lines inserted at the program end join the loop: the same text as frames added before
// the end template was.
TEST(ProgramEnd, IsWhereFramesJoinTheLoop)
{
    const std::string block = formatBlock(BoardState{});
    const std::string frameLines = block + "\r\n" + std::string(kCallLine) + "\r\n";
    for (int count : {0, 1, 3}) {
        const std::string program = addEnd(addStart(frames(count)));
        const std::optional<std::size_t> end = programEndAt(program);
        ASSERT_TRUE(end.has_value()) << count;
        EXPECT_EQ(*end, addStart(frames(count)).size() + 2) << count;
        EXPECT_EQ(program.substr(0, *end) + frameLines + program.substr(*end),
                  addEnd(addStart(frames(count)) + blockSuffix(block)));
    }
    EXPECT_THAT(programEndAt(addEnd("")), Optional(2u));
}

TEST(ProgramEnd, IsTheFirstLoopJumpThatFce2Follows)
{
    EXPECT_THAT(programEndAt(addEnd(addEnd(frames(1)))), Optional(frames(1).size() + 2));
    // A hand-edited end: other case, a comment, no blank lines.
    EXPECT_THAT(programEndAt("x\r\n\tLJMP FCE1 ; znovu\r\n; konec smyčky\r\nFce2: ljmp start0"), Optional(3u));
    for (const char* jump : {"jmp", "LJMP", "Sjmp", "ajmp"})
        EXPECT_THAT(programEndAt(std::string("x\r\n ") + jump + " fce1\r\nfce2: ljmp start0"), Optional(3u)) << jump;
    for (const char* other : {"acall fce1", "jz fce1", "ljmp fce1a"})
        EXPECT_EQ(programEndAt(std::string("x\r\n ") + other + "\r\nfce2: ljmp start0"), std::nullopt) << other;
    EXPECT_EQ(programEndAt("jmp fce1\r\nnop\r\nfce2: ljmp start0"), std::nullopt);  // fce2 must come next
    EXPECT_EQ(programEndAt("jmp fce1"), std::nullopt);
    EXPECT_EQ(programEndAt("here: jmp fce1\r\nfce2: ljmp start0"), std::nullopt);
    EXPECT_EQ(programEndAt("; jmp fce1\r\nfce2: ljmp start0"), std::nullopt);
    EXPECT_EQ(programEndAt(frames(2)), std::nullopt);
}

TEST(ProgramFrameCount, CountsTheCallsBetweenStartAndEnd)
{
    EXPECT_THAT(programFrameCount(addEnd(addStart(frames(0)))), Optional(0u));
    EXPECT_THAT(programFrameCount(addEnd(addStart(frames(1)))), Optional(1u));
    EXPECT_THAT(programFrameCount(addEnd(addStart(frames(60)))), Optional(60u));
    // Calls after End or before the start play no part in the loop; labelled and
    // hand-written calls do; one in a comment does not.
    EXPECT_THAT(programFrameCount(frames(2) + "\r\n" + addEnd(addStart(frames(3))) + frames(4)), Optional(3u));
    EXPECT_THAT(programFrameCount(addEnd(addStart("\r\nf1: lcall CITAC\r\n; Call Citac\r\n call citac ; x"))),
                Optional(2u));
    EXPECT_EQ(programFrameCount(addStart(frames(2))), std::nullopt);
    EXPECT_EQ(programFrameCount(addEnd(frames(2))), std::nullopt);
    EXPECT_EQ(programFrameCount(addEnd(frames(2)) + "\r\n" + addStart("")), std::nullopt);  // start after the end
    EXPECT_EQ(programFrameCount(""), std::nullopt);
}

// The loop's calls by line: as many as programFrameCount counts, each a line that calls
// Citac, the first one below the start's ten lines and the empty line that blockSuffix begins with.
TEST(LoopCallLines, AreTheLinesThatTheFrameCountCounts)
{
    using ::testing::ElementsAre;
    EXPECT_THAT(loopCallLines(addEnd(addStart(frames(1)))), ElementsAre(15u));
    EXPECT_THAT(loopCallLines(addEnd(addStart(frames(3)))), ElementsAre(15u, 21u, 27u));
    // Two frames before the start (13 lines), the start's ten lines with one frame's
    // first, labelled and hand-written calls; none in a comment, none after End.
    const std::string mixed = frames(2) + "\r\n" +
                              addEnd(addStart("\r\nf1: lcall CITAC\r\n; Call Citac\r\n call citac ; x")) + frames(1);
    EXPECT_THAT(loopCallLines(mixed), ElementsAre(23u, 25u));
    EXPECT_EQ(programFrameCount(mixed), 2u);
    EXPECT_THAT(loopCallLines(addEnd(addStart(""))), ElementsAre());
    EXPECT_THAT(loopCallLines(addStart(frames(2))), ElementsAre());
    EXPECT_THAT(loopCallLines(addEnd(frames(2))), ElementsAre());
}

}  // namespace
}  // namespace blikon
