#include "frameedit.h"

#include "block.h"
#include "randomprograms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace blikon {
namespace {

using testing::ProgramPart;
using Parts = std::vector<ProgramPart>;

// The program's text and where its lines start, for expectations in lines and columns.
struct Joined {
    std::string text;
    std::vector<std::size_t> lineStarts{0};
    std::vector<std::size_t> firstLines;

    Joined(const Parts& parts, std::string_view lineEnd)
        : text(testing::join(parts, lineEnd))
        , firstLines(testing::firstLines(parts))
    {
        for (std::size_t at = 0; at < text.size(); ++at)
            if (text[at] == '\n')
                lineStarts.push_back(at + 1);
    }
    std::size_t offset(std::size_t line, std::size_t column) const { return lineStarts[line] + column; }
};

std::vector<std::size_t> frameParts(const Parts& parts)
{
    std::vector<std::size_t> frames;
    for (std::size_t p = 0; p < parts.size(); ++p)
        if (parts[p].frame)
            frames.push_back(p);
    return frames;
}

// The edit's one changed span holds all the difference between the texts.
void expectOneSpan(const std::string& before, const FrameEdit& edit)
{
    EXPECT_EQ(edit.text.substr(0, edit.spanBegin), before.substr(0, edit.spanBegin));
    EXPECT_EQ(edit.text.substr(edit.newSpanEnd), before.substr(edit.oldSpanEnd));
}

TEST(ListFrames, FindsExactlyThePartsThatAreFrames)
{
    std::mt19937 rng(1);
    for (int round = 0; round < 200; ++round) {
        const Parts parts = testing::randomProgram(rng, 1 + static_cast<int>(rng() % 15));
        const Joined j(parts, round % 4 == 0 ? "\n" : "\r\n");
        std::vector<FrameInText> expected;
        for (std::size_t p : frameParts(parts)) {
            const std::size_t first = j.firstLines[p];
            expected.push_back({{j.lineStarts[first], j.offset(first + 4, parts[p].lines[4].size()), first, parts[p].values},
                                j.offset(first + 5, parts[p].lines[5].size())});
        }
        const std::vector<FrameInText> frames = listFrames(j.text);
        ASSERT_EQ(frames, expected) << j.text;

        // Each line finds its frame, or says why there is none, as the list has it.
        for (std::size_t line = 0; line < j.lineStarts.size(); ++line) {
            const Expected<FrameInText> found = locateFrameAtLine(j.text, line);
            const auto in = std::find_if(frames.begin(), frames.end(), [line](const FrameInText& f) {
                return line >= f.firstLine() && line <= f.lastLine();
            });
            if (in == frames.end()) {
                ASSERT_FALSE(found) << "line " << line << " of\n" << j.text;
                EXPECT_FALSE(found.error().reason.empty());
            } else {
                ASSERT_TRUE(found) << "line " << line << ": " << found.error().message() << "\n" << j.text;
                EXPECT_EQ(*found, *in);
                const Expected<FrameInText> byOffset = locateFrameAt(j.text, j.lineStarts[line]);
                ASSERT_TRUE(byOffset);
                EXPECT_EQ(*byOffset, *in);
            }
        }
    }
    EXPECT_TRUE(listFrames("").empty());
}

// Every edit against the same edit made on the program's parts, joined again.
TEST(FrameEdits, MatchSplitAndJoin)
{
    std::mt19937 rng(2);
    int moved = 0;
    for (int round = 0; round < 300; ++round) {
        const Parts parts = testing::randomProgram(rng, 1 + static_cast<int>(rng() % 12));
        const std::string_view lineEnd = round % 3 == 0 ? "\n" : "\r\n";
        const Joined before(parts, lineEnd);
        const std::vector<std::size_t> framesAt = frameParts(parts);
        const std::vector<FrameInText> frames = listFrames(before.text);
        ASSERT_EQ(frames.size(), framesAt.size());
        if (frames.empty())
            continue;
        const std::size_t k = rng() % frames.size();
        const std::size_t p = framesAt[k];
        const std::size_t lineInFrame = rng() % 6;
        const std::string& cursorLine = parts[p].lines[lineInFrame];
        const std::size_t column = rng() % (cursorLine.size() + 1);
        const std::size_t cursor = before.offset(frames[k].firstLine() + lineInFrame, column);
        const std::size_t after = parts.size() - p - 1;  // parts below the frame

        {  // insert
            const BoardState board = testing::randomBoard(rng);
            Parts expected = parts;
            expected.insert(expected.begin() + static_cast<long>(p), testing::canonicalFrame(board));
            const Joined want(expected, lineEnd);
            const FrameEdit edit = insertFrameBefore(before.text, frames[k], cursor, board);
            ASSERT_EQ(edit.text, want.text);
            const std::size_t newLength = expected[p].lines[lineInFrame].size();
            EXPECT_EQ(edit.cursor, want.offset(want.firstLines[p] + lineInFrame, std::min(column, newLength)));
            expectOneSpan(before.text, edit);
        }
        {  // delete
            Parts expected = parts;
            expected.erase(expected.begin() + static_cast<long>(p));
            const Joined want(expected, lineEnd);
            const FrameEdit edit = deleteFrame(before.text, frames[k]);
            ASSERT_EQ(edit.text, want.text);
            EXPECT_EQ(edit.cursor, after > 0 ? want.lineStarts[before.firstLines[p]] : want.text.size());
            expectOneSpan(before.text, edit);
        }
        {  // duplicate
            Parts expected = parts;
            expected.insert(expected.begin() + static_cast<long>(p) + 1, parts[p]);
            const Joined want(expected, lineEnd);
            const FrameEdit edit = duplicateFrame(before.text, frames[k], cursor);
            ASSERT_EQ(edit.text, want.text);
            EXPECT_EQ(edit.cursor, want.offset(want.firstLines[p + 1] + lineInFrame, column));
            expectOneSpan(before.text, edit);
        }
        for (const bool up : {true, false}) {  // swap with the neighbour, the text between stays
            const std::optional<FrameEdit> edit = up ? moveFrameUp(before.text, frames[k], cursor)
                                                     : moveFrameDown(before.text, frames[k], cursor);
            const bool atEdge = up ? k == 0 : k + 1 == frames.size();
            ASSERT_EQ(edit.has_value(), !atEdge);
            if (atEdge)
                continue;
            const std::size_t q = framesAt[up ? k - 1 : k + 1];
            Parts expected = parts;
            std::swap(expected[p], expected[q]);
            const Joined want(expected, lineEnd);
            ASSERT_EQ(edit->text, want.text);
            EXPECT_EQ(edit->cursor, want.offset(want.firstLines[q] + lineInFrame, column));
            expectOneSpan(before.text, *edit);
            ++moved;
        }
        {  // drag to another place
            const std::size_t to = rng() % frames.size();
            const std::optional<FrameEdit> edit = moveFrameTo(before.text, frames, k, to);
            ASSERT_EQ(edit.has_value(), to != k);
            if (edit) {
                Parts contents;
                for (std::size_t f : framesAt)
                    contents.push_back(parts[f]);
                const ProgramPart dragged = contents[k];
                contents.erase(contents.begin() + static_cast<long>(k));
                contents.insert(contents.begin() + static_cast<long>(to), dragged);
                Parts expected = parts;
                for (std::size_t f = 0; f < framesAt.size(); ++f)
                    expected[framesAt[f]] = contents[f];
                const Joined want(expected, lineEnd);
                ASSERT_EQ(edit->text, want.text);
                EXPECT_EQ(edit->cursor, want.lineStarts[want.firstLines[framesAt[to]]]);
                expectOneSpan(before.text, *edit);
            }
        }
    }
    EXPECT_GT(moved, 100);
}

// Each edit, then its inverse at the cursor that the edit left, gives back the text.
TEST(FrameEdits, EachEditAndItsInverseGiveBackTheText)
{
    std::mt19937 rng(4);
    int checked = 0;
    for (int round = 0; round < 500; ++round) {
        const std::string text = testing::join(testing::randomProgram(rng, 1 + static_cast<int>(rng() % 12)),
                                               round % 2 ? "\r\n" : "\n");
        const std::vector<FrameInText> frames = listFrames(text);
        if (frames.empty())
            continue;
        const FrameInText& frame = frames[rng() % frames.size()];
        const std::size_t cursor = frame.begin() + rng() % (frame.end - frame.begin() + 1);
        const auto at = [](const FrameEdit& edit) {
            const Expected<FrameInText> found = locateFrameAt(edit.text, edit.cursor);
            EXPECT_TRUE(found) << found.error().message();
            return *found;
        };

        const FrameEdit inserted = insertFrameBefore(text, frame, cursor, testing::randomBoard(rng));
        ASSERT_EQ(deleteFrame(inserted.text, at(inserted)).text, text);
        const FrameEdit duplicated = duplicateFrame(text, frame, cursor);
        ASSERT_EQ(deleteFrame(duplicated.text, at(duplicated)).text, text);
        ASSERT_EQ(listFrames(duplicated.text).size(), frames.size() + 1);
        if (const std::optional<FrameEdit> up = moveFrameUp(text, frame, cursor)) {
            const std::optional<FrameEdit> back = moveFrameDown(up->text, at(*up), up->cursor);
            ASSERT_TRUE(back.has_value());
            ASSERT_EQ(back->text, text);
            ASSERT_EQ(back->cursor, cursor);
            ++checked;
        }
        if (const std::optional<FrameEdit> down = moveFrameDown(text, frame, cursor)) {
            const std::optional<FrameEdit> back = moveFrameUp(down->text, at(*down), down->cursor);
            ASSERT_TRUE(back.has_value());
            ASSERT_EQ(back->text, text);
            ASSERT_EQ(back->cursor, cursor);
        }
    }
    EXPECT_GT(checked, 100);
}

// The examples of the header, to the byte, and the ends of a text.
TEST(FrameEdits, KeepTheTextAroundFramesAsItIs)
{
    const std::string a = testing::join({testing::canonicalFrame(boardFromValues({1, 2, 3, 0x84, 0xC5}))});
    const std::string b = testing::join({testing::canonicalFrame(BoardState{})});
    const auto frameAt = [](const std::string& text, std::size_t line) { return *locateFrameAtLine(text, line); };
    const std::vector<FrameInText> two = listFrames(blockSuffix(formatBlock(BoardState{})) + blockSuffix(formatBlock(BoardState{})));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].firstLine(), 1u);
    EXPECT_EQ(two[1].lastLine(), 12u);

    const std::string swapped = a + "\r\n; x\r\n" + b;
    const std::optional<FrameEdit> up = moveFrameUp(swapped, frameAt(swapped, 7), swapped.size());
    ASSERT_TRUE(up.has_value());
    EXPECT_EQ(up->text, b + "\r\n; x\r\n" + a);
    EXPECT_EQ(up->cursor, b.size());
    EXPECT_EQ(moveFrameUp(swapped, frameAt(swapped, 0), 0), std::nullopt);
    EXPECT_EQ(moveFrameDown(swapped, frameAt(swapped, 7), 0), std::nullopt);

    EXPECT_EQ(deleteFrame("X\r\n" + a + "\r\nY", frameAt("X\r\n" + a, 1)).text, "X\r\nY");
    const FrameEdit last = deleteFrame("X\r\n" + a, frameAt("X\r\n" + a, 1));
    EXPECT_EQ(last.text, "X");
    EXPECT_EQ(last.cursor, 1u);
    EXPECT_EQ(deleteFrame(a, frameAt(a, 0)).text, "");
    EXPECT_EQ(deleteFrame(a + "\r\n", frameAt(a, 0)).text, "");

    EXPECT_EQ(duplicateFrame(a + "\r\nY", frameAt(a, 0), 0).text, a + "\r\n" + a + "\r\nY");
    const FrameEdit inserted = insertFrameBefore("X\r\n" + a, frameAt("X\r\n" + a, 1), 3, BoardState{});
    EXPECT_EQ(inserted.text, "X\r\n" + b + "\r\n" + a);
    EXPECT_EQ(inserted.cursor, 3u);
}

TEST(LocateFrame, SaysWhatIsMissing)
{
    const std::string block = formatBlock(BoardState{});
    EXPECT_EQ(locateFrameAtLine(block + "\r\n; x", 0).error(), (LineProblem{6, "za blokem chybí Call Citac."}));
    EXPECT_EQ(locateFrameAtLine(block, 2).error(), (LineProblem{6, "za blokem chybí Call Citac."}));
    EXPECT_EQ(locateFrameAtLine(block + "\r\nf7: Call Citac", 1).error(),
              (LineProblem{6, "řádek snímku nesmí nést návěští „f7“: dej ho na vlastní řádek nad snímek."}));
    EXPECT_EQ(locateFrameAtLine(block + "\r\n" + std::string(kCallLine), 9).error().line, 10u);
}

}  // namespace
}  // namespace blikon
