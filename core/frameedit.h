#pragma once

// The frames of a code text and the edits that work on whole frames. A frame is a block
// and the call of Citac right below it, found as locateBlockAtLine finds blocks, so a
// hand-edited frame counts when the animation plays it. Every edit changes whole frames
// only: blank lines, comments and any other text between frames stay where they are and
// as they are.

#include "blockreader.h"
#include "boardstate.h"
#include "expected.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace blikon {

// A frame in a code text: its block and its call line, the lines block.firstLine to
// block.firstLine + 5; its bytes are [begin(), end), its last line end excluded.
struct FrameInText {
    BlockInText block;
    std::size_t end = 0;

    [[nodiscard]] std::size_t begin() const { return block.begin; }
    [[nodiscard]] std::size_t firstLine() const { return block.firstLine; }
    [[nodiscard]] std::size_t lastLine() const { return block.firstLine + kGroupCount; }

    bool operator==(const FrameInText&) const = default;
};

// Every frame of the code text, from the top, with its lines and values
// (boardFromValues gives its LEDs). One pass over the text: 10,000 frames take a few
// milliseconds. blockSuffix(a) + blockSuffix(b) gives two frames, on the lines 1 to 6
// and 7 to 12.
[[nodiscard]] std::vector<FrameInText> listFrames(std::string_view codeText);

// The frame that the 0-based line `line` belongs to: a line of its block or its call
// line. Exactly the frames of listFrames are found. Without one, the problem names the
// 1-based line at fault, as locateBlockAtLine does, or the line below a block without a
// call ("Řádek 7: za blokem chybí Call Citac."). Reads the lines around `line` only
// (kBlockSearchLinesAbove and kBlockSearchLinesBelow), once its start is found.
[[nodiscard]] Expected<FrameInText> locateFrameAtLine(std::string_view codeText, std::size_t line);

// As locateFrameAtLine, for the line that holds the byte `offset`, as locateBlockAt.
[[nodiscard]] Expected<FrameInText> locateFrameAt(std::string_view codeText, std::size_t offset);

// One edit of a code text: the whole new text, where the cursor goes in it, and the one
// span that changed, for an editor that applies the edit in place as one undo step: the
// old text's bytes [spanBegin, oldSpanEnd) became the new text's [spanBegin, newSpanEnd);
// the bytes before and after are the same in both.
struct FrameEdit {
    std::string text;
    std::size_t cursor = 0;
    std::size_t spanBegin = 0;
    std::size_t oldSpanEnd = 0;
    std::size_t newSpanEnd = 0;
};

// In all the edits below, `frame` is a frame of `codeText` as listFrames or
// locateFrameAt found it, and `cursor` a byte offset within it (one outside counts as
// its nearest end). New lines end as the frame's first line ends (CR LF or LF).

// The frame of `board` (formatBlock, then the call line "           Call Citac")
// inserted right before the frame. The cursor goes into the new frame, on the line and
// column where it stood in the old one (as far as the line reaches).
// Before "X\r\n<frame>" it gives "X\r\n<new frame>\r\n<frame>".
[[nodiscard]] FrameEdit insertFrameBefore(std::string_view codeText, const FrameInText& frame,
                                          std::size_t cursor, const BoardState& board);

// The text without the frame's lines. The cursor goes to the start of the line that
// followed the frame; when the frame was the last line of the text, the line end before
// it goes too and the cursor ends the text. "X\r\n<frame>\r\nY" gives "X\r\nY",
// "X\r\n<frame>" gives "X".
[[nodiscard]] FrameEdit deleteFrame(std::string_view codeText, const FrameInText& frame);

// A copy of the frame's lines, as they are, inserted right below it; the cursor goes to
// the same place in the copy. "<frame>\r\nY" gives "<frame>\r\n<frame>\r\nY".
[[nodiscard]] FrameEdit duplicateFrame(std::string_view codeText, const FrameInText& frame, std::size_t cursor);

// The frame swapped with the frame before it (after it): the two frames' lines trade
// places and the text between them stays. The cursor moves with the frame. None at the
// first (last) frame, where there is nothing to swap with.
// "<a>\r\n; x\r\n<b>" with the cursor in b gives "<b>\r\n; x\r\n<a>", the cursor in b.
[[nodiscard]] std::optional<FrameEdit> moveFrameUp(std::string_view codeText, const FrameInText& frame,
                                                   std::size_t cursor);
[[nodiscard]] std::optional<FrameEdit> moveFrameDown(std::string_view codeText, const FrameInText& frame,
                                                     std::size_t cursor);

// One change of a text: the bytes [begin, end) of the old text become `text`.
struct TextChange {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string text;

    bool operator==(const TextChange&) const = default;
};

// The text with every change made; the changes stand in the order of the text and do
// not overlap (they may touch). applyChanges("abc", {{1, 2, "XY"}}) == "aXYc".
[[nodiscard]] std::string applyChanges(std::string_view text, std::span<const TextChange> changes);

// Several frames deleted in one edit, with the same result as deleteFrame deleting them
// one by one: when the text's last frame goes, the line end before the frames that went
// with it goes too. `frames` are frames of codeText in the order of the text, each once.
// The changes, in the order of the text, stay apart where kept lines stand between the
// frames, so that an editor changes only what goes. "X\r\n<a>\r\n<b>" without a and b
// is "X"; "<a>\r\nX\r\n<b>\r\nY" without them is "X\r\nY".
[[nodiscard]] std::vector<TextChange> deleteFrames(std::string_view codeText, std::span<const FrameInText> frames);

// A copy of each of the frames right below it, as duplicateFrame makes it; `frames` as
// for deleteFrames. "<a>\r\n<b>" with both gives "<a>\r\n<a>\r\n<b>\r\n<b>".
[[nodiscard]] std::vector<TextChange> duplicateFrames(std::string_view codeText,
                                                      std::span<const FrameInText> frames);

// The frame frames[from] moved so that it becomes frame number `to` (0-based) of the
// new text: the frames between shift by one place, the text between frames stays. For
// a frame dragged in an overview; `frames` is listFrames(codeText). The cursor goes to
// the start of the moved frame. moveFrameTo(t, frames, 2, 0) on the frames a, b, c
// gives c, a, b. None when from == to or either is not a frame's number.
[[nodiscard]] std::optional<FrameEdit> moveFrameTo(std::string_view codeText, std::span<const FrameInText> frames,
                                                   std::size_t from, std::size_t to);

}  // namespace blikon
