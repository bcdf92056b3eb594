#include "blockreader.h"

#include "block.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace blikon {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

GroupValues valuesOf(const BoardState& board)
{
    GroupValues v{};
    for (int g = 0; g < kGroupCount; ++g)
        v[g] = static_cast<std::uint8_t>(board.value(g));
    return v;
}

BoardState randomBoard(std::mt19937& rng)
{
    BoardState board;
    for (const Led& l : allLeds())
        if (rng() % 3 == 0)
            board.change(l, LedState::Lit);
    return board;
}

std::vector<BoardState> randomBoards(std::mt19937& rng, int count)
{
    std::vector<BoardState> boards;
    for (int n = 0; n < count; ++n)
        boards.push_back(randomBoard(rng));
    return boards;
}

TEST(ReadBlock, ReadsBackEveryFormattedFrame)
{
    std::mt19937 rng(7);
    std::vector<BoardState> boards{BoardState{}, boardFromValues({0, 0, 0, 0x80, 0xC0}),
                                   boardFromValues({0x0A, 0x05, 0x10, 0x8F, 0xCF})};
    for (int n = 0; n < 300; ++n)
        boards.push_back(randomBoard(rng));
    for (const BoardState& board : boards) {
        const std::optional<GroupValues> read = readBlock(formatBlock(board));
        ASSERT_THAT(read, Optional(valuesOf(board))) << formatBlock(board);
        EXPECT_EQ(valuesOf(boardFromValues(*read)), valuesOf(board));
    }
}

// Any text that reads as a block is exactly the block formatBlock writes for its values,
// so a changed, dropped or added byte either reads as another canonical block or not at all.
TEST(ReadBlock, AcceptsOnlyTheFormattedFormUnderRandomEdits)
{
    const std::string alphabet = " 0123456789ABCDEFabfhHRmov,#\r\n\t";
    std::mt19937 rng(11);
    int accepted = 0;
    for (int n = 0; n < 20000; ++n) {
        std::string text = formatBlock(randomBoard(rng));
        const std::size_t at = rng() % text.size();
        const char c = alphabet[rng() % alphabet.size()];
        switch (rng() % 3) {
        case 0: text[at] = c; break;
        case 1: text.erase(at, 1); break;
        default: text.insert(at, 1, c); break;
        }
        if (const std::optional<GroupValues> read = readBlock(text)) {
            ++accepted;
            ASSERT_EQ(formatBlock(boardFromValues(*read)), text);
        }
    }
    EXPECT_GT(accepted, 0);  // some edits do land on another value

    const std::string ok = formatBlock(BoardState{});
    const std::string i = std::string(kIndent);
    EXPECT_EQ(readBlock(ok + "\r\n"), std::nullopt);
    const auto lines = [&i](const char* r2, const char* r3, const char* r5) {
        return i + r2 + "\r\n" + i + r3 + "\r\n" + i + "mov R4,#0FFh\r\n" + i + r5 + "\r\n" + i +
               "mov R6,#0FFh";
    };
    ASSERT_THAT(readBlock(lines("mov R2,#0FFh", "mov R3,#0FFh", "mov R5,#0FFh")),
                Optional(ElementsAre(0xFF, 0xFF, 0xFF, 0xFF, 0xFF)));
    EXPECT_EQ(readBlock(lines("mov R2,#0FFh", "mov R3,#0FFh", "mov R5,#07Fh")), std::nullopt);
    EXPECT_EQ(readBlock(lines("mov R3,#0FFh", "mov R2,#0FFh", "mov R5,#0FFh")), std::nullopt);
}

// A code text of three frames, a broken one (no R4 line) and a stray call line, with the
// index of each frame's first line.
struct Program {
    std::string text;
    std::vector<std::string> blocks;
    std::vector<std::size_t> firstLines;
};

Program program(const std::vector<BoardState>& frames)
{
    Program p;
    p.text = "; hlavicka";
    auto add = [&p](const BoardState& board) {
        const auto lines = std::count(p.text.begin(), p.text.end(), '\n') + 1;
        p.firstLines.push_back(static_cast<std::size_t>(lines));
        p.blocks.push_back(formatBlock(board));
        p.text = appendBlock(p.text, p.blocks.back());
    };
    add(frames[0]);
    add(frames[1]);
    std::string broken = formatBlock(frames[2]);
    const std::size_t r4 = broken.find("mov R4");
    broken.erase(broken.rfind('\n', r4) + 1, broken.find('\n', r4) - broken.rfind('\n', r4));
    p.text = appendBlock(p.text, broken) + "\r\n" + std::string(kCallLine);
    add(frames[3]);
    return p;
}

TEST(FindBlock, FindsTheBlockAroundEveryLineAndByteOfIt)
{
    std::mt19937 rng(3);
    const Program p = program(randomBoards(rng, 4));
    std::vector<std::size_t> lineStarts{0};
    for (std::size_t at = 0; at < p.text.size(); ++at)
        if (p.text[at] == '\n')
            lineStarts.push_back(at + 1);
    ASSERT_EQ(lineStarts.size(), 25u);  // lines 13 to 18 are the broken block and the stray call

    for (std::size_t line = 0; line <= lineStarts.size(); ++line) {
        int frame = -1;
        for (std::size_t k = 0; k < p.firstLines.size(); ++k)
            if (line >= p.firstLines[k] && line <= p.firstLines[k] + 5)
                frame = static_cast<int>(k);
        const std::optional<BlockInText> found = findBlockAtLine(p.text, line);
        if (frame < 0) {
            EXPECT_FALSE(found.has_value()) << "line " << line;
            continue;
        }
        ASSERT_TRUE(found.has_value()) << "line " << line;
        EXPECT_EQ(found->firstLine, p.firstLines[frame]);
        EXPECT_EQ(found->begin, lineStarts[p.firstLines[frame]]);
        EXPECT_EQ(p.text.substr(found->begin, found->end - found->begin), p.blocks[frame]);
        EXPECT_THAT(readBlock(p.blocks[frame]), Optional(found->values));

        // Every byte of the line, its CR LF included, stands in the same block.
        const bool last = line + 1 == lineStarts.size();
        const std::size_t lineEnd = last ? p.text.size() : lineStarts[line + 1] - 1;
        for (std::size_t at = lineStarts[line]; at <= lineEnd; ++at) {
            const std::optional<BlockInText> byOffset = findBlockAt(p.text, at);
            ASSERT_TRUE(byOffset.has_value()) << "offset " << at;
            ASSERT_EQ(byOffset->begin, found->begin);
            ASSERT_EQ(byOffset->end, found->end);
            ASSERT_EQ(byOffset->firstLine, found->firstLine);
        }
    }
    EXPECT_EQ(findBlockAt(p.text, p.text.size() + 1), std::nullopt);
    EXPECT_EQ(findBlockAt(p.text, 0), std::nullopt);
}

TEST(FindBlock, ReplacingABlockKeepsEveryOtherByte)
{
    std::mt19937 rng(5);
    std::vector<BoardState> frames = randomBoards(rng, 4);
    const Program before = program(frames);
    const BoardState replacement = boardFromValues({0x0A, 0xFF, 0x00, 0x80, 0xFE});
    frames[1] = replacement;  // 0x0A writes a shorter line than most random values
    const Program after = program(frames);

    const std::optional<BlockInText> found = findBlockAtLine(before.text, before.firstLines[1] + 5);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(replaceBlock(before.text, *found, formatBlock(replacement)), after.text);
}

}  // namespace
}  // namespace blikon
