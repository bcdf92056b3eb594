#include "framecommands.h"

#include "block.h"
#include "blockline.h"
#include "blockreader.h"
#include "codeeditor.h"
#include "codeexcerpt.h"
#include "codeline.h"
#include "fblikon.h"
#include "frametransform.h"
#include "messageboxes.h"
#include "programlayout.h"
#include "services.h"

#include <QTextCursor>

#include <algorithm>
#include <string>

namespace blikon {

namespace {

constexpr int kFramesPerTurn = 6;  // 60 degrees each

// The lines that the frame commands read around the cursor: enough to find its frame
// (kBlockSearchLinesAbove and kBlockSearchLinesBelow), and one line more on either side
// of the frame, whose line ends a deletion may take.
constexpr std::size_t kLinesAbove = kBlockSearchLinesAbove;
constexpr std::size_t kLinesBelow = kBlockSearchLinesBelow + 1;

// How much more a search for the neighbouring frame reads each time it has not reached it.
constexpr std::size_t kGrowth = 8;

// True when a line of the text belongs to a block or its call, or is one that the
// block reader has something to say about: then the reader's problem is worth showing.
bool nearAFrame(std::string_view text)
{
    for (std::size_t start = 0; start != std::string_view::npos; start = nextLineStart(text, start)) {
        const LineSpan span = lineFrom(text, start);
        const BlockLineReading reading = readCodeLine(text.substr(span.begin, span.end - span.begin));
        if (reading.role != LineRole::Other || !reading.reason.empty())
            return true;
    }
    return false;
}

// The block's bytes replaced by `newBlock`, the cursor on the line and column where it
// stood, as far as the line now reaches.
FrameEdit replaceBlockEdit(std::string_view text, const BlockInText& block, std::string_view newBlock,
                           std::size_t cursor)
{
    const std::size_t lineBegin = lineStartAt(text, cursor);
    const std::size_t column = cursor - lineBegin;
    FrameEdit edit{replaceBlock(text, block, newBlock), 0, block.begin, block.end, block.begin + newBlock.size()};
    const LineSpan line = lineFrom(edit.text, lineStart(edit.text, lineIndexAt(text, lineBegin)));
    edit.cursor = line.begin + std::min(column, line.end - line.begin);
    return edit;
}

}  // namespace

void FrameCommands::readFrame()
{
    const CodeEditor& editor = *window_.editor();
    const int position = editor.textCursor().position();
    const CodeExcerpt excerpt = CodeExcerpt::around(editor, position, kBlockSearchLinesAbove, kBlockSearchLinesBelow);
    const Expected<BlockInText> block = locateBlockAt(excerpt.text(), excerpt.offsetOf(position));
    if (!block)
        return tellNoFrame(excerpt, block.error());
    const BoardState board = boardFromValues(block->values);
    window_.setBoard(board);
    window_.showBlock(formatBlock(board));
}

void FrameCommands::replaceFrame()
{
    CodeEditor& editor = *window_.editor();
    const int position = editor.textCursor().position();
    const CodeExcerpt excerpt = CodeExcerpt::around(editor, position, kBlockSearchLinesAbove, kBlockSearchLinesBelow);
    const std::size_t cursor = excerpt.offsetOf(position);
    const Expected<BlockInText> block = locateBlockAt(excerpt.text(), cursor);
    if (!block)
        return tellNoFrame(excerpt, block.error());
    const std::string newBlock = formatBlock(window_.board());
    const FrameEdit edit = replaceBlockEdit(excerpt.text(), *block, newBlock, cursor);
    window_.editAfterSaving([&] { applyEdit(editor, excerpt, edit); });
    window_.showBlock(newBlock);
}

void FrameCommands::insertFrame()
{
    const BoardState board = window_.board();
    editFrameAtCursor(Neighbour::None, [&board](std::string_view text, const FrameInText& frame, std::size_t cursor) {
        return std::optional(insertFrameBefore(text, frame, cursor, board));
    });
}

void FrameCommands::deleteFrame()
{
    editFrameAtCursor(Neighbour::None, [](std::string_view text, const FrameInText& frame, std::size_t) {
        return std::optional(blikon::deleteFrame(text, frame));
    });
}

void FrameCommands::moveFrameUp() { editFrameAtCursor(Neighbour::Before, blikon::moveFrameUp); }

void FrameCommands::moveFrameDown() { editFrameAtCursor(Neighbour::After, blikon::moveFrameDown); }

void FrameCommands::duplicateFrame()
{
    editFrameAtCursor(Neighbour::None, [](std::string_view text, const FrameInText& frame, std::size_t cursor) {
        return std::optional(blikon::duplicateFrame(text, frame, cursor));
    });
}

void FrameCommands::editFrameAtCursor(Neighbour neighbour, const FrameOperation& operation)
{
    CodeEditor& editor = *window_.editor();
    const int position = editor.textCursor().position();
    std::size_t above = kLinesAbove;
    std::size_t below = kLinesBelow;
    for (;;) {
        const CodeExcerpt excerpt = CodeExcerpt::around(editor, position, above, below);
        const std::size_t cursor = excerpt.offsetOf(position);
        const Expected<FrameInText> frame = locateFrameAt(excerpt.text(), cursor);
        if (!frame)
            return tellNoFrame(excerpt, frame.error());
        const std::optional<FrameEdit> edit = operation(excerpt.text(), *frame, cursor);

        // A frame before is whole only with the line above it in sight, where its block
        // could go on; none before or after is sure only at the end of the text.
        if (neighbour == Neighbour::Before && !excerpt.startsText() && (!edit || edit->spanBegin == 0)) {
            above *= kGrowth;
            continue;
        }
        if (neighbour == Neighbour::After && !excerpt.endsText() && !edit) {
            below *= kGrowth;
            continue;
        }
        if (!edit)
            return;  // the first or the last frame does not move, and says nothing
        window_.editAfterSaving([&] { applyEdit(editor, excerpt, *edit); });
        return;
    }
}

void FrameCommands::moveBoxes(BoardState (*move)(const BoardState&))
{
    window_.setBoard(move(window_.board()));
    window_.showBlock(formatBlock(window_.board()));
}

void FrameCommands::addTurn()
{
    CodeEditor& editor = *window_.editor();
    const CodeExcerpt text = CodeExcerpt::whole(editor);
    const std::optional<std::size_t> end = programEndAt(text.text());
    std::string frames;
    BoardState board = window_.board();
    for (int k = 0; k < kFramesPerTurn; ++k) {
        if (end)  // each frame with the line end that ends its call
            frames += formatBlock(board) + std::string(kCrLf) + std::string(kCallLine) + std::string(kCrLf);
        else
            frames += blockSuffix(formatBlock(board));
        board = turnClockwise(board);
    }
    window_.editAfterSaving([&] {
        if (end) {
            const TextChange insertion{*end, *end, std::move(frames)};
            applyChanges(editor, text, {&insertion, 1});
        } else {
            editor.appendCodeText(QString::fromStdString(frames));
        }
    });
}

void FrameCommands::tellNoFrame(const CodeExcerpt& excerpt, const LineProblem& problem)
{
    MessageRequest request;
    request.icon = MessageRequest::Icon::Information;
    if (nearAFrame(excerpt.text()))
        request.text = QString::fromStdString(
            LineProblem{problem.line + excerpt.firstLineIn(*window_.editor()), problem.reason}.message());
    else
        request.text = QStringLiteral("Kurzor nestojí v žádném platném snímku.");
    Services::messageBoxes().show(&window_, request);
}

}  // namespace blikon
