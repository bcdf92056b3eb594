// Several frames deleted or duplicated in one edit, as the frame overview does with its
// selection.
#include "frameedit.h"

#include "block.h"
#include "randomprograms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace blikon {
namespace {

using testing::ProgramPart;
using Parts = std::vector<ProgramPart>;

// The changes stand in the order of the text, apart or touching, within it.
void expectOrdered(const std::vector<TextChange>& changes, std::size_t textSize)
{
    for (std::size_t k = 0; k < changes.size(); ++k) {
        EXPECT_LE(changes[k].begin, changes[k].end);
        EXPECT_LE(changes[k].end, textSize);
        if (k > 0)
            EXPECT_LE(changes[k - 1].end, changes[k].begin);
    }
}

// Against the same parts taken out or doubled and joined again, and against deleteFrame
// and duplicateFrame made one by one from the bottom up.
TEST(SelectedFrames, DeleteAndDuplicateMatchSplitAndJoinAndOneByOne)
{
    std::mt19937 rng(27);
    int deletedToTheEnd = 0;
    for (int round = 0; round < 400; ++round) {
        const Parts parts = testing::randomProgram(rng, 1 + static_cast<int>(rng() % 12));
        const std::string_view lineEnd = round % 3 == 0 ? "\n" : "\r\n";
        const std::string text = testing::join(parts, lineEnd);
        const std::vector<FrameInText> frames = listFrames(text);

        // Each frame chosen or not; every frame in some rounds, to reach the text's end.
        std::vector<FrameInText> chosen;
        Parts kept;
        Parts doubled;
        const bool all = round % 5 == 0;
        for (std::size_t p = 0, k = 0; p < parts.size(); ++p) {
            const bool take = parts[p].frame && (all || rng() % 2 == 0);
            if (parts[p].frame && take)
                chosen.push_back(frames[k]);
            k += parts[p].frame ? 1 : 0;
            if (!take)
                kept.push_back(parts[p]);
            doubled.push_back(parts[p]);
            if (take)
                doubled.push_back(parts[p]);
        }
        deletedToTheEnd += !chosen.empty() && chosen.back().end == text.size();

        const std::vector<TextChange> deletion = deleteFrames(text, chosen);
        expectOrdered(deletion, text.size());
        ASSERT_EQ(applyChanges(text, deletion), testing::join(kept, lineEnd)) << text;
        std::string oneByOne = text;
        for (auto frame = chosen.rbegin(); frame != chosen.rend(); ++frame)
            oneByOne = deleteFrame(oneByOne, *frame).text;
        EXPECT_EQ(applyChanges(text, deletion), oneByOne);

        const std::vector<TextChange> duplication = duplicateFrames(text, chosen);
        expectOrdered(duplication, text.size());
        ASSERT_EQ(applyChanges(text, duplication), testing::join(doubled, lineEnd)) << text;
        oneByOne = text;
        for (auto frame = chosen.rbegin(); frame != chosen.rend(); ++frame)
            oneByOne = duplicateFrame(oneByOne, *frame, frame->begin()).text;
        EXPECT_EQ(applyChanges(text, duplication), oneByOne);
    }
    EXPECT_GT(deletedToTheEnd, 20);
}

// The header's examples, to the byte, and the ends of a text.
TEST(SelectedFrames, KeepWhatStandsBetweenFrames)
{
    const std::string a = blockSuffix(formatBlock(BoardState{})).substr(2);  // one frame, no line end
    BoardState lit;
    lit.change(Led{0, 0}, LedState::Lit);
    const std::string b = blockSuffix(formatBlock(lit)).substr(2);
    const auto framesOf = [](const std::string& text) { return listFrames(text); };

    std::string text = "X\r\n" + a + "\r\n" + b;
    EXPECT_EQ(applyChanges(text, deleteFrames(text, framesOf(text))), "X");
    text = a + "\r\nX\r\n" + b + "\r\nY";
    const std::vector<TextChange> apart = deleteFrames(text, framesOf(text));
    EXPECT_EQ(apart.size(), 2u);  // the line X between them is no part of a change
    EXPECT_EQ(applyChanges(text, apart), "X\r\nY");
    text = a + "\r\n" + b;
    EXPECT_EQ(applyChanges(text, deleteFrames(text, framesOf(text))), "");
    EXPECT_EQ(applyChanges(text, duplicateFrames(text, framesOf(text))), a + "\r\n" + a + "\r\n" + b + "\r\n" + b);
    // The last frame alone, after an empty line: the line end before it goes, the empty
    // line stays.
    text = "X\r\n\r\n" + b;
    EXPECT_EQ(applyChanges(text, deleteFrames(text, framesOf(text))), "X\r\n");
    // A text that ends in a line end keeps its empty last line.
    text = "X\r\n" + b + "\r\n";
    EXPECT_EQ(applyChanges(text, deleteFrames(text, framesOf(text))), "X\r\n");
    EXPECT_TRUE(deleteFrames(text, {}).empty());
    EXPECT_TRUE(duplicateFrames(text, {}).empty());
}

TEST(ApplyChanges, MakesEachChangeInItsPlace)
{
    const std::vector<TextChange> changes{{0, 0, ">"}, {1, 2, "XY"}, {2, 3, ""}, {3, 3, "<"}};
    EXPECT_EQ(applyChanges("abc", changes), ">aXY<");
    EXPECT_EQ(applyChanges("abc", {}), "abc");
    EXPECT_EQ(applyChanges("", std::vector<TextChange>{{0, 0, "z"}}), "z");
}

}  // namespace
}  // namespace blikon
